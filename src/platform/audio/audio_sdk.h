#pragma once
// The headset's audio settings live in its audio driver, reached through a vendor audio
// SDK: a list of render and capture endpoints and named properties read and written on
// them. This is the call surface the device layer expects of that SDK. Results follow the
// SDK: 0 is success, anything else a failed call.
//
// The process has one SDK, chosen at the first LoadAudioSdk: the simulated one with
// VELKARO_HID=sim, none otherwise (no audio driver of the headset exists on this platform,
// so its audio properties are not applied to real hardware). Tests install their own with
// ScopedAudioSdk.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace platform::audio {

// Every property value travels in a buffer of this size.
inline constexpr size_t kAudioValueBufferSize = 1024;

enum AudioListKind : int {
    kRenderList = 0,
    kCaptureList = 1,
};

// How the SDK names an endpoint: {endpoint id, kind, a word it wants back unchanged,
// state}.
using AudioEndpointKey = std::array<uint32_t, 4>;

class AudioSdk {
  public:
    virtual ~AudioSdk() = default;

    // 0 on success.
    virtual int ConfLibInit() = 0;
    virtual void CreateDeviceList() = 0;
    // Endpoints of `list`; 0 for an unknown list.
    virtual void GetDeviceCount(int list, unsigned* count) = 0;
    // Fills `record` for endpoint `index` of `list`; leaves it alone for an index outside
    // the list.
    virtual void GetDeviceById(int list, unsigned index, AudioEndpointKey& record) = 0;
    // set 1 writes the 32-bit word at the start of `value`; set 0 reads the property's
    // value into `value` as NUL-terminated wide text. `extra` (empty for none) carries the
    // property's extra words. 0 on success.
    virtual int PropertyControl(const AudioEndpointKey& endpoint, const wchar_t* name,
                                std::span<uint8_t> value, std::span<uint8_t> extra, int set) = 0;
};

// The process's SDK, or null when none can be loaded.
AudioSdk* LoadAudioSdk();
// Makes `sdk` (may be null: no SDK) the one LoadAudioSdk gives; returns the previous
// installed one.
AudioSdk* InstallAudioSdk(AudioSdk* sdk);
// True while an SDK is installed (null included).
bool AudioSdkInstalled();

class ScopedAudioSdk {
  public:
    explicit ScopedAudioSdk(AudioSdk* sdk);
    ~ScopedAudioSdk();
    ScopedAudioSdk(const ScopedAudioSdk&) = delete;
    ScopedAudioSdk& operator=(const ScopedAudioSdk&) = delete;

  private:
    AudioSdk* previous_;
    bool previousInstalled_;
};

}  // namespace platform::audio
