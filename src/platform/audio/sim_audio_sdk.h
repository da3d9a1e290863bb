#pragma once
// An in-memory audio SDK for tests and simulated runs: one headset with a render and a
// capture endpoint whose properties live in a store. A written word is kept as written; a
// read answers it as text (volume levels as single-precision floats, everything else as
// a signed integer). A property never written and not preset cannot be read, as a driver
// that has no value yet answers; the feature lists and the monitoring maximum are preset.
// Every call is logged.
//
//   platform::audio::SimAudioSdk sdk;
//   platform::audio::ScopedAudioSdk use(&sdk);
//   sdk.SetText(SimAudioSdk::kCaptureId, L"GetAAMaxVol", L"100");
//   ...
//   sdk.Calls();                               // what the program did
//   sdk.Word(SimAudioSdk::kCaptureId, L"MuteControl");  // what the driver holds

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/audio/audio_sdk.h"

namespace platform::audio {

struct SimAudioCall {
    uint32_t endpointId = 0;
    std::wstring name;
    bool set = false;
    uint32_t word = 0;                 // the written word (writes only)
    std::vector<uint32_t> extraWords;  // the first three extra words; empty without extra
    int result = 0;
};

class SimAudioSdk final : public AudioSdk {
  public:
    static constexpr uint32_t kRenderId = 1;
    static constexpr uint32_t kCaptureId = 2;

    SimAudioSdk();

    int ConfLibInit() override;
    void CreateDeviceList() override;
    void GetDeviceCount(int list, unsigned* count) override;
    void GetDeviceById(int list, unsigned index, AudioEndpointKey& record) override;
    int PropertyControl(const AudioEndpointKey& endpoint, const wchar_t* name,
                        std::span<uint8_t> value, std::span<uint8_t> extra, int set) override;

    // Test controls.
    void SetInitResult(int result);
    void SetEndpoints(int list, std::vector<AudioEndpointKey> endpoints);
    // A fixed text answer for reads of `name`; writes still store words.
    void SetText(uint32_t endpointId, const std::wstring& name, const std::wstring& text);
    void SetWord(uint32_t endpointId, const std::wstring& name, uint32_t word);
    // Every call on `name` fails while set.
    void SetFailing(const std::wstring& name, bool failing);
    std::optional<uint32_t> Word(uint32_t endpointId, const std::wstring& name) const;
    std::vector<SimAudioCall> Calls() const;
    void ClearCalls();

  private:
    using Key = std::pair<uint32_t, std::wstring>;

    int Read(const Key& key, std::span<uint8_t> value) const;

    mutable std::mutex mutex_;
    int initResult_ = 0;
    std::vector<AudioEndpointKey> render_;
    std::vector<AudioEndpointKey> capture_;
    std::map<Key, uint32_t> words_;
    std::map<Key, std::wstring> texts_;
    std::set<std::wstring> failing_;
    std::vector<SimAudioCall> calls_;
};

}  // namespace platform::audio
