#include "device/mouse/settings_block.h"

#include <algorithm>
#include <cstring>

#include "device/lighting/light_block_bytes.h"

namespace device {
namespace {

void PutU16(MouseSettingsBlock& block, size_t at, uint16_t value) {
    block[at] = static_cast<uint8_t>(value & 0xFF);
    block[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutCorrection(const std::vector<CorrectionEntry>& corrections, MouseSettingsBlock& block) {
    const auto selected = std::find_if(corrections.begin(), corrections.end(),
                                       [](const CorrectionEntry& e) { return e.selected != 0; });
    if (selected != corrections.end()) {
        block[64] = selected->minimumSquare;
        block[65] = selected->pixelThreshold;
    }
}

}  // namespace

void BoundStoredSettings(MouseSystemStages& stages, std::vector<DpiStageRecord>& dpiStages,
                         uint16_t maxDpiSlider) {
    if (stages.reportRate >= kMousePollingOptionCount) {
        stages.reportRate = 0;
    }
    for (DpiStageRecord& stage : dpiStages) {
        stage.enabled = WireFlag(stage.enabled);
        stage.separateXY = WireFlag(stage.separateXY);
        if (maxDpiSlider != 0) {
            stage.SetDpiX(std::min(stage.DpiX(), maxDpiSlider));
            stage.SetDpiY(std::min(stage.DpiY(), maxDpiSlider));
        }
    }
}

MouseSettingsBlock EncodeMouseSettings(const MouseSettingsSource& source) {
    MouseSettingsBlock block{};
    const LightRecord& light = source.light;
    block[0] = source.firstByte;
    PutLightBytes(block, light.mode < kMouseDeviceModeCount ? light.mode : 0, light);
    block[11] = static_cast<uint8_t>(source.stages.reportRate & 0xFF);
    const size_t stages = std::min(source.dpiStages.size(), kMouseDpiStageCount);
    // A current stage past the profile's stages would select one written as 0.
    const bool stageExists =
        source.currentDpiStage >= 0 && static_cast<size_t>(source.currentDpiStage) < stages;
    block[12] = stageExists ? static_cast<uint8_t>(source.currentDpiStage) : 0;
    for (size_t n = 0; n < stages; ++n) {
        std::memcpy(block.data() + kMouseDpiStagesOffset + n * sizeof(DpiStageRecord),
                    &source.dpiStages[n], sizeof(DpiStageRecord));
    }
    block[59] = source.constantByte;
    PutU16(block, 60, source.screenWidth);
    PutU16(block, 62, source.screenHeight);
    PutCorrection(source.corrections, block);
    return block;
}

void TakeMouseSettings(const MouseSettingsBlock& block, MouseSettingsState& state) {
    state[kStateMode] = block[1];
    state[kStateBrightness] = block[2];
    state[kStateSpeed] = InvertSpeedIndex(block[3]);
    for (size_t i = kStateMultiColour; i <= kStateBlue; ++i) {
        state[i] = block[i];
    }
}

}  // namespace device
