#pragma once
// The headset's stored settings: the shared sections plus its audio settings
// ("SystemSetStages"), the band values of the equaliser presets ("EQHzValueInfo") and the
// user's own equaliser settings ("CustomEQNameInfo", "CustomEQHzValueInfo"). Some keys are
// misspelt; the files keep them so.

#include <cstdint>
#include <vector>

#include "duilib/dui_string.h"
#include "profile/basic_profiledata.h"

struct TamselSystemSetStages {
    int32_t magicEnable = 0;
    int32_t magicType = 0;
    // 1 to 12 a preset, 13 a custom setting.
    int32_t eqType = 0;
    int32_t customEqSelectIndex = 0;
    int32_t micInSelect = 0;
    int32_t micInValue = 0;
    int32_t micMonitorSelect = 0;
    int32_t micMonitorValue = 0;

    friend bool operator==(const TamselSystemSetStages&, const TamselSystemSetStages&) = default;
};

class CTamselProfiledata : public CBasicProfiledata {
  public:
    static constexpr int kEqBandCount = 10;
    static constexpr int kCustomEqPreset = 13;
    // The audio page keeps at most 20 custom settings; an index read from a file beyond
    // this bound is refused rather than growing the list.
    static constexpr int kMaxCustomEqSettings = 256;

    void SetSystemSetStages(int32_t magicEnable, int32_t magicType, int32_t eqType,
                            int32_t customEqSelectIndex, int32_t micInSelect, int32_t micInValue,
                            int32_t micMonitorSelect, int32_t micMonitorValue);
    TamselSystemSetStages GetSystemSetStages();

    // Bands are written from the first min(10, bands.size()) values. Nothing for the
    // custom preset 13.
    void SetEqPresetBands(int preset, std::vector<int32_t> bands);
    // Ten values; a row or band the file lacks is created as 0. Empty for preset 13.
    std::vector<int32_t> GetEqPresetBands(int preset);
    void SetCustomEqNames(std::vector<DuiLib::CDuiString> names);
    std::vector<DuiLib::CDuiString> GetCustomEqNames();
    // False, nothing written, for an index outside 0..kMaxCustomEqSettings-1.
    bool SetCustomEqBands(int index, std::vector<int32_t> bands);
    // Ten values; ten zeros and no change for an index out of range or past the stored rows.
    std::vector<int32_t> GetCustomEqBands(int index);

  private:
    TamselSystemSetStages systemSetStages_;
};

// The "EQHzValueInfo" row of preset `preset`: itself for 1 to 12, -1 for the custom preset
// 13, row 1 for any other number.
int EqPresetRow(int preset);
