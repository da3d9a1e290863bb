#include "sim/loopback_command_bus.h"

#include <algorithm>

#include "platform/hid/hid_cancel_event.h"
#include "sim/command_report.h"
#include "sim/keyboard_descriptors.h"
#include "sim/sim_keyboard.h"

namespace sim {
namespace {

using platform::hid::HidIoResult;
using platform::hid::HidIoStatus;

// The command collection is the fourth of the keyboard's vendor interface.
constexpr size_t kCommandCollection = 3;

class LoopbackHandle final : public platform::hid::HidHandle {
  public:
    LoopbackHandle(std::shared_ptr<LoopbackCommandBus::State> state,
                   const platform::hid::HidPreparsedData& preparsed)
        : state_(std::move(state)), preparsed_(preparsed) {
        attributes_.VendorID = kKeyboardVendorId;
        attributes_.ProductID = kKeyboardProductId;
        attributes_.VersionNumber = kKeyboardVersion;
    }

    const HIDD_ATTRIBUTES& Attributes() const override { return attributes_; }
    const platform::hid::HidPreparsedData& PreparsedData() const override { return preparsed_; }

    HidIoResult Read(std::span<uint8_t> buffer, uint32_t, platform::hid::HidCancelEvent*) override {
        std::lock_guard<std::mutex> lock(state_->mutex);
        if (state_->pending.empty())
            return {HidIoStatus::kTimeout, 0};
        const std::vector<uint8_t>& reply = state_->pending.front();
        const size_t count = std::min(buffer.size(), reply.size());
        std::copy_n(reply.begin(), count, buffer.begin());
        state_->pending.pop_front();
        return {HidIoStatus::kOk, count};
    }

    HidIoResult Write(std::span<const uint8_t> report, uint32_t,
                      platform::hid::HidCancelEvent*) override {
        std::lock_guard<std::mutex> lock(state_->mutex);
        if (!state_->scripted) {
            std::vector<uint8_t> echo(report.begin(), report.end());
            echo.resize(kCommandReportSize);
            echo[7] = kStatusOk;
            state_->pending.push_back(std::move(echo));
        } else if (!state_->script.empty()) {
            state_->pending.push_back(std::move(state_->script.front()));
            state_->script.pop_front();
        }
        return {HidIoStatus::kOk, report.size()};
    }

    bool SetOutputReport(std::span<const uint8_t>) override { return true; }
    void Cancel() override {}
    void Close() override {}

  private:
    std::shared_ptr<LoopbackCommandBus::State> state_;
    HIDD_ATTRIBUTES attributes_;
    platform::hid::HidPreparsedData preparsed_;
};

}  // namespace

LoopbackCommandBus::LoopbackCommandBus()
    : path_(platform::hid::MakeHidPath(kKeyboardVendorId, kKeyboardProductId,
                                       kKeyboardCommandInterface, kCommandCollection + 1,
                                       L"loopback")) {
    std::vector<platform::hid::HidPreparsedData> collections;
    platform::hid::HidReportDescriptor::Parse(KeyboardVendorDescriptor(), &collections);
    if (collections.size() > kCommandCollection)
        preparsed_ = collections[kCommandCollection];
}

void LoopbackCommandBus::SetScript(std::vector<std::vector<uint8_t>> replies) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->scripted = !replies.empty();
    state_->script.clear();
    state_->pending.clear();
    for (auto& reply : replies) {
        reply.resize(kCommandReportSize);
        state_->script.push_back(std::move(reply));
    }
}

bool LoopbackCommandBus::Enumerate(std::vector<std::wstring>* paths) {
    paths->assign(1, path_);
    return true;
}

std::unique_ptr<platform::hid::HidHandle> LoopbackCommandBus::Open(std::wstring_view path,
                                                                   platform::hid::HidOpenFlags) {
    if (!platform::hid::SameHidPath(path, path_))
        return nullptr;
    return std::make_unique<LoopbackHandle>(state_, preparsed_);
}

}  // namespace sim
