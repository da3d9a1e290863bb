#pragma once
// The headset's side of the audio SDK: the SDK of the process, the render and capture
// endpoints picked for the headset, and the property calls in the SDK's buffer form. A
// write sends one 32-bit word; a read gives the value's text. Without an SDK every call
// fails, so the callers change only their page and stored values that do not depend on a
// write.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/audio/audio_sdk.h"

// An endpoint as picked: {id, kind, the word passed back unchanged, state} and three
// feature words.
struct AudioDeviceRecord {
    uint32_t id = 0;
    uint32_t kind = 0;
    uint32_t third = 0;
    uint32_t state = 0;
    std::array<uint32_t, 3> features{};
};

namespace device {

inline constexpr wchar_t kConfLibInitFailedText[] = L"ConfLibInit called failed!";
inline constexpr wchar_t kFeatureQueryFailedText[] = L"UpdateAPOAvailable failed!";

// Bit of the capture endpoint's first feature word: the voice effect can be read back.
inline constexpr uint32_t kMagicVoiceFeature = 0x20000;

class AudioBinding {
  public:
    using Buffer = std::array<uint8_t, platform::audio::kAudioValueBufferSize>;

    AudioBinding() = default;
    AudioBinding(const AudioBinding&) = delete;
    AudioBinding& operator=(const AudioBinding&) = delete;

    // Takes the process's SDK; false when there is none.
    bool Load();
    bool IsLoaded() const { return sdk_ != nullptr; }
    // ConfLibInit; a failure is told to the user and is not fatal.
    void Init();
    // Builds the endpoint lists; the number of render endpoints.
    unsigned RefreshDeviceList();
    // Picks the render and capture endpoints and reads their feature words.
    void PickAudioEndpoints();
    const AudioDeviceRecord& Render() const { return render_; }
    const AudioDeviceRecord& Capture() const { return capture_; }

    // 0 on success, nonzero for a failed call (1 without an SDK). `extra` words go into
    // the extra buffer; an empty list passes no extra buffer.
    int WriteWord(const AudioDeviceRecord& endpoint, const wchar_t* name, uint32_t word,
                  const std::vector<uint32_t>& extra = {});
    int WriteFloat(const AudioDeviceRecord& endpoint, const wchar_t* name, float value,
                   const std::vector<uint32_t>& extra = {});
    // `text` receives the value's text (at most the buffer's worth, NUL or not).
    int ReadText(const AudioDeviceRecord& endpoint, const wchar_t* name, std::wstring* text,
                 const std::vector<uint32_t>& extra = {});
    // The read value's leading decimal integer (0 when there is none).
    int ReadInt(const AudioDeviceRecord& endpoint, const wchar_t* name, int32_t* value,
                const std::vector<uint32_t>& extra = {});
    int ReadFloat(const AudioDeviceRecord& endpoint, const wchar_t* name, float* value,
                  const std::vector<uint32_t>& extra = {});

  private:
    void QuerySupportFeature(AudioDeviceRecord& record);
    bool PickRender(unsigned count);
    void PickCapture(unsigned count);
    int Call(const AudioDeviceRecord& endpoint, const wchar_t* name, Buffer& value, Buffer& extra,
             const std::vector<uint32_t>& extraWords, int set);
    // Told to the user (once: a repeat is not told again), and the start goes on.
    void TellFailure(std::wstring_view text);

    platform::audio::AudioSdk* sdk_ = nullptr;
    AudioDeviceRecord render_;
    AudioDeviceRecord capture_;
    // The buffers of the property calls, zeroed before each call.
    Buffer writeValue_{};
    Buffer writeExtra_{};
    Buffer readValue_{};
    Buffer readExtra_{};
};

// The text `buffer` holds as wide characters, up to a NUL or the buffer's end.
std::wstring WideTextOf(const uint8_t* buffer, size_t size);
// The feature text cut at runs of commas: fields 0, 4 and 6 as decimal words; false
// with fewer than seven fields.
bool ParseFeatureWords(std::wstring_view text, std::array<uint32_t, 3>* words);

}  // namespace device
