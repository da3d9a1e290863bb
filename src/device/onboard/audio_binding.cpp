#include "device/onboard/audio_binding.h"

#include <cstring>
#include <cwchar>
#include <vector>

#include "platform/user_notice.h"

namespace device {
namespace {

constexpr size_t kFeatureBufferSize = 2048;
constexpr size_t kFeatureFieldCount = 7;
constexpr uint32_t kCaptureKind = 2;
// The render kinds in the order they are preferred; each must be active (state 1).
constexpr uint32_t kRenderKinds[] = {1, 12, 7, 4};

AudioDeviceRecord RecordOf(const platform::audio::AudioEndpointKey& key) {
    AudioDeviceRecord record;
    record.id = key[0];
    record.kind = key[1];
    record.third = key[2];
    record.state = key[3];
    return record;
}

platform::audio::AudioEndpointKey KeyOf(const AudioDeviceRecord& record) {
    return {record.id, record.kind, record.third, record.state};
}

void PutWords(AudioBinding::Buffer& buffer, const std::vector<uint32_t>& words) {
    size_t offset = 0;
    for (uint32_t word : words) {
        if (offset + sizeof(word) > buffer.size()) {
            break;
        }
        std::memcpy(buffer.data() + offset, &word, sizeof(word));
        offset += sizeof(word);
    }
}

}  // namespace

std::wstring WideTextOf(const uint8_t* buffer, size_t size) {
    if (buffer == nullptr || size < sizeof(wchar_t)) {
        return std::wstring();
    }
    std::wstring text(size / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), buffer, text.size() * sizeof(wchar_t));
    const size_t end = text.find(L'\0');
    if (end != std::wstring::npos) {
        text.resize(end);
    }
    return text;
}

bool ParseFeatureWords(std::wstring_view text, std::array<uint32_t, 3>* words) {
    std::vector<std::wstring> fields;
    size_t start = 0;
    while (start < text.size()) {
        const size_t comma = text.find(L',', start);
        const size_t end = comma == std::wstring_view::npos ? text.size() : comma;
        if (end > start) {
            fields.emplace_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    if (fields.size() < kFeatureFieldCount) {
        return false;
    }
    const size_t picked[] = {0, 4, 6};
    for (size_t i = 0; i < 3; ++i) {
        (*words)[i] = static_cast<uint32_t>(std::wcstoul(fields[picked[i]].c_str(), nullptr, 10));
    }
    return true;
}

bool AudioBinding::Load() {
    sdk_ = platform::audio::LoadAudioSdk();
    return sdk_ != nullptr;
}

void AudioBinding::Init() {
    if (sdk_ != nullptr && sdk_->ConfLibInit() != 0) {
        TellFailure(kConfLibInitFailedText);
    }
}

unsigned AudioBinding::RefreshDeviceList() {
    unsigned count = 0;
    if (sdk_ != nullptr) {
        sdk_->CreateDeviceList();
        sdk_->GetDeviceCount(platform::audio::kRenderList, &count);
    }
    return count;
}

bool AudioBinding::PickRender(unsigned count) {
    for (uint32_t kind : kRenderKinds) {
        for (unsigned i = 0; i < count; ++i) {
            platform::audio::AudioEndpointKey key{};
            sdk_->GetDeviceById(platform::audio::kRenderList, i, key);
            if (key[1] == kind && key[3] == 1) {
                render_ = RecordOf(key);
                return true;
            }
        }
    }
    return false;
}

void AudioBinding::PickCapture(unsigned count) {
    for (unsigned i = 0; i < count; ++i) {
        platform::audio::AudioEndpointKey key{};
        sdk_->GetDeviceById(platform::audio::kCaptureList, i, key);
        if (key[1] == kCaptureKind) {
            capture_ = RecordOf(key);
            return;
        }
    }
}

void AudioBinding::PickAudioEndpoints() {
    if (sdk_ == nullptr) {
        return;
    }
    unsigned renderCount = 0;
    unsigned captureCount = 0;
    sdk_->GetDeviceCount(platform::audio::kRenderList, &renderCount);
    sdk_->GetDeviceCount(platform::audio::kCaptureList, &captureCount);
    PickRender(renderCount);
    PickCapture(captureCount);
    QuerySupportFeature(capture_);
    QuerySupportFeature(render_);
}

void AudioBinding::QuerySupportFeature(AudioDeviceRecord& record) {
    if (record.kind == 0) {
        return;
    }
    std::vector<uint8_t> text(kFeatureBufferSize, 0);
    if (sdk_->PropertyControl(KeyOf(record), L"GetSupportFeature", text, {}, 0) != 0) {
        return;
    }
    if (!ParseFeatureWords(WideTextOf(text.data(), text.size()), &record.features)) {
        TellFailure(kFeatureQueryFailedText);
    }
}

int AudioBinding::Call(const AudioDeviceRecord& endpoint, const wchar_t* name, Buffer& value,
                       Buffer& extra, const std::vector<uint32_t>& extraWords, int set) {
    if (sdk_ == nullptr) {
        return 1;
    }
    std::span<uint8_t> extraSpan;
    if (!extraWords.empty()) {
        PutWords(extra, extraWords);
        extraSpan = extra;
    }
    return sdk_->PropertyControl(KeyOf(endpoint), name, value, extraSpan, set);
}

int AudioBinding::WriteWord(const AudioDeviceRecord& endpoint, const wchar_t* name, uint32_t word,
                            const std::vector<uint32_t>& extra) {
    writeValue_.fill(0);
    writeExtra_.fill(0);
    PutWords(writeValue_, {word});
    return Call(endpoint, name, writeValue_, writeExtra_, extra, 1);
}

int AudioBinding::WriteFloat(const AudioDeviceRecord& endpoint, const wchar_t* name, float value,
                             const std::vector<uint32_t>& extra) {
    uint32_t word = 0;
    std::memcpy(&word, &value, sizeof(word));
    return WriteWord(endpoint, name, word, extra);
}

int AudioBinding::ReadText(const AudioDeviceRecord& endpoint, const wchar_t* name,
                           std::wstring* text, const std::vector<uint32_t>& extra) {
    readValue_.fill(0);
    readExtra_.fill(0);
    const int result = Call(endpoint, name, readValue_, readExtra_, extra, 0);
    if (result == 0) {
        *text = WideTextOf(readValue_.data(), readValue_.size());
    }
    return result;
}

int AudioBinding::ReadInt(const AudioDeviceRecord& endpoint, const wchar_t* name, int32_t* value,
                          const std::vector<uint32_t>& extra) {
    std::wstring text;
    const int result = ReadText(endpoint, name, &text, extra);
    if (result == 0) {
        *value = static_cast<int32_t>(std::wcstol(text.c_str(), nullptr, 10));
    }
    return result;
}

int AudioBinding::ReadFloat(const AudioDeviceRecord& endpoint, const wchar_t* name, float* value,
                            const std::vector<uint32_t>& extra) {
    std::wstring text;
    const int result = ReadText(endpoint, name, &text, extra);
    if (result == 0) {
        *value = std::wcstof(text.c_str(), nullptr);
    }
    return result;
}

void AudioBinding::TellFailure(std::wstring_view text) {
    platform::TellUser(L"", text);
}

}  // namespace device
