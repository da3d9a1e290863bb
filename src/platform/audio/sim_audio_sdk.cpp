#include "platform/audio/sim_audio_sdk.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace platform::audio {
namespace {

// The log keeps the newest calls only, so a long simulated run stays small.
constexpr size_t kCallLogLimit = 4096;

bool IsVolumeLevel(const std::wstring& name) {
    return name == L"VolumeControl" || name == L"VolumeScalarControl" ||
           name == L"AAVolumeControl" || name == L"AAVolumeScalarControl";
}

uint32_t WordAt(std::span<const uint8_t> bytes, size_t index) {
    uint32_t word = 0;
    if (bytes.size() >= (index + 1) * sizeof(word)) {
        std::memcpy(&word, bytes.data() + index * sizeof(word), sizeof(word));
    }
    return word;
}

std::wstring TextOf(const std::wstring& name, uint32_t word) {
    wchar_t text[64] = {};
    if (IsVolumeLevel(name)) {
        float level = 0;
        std::memcpy(&level, &word, sizeof(level));
        std::swprintf(text, std::size(text), L"%g", static_cast<double>(level));
    } else {
        std::swprintf(text, std::size(text), L"%d", static_cast<int32_t>(word));
    }
    return text;
}

}  // namespace

SimAudioSdk::SimAudioSdk() : render_{{kRenderId, 1, 0, 1}}, capture_{{kCaptureId, 2, 0, 1}} {
    // A headset whose microphone offers the voice effects and monitoring.
    texts_[{kRenderId, L"GetSupportFeature"}] = L"1,0,0,0,0,0,0";
    texts_[{kCaptureId, L"GetSupportFeature"}] = L"131072,0,0,0,0,0,0";
    texts_[{kCaptureId, L"GetAAMaxVol"}] = L"100";
}

int SimAudioSdk::ConfLibInit() {
    std::lock_guard<std::mutex> lock(mutex_);
    return initResult_;
}

void SimAudioSdk::CreateDeviceList() {}

void SimAudioSdk::GetDeviceCount(int list, unsigned* count) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (count == nullptr) {
        return;
    }
    *count = list == kRenderList    ? static_cast<unsigned>(render_.size())
             : list == kCaptureList ? static_cast<unsigned>(capture_.size())
                                    : 0;
}

void SimAudioSdk::GetDeviceById(int list, unsigned index, AudioEndpointKey& record) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::vector<AudioEndpointKey>* endpoints = list == kRenderList    ? &render_
                                                     : list == kCaptureList ? &capture_
                                                                            : nullptr;
    if (endpoints != nullptr && index < endpoints->size()) {
        record = (*endpoints)[index];
    }
}

int SimAudioSdk::Read(const Key& key, std::span<uint8_t> value) const {
    std::wstring text;
    if (auto fixed = texts_.find(key); fixed != texts_.end()) {
        text = fixed->second;
    } else if (auto word = words_.find(key); word != words_.end()) {
        text = TextOf(key.second, word->second);
    } else {
        return 1;
    }
    const size_t room = value.size() / sizeof(wchar_t);
    if (room == 0) {
        return 1;
    }
    const size_t length = std::min(text.size(), room - 1);
    std::memset(value.data(), 0, room * sizeof(wchar_t));
    std::memcpy(value.data(), text.data(), length * sizeof(wchar_t));
    return 0;
}

int SimAudioSdk::PropertyControl(const AudioEndpointKey& endpoint, const wchar_t* name,
                                 std::span<uint8_t> value, std::span<uint8_t> extra, int set) {
    std::lock_guard<std::mutex> lock(mutex_);
    SimAudioCall call;
    call.endpointId = endpoint[0];
    call.name = name != nullptr ? name : L"";
    call.set = set != 0;
    for (size_t i = 0; i < 3 && extra.size() >= (i + 1) * 4; ++i) {
        call.extraWords.push_back(WordAt(extra, i));
    }
    const Key key{endpoint[0], call.name};
    if (failing_.count(call.name) != 0 || name == nullptr) {
        call.result = 1;
    } else if (set != 0) {
        call.word = WordAt(value, 0);
        words_[key] = call.word;
        texts_.erase(key);
    } else {
        call.result = Read(key, value);
    }
    if (calls_.size() >= kCallLogLimit) {
        calls_.erase(calls_.begin());
    }
    calls_.push_back(call);
    return call.result;
}

void SimAudioSdk::SetInitResult(int result) {
    std::lock_guard<std::mutex> lock(mutex_);
    initResult_ = result;
}

void SimAudioSdk::SetEndpoints(int list, std::vector<AudioEndpointKey> endpoints) {
    std::lock_guard<std::mutex> lock(mutex_);
    (list == kRenderList ? render_ : capture_) = std::move(endpoints);
}

void SimAudioSdk::SetText(uint32_t endpointId, const std::wstring& name, const std::wstring& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    texts_[{endpointId, name}] = text;
}

void SimAudioSdk::SetWord(uint32_t endpointId, const std::wstring& name, uint32_t word) {
    std::lock_guard<std::mutex> lock(mutex_);
    words_[{endpointId, name}] = word;
    texts_.erase({endpointId, name});
}

void SimAudioSdk::SetFailing(const std::wstring& name, bool failing) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (failing) {
        failing_.insert(name);
    } else {
        failing_.erase(name);
    }
}

std::optional<uint32_t> SimAudioSdk::Word(uint32_t endpointId, const std::wstring& name) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = words_.find({endpointId, name});
    return found != words_.end() ? std::optional<uint32_t>(found->second) : std::nullopt;
}

std::vector<SimAudioCall> SimAudioSdk::Calls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
}

void SimAudioSdk::ClearCalls() {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.clear();
}

}  // namespace platform::audio
