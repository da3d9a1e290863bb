#pragma once
// The keyboard's stored settings: the shared sections plus its system settings
// ("SystemStages") and its custom per-key light groups ("CustomLightMode").

#include <cstdint>
#include <vector>

#include "profile/basic_profiledata.h"

struct KeyboardSystemStages {
    uint16_t repeat = 0;
    uint16_t repeatDelay = 0;
    uint16_t key6Flag = 0;
    uint16_t pollingRate = 0;
    uint16_t wFlag = 0;
    uint16_t winFlag = 0;

    friend bool operator==(const KeyboardSystemStages&, const KeyboardSystemStages&) = default;
};

class CKeyboardProfiledata : public CBasicProfiledata {
  public:
    // A group number is a light-block byte; an LED count beyond any layout is refused, so
    // a stored number cannot make the record grow without limit.
    static constexpr int kMaxCustomLightGroups = 256;
    static constexpr int kMaxCustomLightLeds = 1024;

    void SetSystemStages(KeyboardSystemStages stages);
    KeyboardSystemStages GetSystemStages();

    // Colours are red | green << 8 | blue << 16 | alpha << 24. False, nothing written,
    // for a group outside 0..kMaxCustomLightGroups-1 or more than kMaxCustomLightLeds
    // colours.
    bool SetCustomLightGroup(std::vector<uint32_t> colours, int group);
    // `count` colours of the group; entries the file lacks are created black. A group or
    // count out of range gives black colours (at most kMaxCustomLightLeds) and changes
    // nothing.
    std::vector<uint32_t> GetCustomLightGroup(int group, int count);
    void SetCustomLightGroupIndex(int group);
    int GetCustomLightGroupIndex();

  private:
    KeyboardSystemStages systemStages_;
    std::vector<uint32_t> customColours_;
    int customGroupIndex_ = 0;
};

// Sets `count` bytes of `buffer` to 0; nothing for a null buffer.
void ZeroBytes(uint8_t* buffer, unsigned count);
