// Interfaces coming and going over simulated firmware: which device object an input or
// command interface opens or closes when two devices of one product are present, and how
// a mouse reachable through a cable and a receiver moves between them.

#include "app/accessory_arrival.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "device/mouse/vornalix_mouse_device.h"
#include "device/onboard/vornalix_mousepad_device.h"
#include "device/onboard/vornalix_tamsel_device.h"
#include "platform/hid/sim_hid_bus.h"
#include "sim/mouse_descriptors.h"
#include "sim/sim_headset.h"
#include "sim/sim_mouse.h"
#include "sim/sim_mousepad.h"
#include "support/temp_dir.h"

namespace {

constexpr uint16_t kVendor = 0x320F;
constexpr uint32_t kNotifyCollection = 1;
constexpr uint32_t kCommandCollection = 2;

HidIdRecord Record(uint16_t productId, uint16_t kind, uint16_t subKind, const std::wstring& path) {
    HidIdRecord record;
    record.vendorId = kVendor;
    record.productId = productId;
    record.interfaceNumber = 1;
    record.collectionNumber = subKind == kInputInterface ? 1 : 2;
    record.deviceKind = kind;
    record.subKind = subKind;
    record.connected = path.empty() ? 0 : 1;
    record.devicePath = path.c_str();
    return record;
}

// As the page builder gives it: the table row, without a path.
HidIdRecord Identity(uint16_t productId, uint16_t kind) {
    return Record(productId, kind, kCommandInterface, L"");
}

std::wstring NotifyPath(CVornalixUSBDevice& device) {
    return device.InputChannel().IsOpen() ? device.InputChannel().File().DevicePath() : L"";
}

class AccessoryArrivalTest : public ::testing::Test {
  protected:
    template <typename T>
    T* Make(HidIdRecord identity) {
        auto device = std::make_unique<T>();
        device->SetDeviceIdentity(identity);
        T* raw = device.get();
        owned_.push_back(std::move(device));
        return raw;
    }
    std::wstring PathOf(const platform::hid::SimHidDevice& device, uint32_t collection) {
        return bus_.PathOf(device, 1, collection);
    }
    void Plug(const std::shared_ptr<platform::hid::SimHidDevice>& device) { bus_.Plug(device); }

    testing_support::ScopedUserFolders folders_;
    platform::hid::SimHidBus bus_;
    platform::hid::ScopedHidBus useBus_{bus_};
    std::vector<std::unique_ptr<CVornalixUSBDevice>> owned_;
};

TEST_F(AccessoryArrivalTest, PadAndHeadsetInputsOpenAndCloseOneMatchingObjectEach) {
    auto padA = std::make_shared<sim::SimMousePad>();
    auto padB = std::make_shared<sim::SimMousePad>();
    auto headset = std::make_shared<sim::SimHeadset>();
    Plug(padA);
    Plug(padB);
    Plug(headset);
    const HidLiveList live({
        Record(sim::kMousePadProductId, 3, kInputInterface, PathOf(*padA, kNotifyCollection)),
        Record(sim::kMousePadProductId, 3, kInputInterface, PathOf(*padB, kNotifyCollection)),
        Record(sim::kHeadsetProductId, 7, kInputInterface, PathOf(*headset, kNotifyCollection)),
        Record(0x7777, 3, kInputInterface, PathOf(*padA, kNotifyCollection)),
    });
    auto* first = Make<CVornalixMousePadDevice>(Identity(sim::kMousePadProductId, 3));
    const std::vector<CVornalixUSBDevice*> pads{first};
    auto* tamsel = Make<CVornalixTamselDevice>(Identity(sim::kHeadsetProductId, 7));

    arrival::AttachInput(live, 0, 3, pads);
    EXPECT_EQ(NotifyPath(*first), PathOf(*padA, kNotifyCollection));
    EXPECT_TRUE(first->IsSyncThreadRunning());
    // Open already and nobody else matches: the second pad's interface changes nothing.
    arrival::AttachInput(live, 1, 3, pads);
    EXPECT_EQ(NotifyPath(*first), PathOf(*padA, kNotifyCollection));
    // Another product opens nothing.
    auto* second = Make<CVornalixMousePadDevice>(Identity(sim::kMousePadProductId, 3));
    const std::vector<CVornalixUSBDevice*> twoPads{first, second};
    arrival::AttachInput(live, 3, 3, twoPads);
    EXPECT_FALSE(second->InputChannel().IsOpen());
    // With a second object the second interface finds it.
    arrival::AttachInput(live, 1, 3, twoPads);
    EXPECT_EQ(NotifyPath(*second), PathOf(*padB, kNotifyCollection));

    arrival::AttachInput(live, 2, 7, {tamsel});
    EXPECT_EQ(NotifyPath(*tamsel), PathOf(*headset, kNotifyCollection));

    // Going, the object that read the interface closes, not the first one open: the
    // capture thread has forgotten the path, the window tells it.
    std::vector<HidIdRecord> rows{live.Get(0).value(), live.Get(1).value()};
    rows[1].connected = 0;
    rows[1].devicePath.Empty();
    arrival::DetachInput(HidLiveList(rows), 1, 3, twoPads, PathOf(*padB, kNotifyCollection));
    EXPECT_FALSE(second->InputChannel().IsOpen());
    EXPECT_FALSE(second->IsSyncThreadRunning());
    EXPECT_EQ(NotifyPath(*first), PathOf(*padA, kNotifyCollection));
    EXPECT_TRUE(first->IsSyncThreadRunning());
}

TEST_F(AccessoryArrivalTest, ACommandInterfaceGoesToItsOwnObjectAndClosesOnlyIt) {
    auto padA = std::make_shared<sim::SimMousePad>();
    auto padB = std::make_shared<sim::SimMousePad>();
    Plug(padA);
    Plug(padB);
    const HidIdRecord a =
        Record(sim::kMousePadProductId, 3, kCommandInterface, PathOf(*padA, kCommandCollection));
    const HidIdRecord b =
        Record(sim::kMousePadProductId, 3, kCommandInterface, PathOf(*padB, kCommandCollection));
    auto* first = Make<CVornalixMousePadDevice>(Identity(sim::kMousePadProductId, 3));
    auto* second = Make<CVornalixMousePadDevice>(Identity(sim::kMousePadProductId, 3));
    const std::vector<CVornalixUSBDevice*> pads{first, second};

    ASSERT_EQ(arrival::CommandInterfaceTaker(pads, a), first);
    ASSERT_TRUE(first->CommandChannel().OpenInterface(a.devicePath.GetData(), false));
    EXPECT_EQ(arrival::CommandInterfaceTaker(pads, a), nullptr) << "reported again while open";
    EXPECT_EQ(arrival::CommandInterfaceTaker(pads, b), second);
    ASSERT_TRUE(second->CommandChannel().OpenInterface(b.devicePath.GetData(), false));

    EXPECT_EQ(arrival::CommandInterfaceOwner(pads, b, b.devicePath.GetData()), second);
    EXPECT_EQ(arrival::CommandInterfaceOwner(pads, b, L"hid#gone"), nullptr)
        << "a path nobody reads closes no healthy channel";
    second->CommandChannel().CloseInterface();
    EXPECT_EQ(arrival::CommandInterfaceOwner(pads, b, L"hid#gone"), second)
        << "an entry shown after a failed open is still released";
}

TEST_F(AccessoryArrivalTest, EachMouseTakesItsOwnInputAndOnlyItsReaderClosesIt) {
    auto mouseA = std::make_shared<sim::SimMouse>();
    auto mouseB = std::make_shared<sim::SimMouse>();
    auto receiverC = std::make_shared<sim::SimMouse>();
    Plug(mouseA);
    Plug(mouseB);
    Plug(receiverC);
    const std::wstring notifyA = PathOf(*mouseA, sim::kMouseNotifyCollection);
    const std::wstring notifyB = PathOf(*mouseB, sim::kMouseNotifyCollection);
    const std::wstring notifyC = PathOf(*receiverC, sim::kMouseNotifyCollection);
    const HidLiveList live({
        Record(sim::kMouseProductId, 2, kInputInterface, notifyA),
        Record(sim::kMouseProductId, 2, kInputInterface, notifyB),
        Record(sim::kMouseProductId, 6, kInputInterface, notifyC),
    });
    auto* wiredA = Make<CVornalixMouseDevice>(Identity(sim::kMouseProductId, 2));
    auto* wiredB = Make<CVornalixMouseDevice>(Identity(sim::kMouseProductId, 2));
    auto* receiver = Make<CVornalixMouseDevice>(Identity(sim::kMouseProductId, 6));
    const std::vector<CVornalixUSBDevice*> mice{wiredA, wiredB, receiver};
    // The second object talks to mouse A already: A's input is that object's.
    ASSERT_TRUE(wiredB->CommandChannel().OpenInterface(
        PathOf(*mouseA, sim::kMouseCommandCollection).c_str(), false));

    arrival::AttachInput(live, 0, 2, mice);
    EXPECT_EQ(NotifyPath(*wiredB), notifyA);
    EXPECT_FALSE(wiredA->InputChannel().IsOpen()) << "one interface, one reader";
    arrival::AttachInput(live, 1, 2, mice);
    EXPECT_EQ(NotifyPath(*wiredA), notifyB);
    EXPECT_EQ(NotifyPath(*wiredB), notifyA);
    EXPECT_FALSE(receiver->InputChannel().IsOpen());
    arrival::AttachInput(live, 2, 6, mice);
    EXPECT_EQ(NotifyPath(*receiver), notifyC);
    EXPECT_TRUE(receiver->IsSyncThreadRunning());

    // Without partners only the mouse that read the interface closes.
    arrival::DetachInput(live, 1, 2, mice, notifyB);
    EXPECT_FALSE(wiredA->InputChannel().IsOpen());
    EXPECT_EQ(NotifyPath(*wiredB), notifyA);
    EXPECT_TRUE(receiver->InputChannel().IsOpen());
    arrival::DetachInput(live, 2, 6, mice, notifyC);
    EXPECT_FALSE(receiver->InputChannel().IsOpen());
    EXPECT_FALSE(receiver->IsSyncThreadRunning());
    EXPECT_EQ(NotifyPath(*wiredB), notifyA);
}

// One mouse, reachable through a cable (kind 2) and a receiver (kind 6): live records 0
// and 1 are the two command interfaces naming each other, 2 and 3 their inputs.
class MousePartnerTest : public AccessoryArrivalTest {
  protected:
    void SetUp() override {
        Plug(cable_);
        Plug(receiver_);
    }
    std::vector<HidIdRecord> Rows(bool cablePresent, bool receiverPresent) {
        const std::wstring none;
        std::vector<HidIdRecord> rows{
            Record(sim::kMouseProductId, 2, kCommandInterface,
                   cablePresent ? PathOf(*cable_, sim::kMouseCommandCollection) : none),
            Record(sim::kMouseProductId, 6, kCommandInterface,
                   receiverPresent ? PathOf(*receiver_, sim::kMouseCommandCollection) : none),
            Record(sim::kMouseProductId, 2, kInputInterface, cablePresent ? CableNotify() : none),
            Record(sim::kMouseProductId, 6, kInputInterface,
                   receiverPresent ? ReceiverNotify() : none),
        };
        for (size_t i = 0; i < rows.size(); ++i) {
            rows[i].partnerFlag = 1;
            rows[i].partnerIndex = static_cast<uint16_t>(i ^ 1);
        }
        return rows;
    }
    std::wstring CableNotify() { return PathOf(*cable_, sim::kMouseNotifyCollection); }
    std::wstring ReceiverNotify() { return PathOf(*receiver_, sim::kMouseNotifyCollection); }

    std::shared_ptr<sim::SimMouse> cable_ = std::make_shared<sim::SimMouse>();
    std::shared_ptr<sim::SimMouse> receiver_ = std::make_shared<sim::SimMouse>();
};

TEST_F(MousePartnerTest, APartnerCountsOnlyWhenPresentAndNamingTheRecordBack) {
    std::vector<HidIdRecord> rows = Rows(true, true);
    EXPECT_TRUE(arrival::HasConnectedPartner(HidLiveList(rows), 0));
    EXPECT_TRUE(arrival::HasConnectedPartner(HidLiveList(rows), 1));
    rows[2].partnerFlag = 0;
    EXPECT_FALSE(arrival::HasConnectedPartner(HidLiveList(rows), 2)) << "no partner flag";

    EXPECT_FALSE(arrival::HasConnectedPartner(HidLiveList(Rows(true, false)), 0));
    rows[1].partnerIndex = 3;
    EXPECT_FALSE(arrival::HasConnectedPartner(HidLiveList(rows), 0)) << "not named back";
    rows[0].partnerIndex = 40;
    EXPECT_FALSE(arrival::HasConnectedPartner(HidLiveList(rows), 0)) << "beyond the list";
}

TEST_F(MousePartnerTest, TheMouseMovesToTheCableAndBackToTheReceiverWithItsInput) {
    const std::vector<HidIdRecord> both = Rows(true, true);
    auto* mouse = Make<CVornalixMouseDevice>(both[1]);
    const std::vector<CVornalixUSBDevice*> mice{mouse};
    // On the receiver, as its ordinary arrival leaves it.
    ASSERT_TRUE(mouse->CommandChannel().OpenInterface(both[1].devicePath.GetData(), true));
    mouse->OpenNotifyChannel(ReceiverNotify().c_str());

    // The cable's input interface comes first: the input follows it at once.
    arrival::AttachInput(HidLiveList(both), 2, 2, mice);
    EXPECT_EQ(NotifyPath(*mouse), CableNotify());
    EXPECT_TRUE(mouse->CommandChannel().IsSlow());

    // Then its command interface: command and input channels move to it.
    arrival::SwitchMouseInterface(HidLiveList(both), 0, mice);
    EXPECT_TRUE(mouse->CommandChannel().IsOpen());
    EXPECT_FALSE(mouse->CommandChannel().IsSlow());
    EXPECT_TRUE(mouse->GetDeviceIdentity().IsSameInterface(both[0]));
    EXPECT_EQ(mouse->CommandChannel().File().DevicePath(), both[0].devicePath.GetData());
    EXPECT_EQ(NotifyPath(*mouse), CableNotify());
    const size_t before = cable_->ReceivedCommands().size();
    EXPECT_TRUE(mouse->CommandChannel().QueryDeviceStatus());
    EXPECT_EQ(cable_->ReceivedCommands().size(), before + 1) << "commands go down the cable";

    // The cable's input goes while the receiver is there: the input moves to the
    // receiver's input interface.
    std::vector<HidIdRecord> inputGone = both;
    inputGone[2].connected = 0;
    inputGone[2].devicePath.Empty();
    arrival::DetachInput(HidLiveList(inputGone), 2, 2, mice, CableNotify());
    EXPECT_EQ(NotifyPath(*mouse), ReceiverNotify());

    // The cable goes (its record released): back to the receiver, slow again.
    std::vector<HidIdRecord> cableGone = Rows(false, true);
    arrival::SwitchMouseInterface(HidLiveList(cableGone), 0, mice);
    EXPECT_TRUE(mouse->CommandChannel().IsSlow());
    EXPECT_TRUE(mouse->GetDeviceIdentity().IsSameInterface(both[1]));
    EXPECT_EQ(NotifyPath(*mouse), ReceiverNotify());
}

TEST_F(MousePartnerTest, AMoveThatCannotOpenLeavesTheChannelClosedAndTheIdentityAsItWas) {
    const std::vector<HidIdRecord> both = Rows(true, true);
    auto* mouse = Make<CVornalixMouseDevice>(both[0]);
    const std::vector<CVornalixUSBDevice*> mice{mouse};
    ASSERT_TRUE(mouse->CommandChannel().OpenInterface(both[0].devicePath.GetData(), false));
    mouse->OpenNotifyChannel(CableNotify().c_str());
    bus_.Unplug(receiver_);

    arrival::SwitchMouseInterface(HidLiveList(both), 0, mice);
    EXPECT_FALSE(mouse->CommandChannel().IsOpen()) << "not reported open on a dead path";
    EXPECT_FALSE(mouse->CommandChannel().IsSlow());
    EXPECT_TRUE(mouse->GetDeviceIdentity().IsSameInterface(both[0]));
    EXPECT_EQ(NotifyPath(*mouse), CableNotify()) << "the input stays where it was";
}

}  // namespace
