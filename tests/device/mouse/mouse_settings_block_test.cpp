// The mouse's settings area and key positions from untrusted bytes: what reaches the
// wire and what is taken back.

#include "device/mouse/settings_block.h"

#include <gtest/gtest.h>

#include "device/mouse/key_codes.h"

namespace {

TEST(MouseSettingsBlockTest, SpeedTravelsInvertedAndOutOfRangeValuesStayInRange) {
    device::MouseSettingsSource source;
    source.light.speed = 12;
    source.constantByte = 0;
    source.dpiStages.resize(7);  // more than the area holds
    source.dpiStages[4].blue = 7;
    source.dpiStages[5].enabled = 1;
    const device::MouseSettingsBlock written = device::EncodeMouseSettings(source);
    EXPECT_EQ(written[3], 0) << "held at speed 9";
    EXPECT_EQ(written[58], 7);
    EXPECT_EQ(written[59], 0) << "stages past the fifth are not written";

    device::MouseSettingsBlock block{};
    device::MouseSettingsState state{};
    state[device::kStateDirection] = 1;
    state[device::kStateProfile] = 2;
    block[3] = 200;
    block[4] = 0;
    device::TakeMouseSettings(block, state);
    EXPECT_EQ(state[device::kStateSpeed], 0);
    EXPECT_EQ(state[device::kStateDirection], 1);
    EXPECT_EQ(state[device::kStateProfile], 2);
    block[3] = 0;
    device::TakeMouseSettings(block, state);
    EXPECT_EQ(state[device::kStateSpeed], 9);
}

TEST(MouseKeyCodesTest, EachKeyTakesTheFirstPositionOfItsCodeWithinTheCount) {
    // Left twice (positions 0 and 2), right only past the LED count.
    const std::vector<uint8_t> table = {16, 1, 0, 0, 0, 0, 16, 1, 0, 16, 2, 0};
    const std::map<int, int> positions = device::BuildMouseKeyPositions(table, 3);
    EXPECT_EQ(positions.at(0), 0);
    EXPECT_EQ(positions.at(1), device::kNoMouseKeyPosition);
    EXPECT_EQ(positions.size(), static_cast<size_t>(device::kMouseKeyCount));

    // A count beyond the table finds nothing past its end.
    const std::map<int, int> wide = device::BuildMouseKeyPositions(table, 100);
    EXPECT_EQ(wide.at(1), 3);
    EXPECT_EQ(wide.at(99), device::kNoMouseKeyPosition);
}

}  // namespace
