// Input reports arrive from the device's notification collection and a sync thread reads
// the value they carry. The first byte picks one collection of the simulated devices'
// interfaces; the rest is the report as it came off the wire, of any length.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "device/channel/hid_device_file.h"
#include "device/channel/notify_report_value.h"
#include "platform/hid/sim_hid_bus.h"
#include "sim/sim_headset.h"
#include "sim/sim_keyboard.h"
#include "sim/sim_mouse.h"
#include "sim/sim_mousepad.h"

namespace {

// Every collection of every simulated device, opened for reading as a sync thread opens
// its notify channel.
class OpenCollections {
  public:
    OpenCollections() {
        bus_.Plug(std::make_shared<sim::SimKeyboard>());
        bus_.Plug(std::make_shared<sim::SimMouse>());
        bus_.Plug(std::make_shared<sim::SimMousePad>());
        bus_.Plug(std::make_shared<sim::SimHeadset>());
        std::vector<std::wstring> paths;
        uint32_t count = 0;
        CHidDeviceFile::EnumerateInterfaces(&paths, &count);
        for (const std::wstring& path : paths) {
            auto file = std::make_unique<CHidDeviceFile>();
            if (file->Open(path.c_str(), TRUE, FALSE, TRUE, FALSE)) {
                files_.push_back(std::move(file));
            }
        }
    }
    std::vector<std::unique_ptr<CHidDeviceFile>>& Files() { return files_; }

  private:
    platform::hid::SimHidBus bus_;
    platform::hid::ScopedHidBus use_{bus_};
    std::vector<std::unique_ptr<CHidDeviceFile>> files_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static OpenCollections collections;
    auto& files = collections.Files();
    if (files.empty()) {
        std::abort();  // nothing to fuzz: the simulated bus is broken
    }
    if (size == 0) {
        return 0;
    }
    CHidDeviceFile& file = *files[data[0] % files.size()];
    const std::vector<uint8_t> report(data + 1, data + size);  // exact length, for ASan
    uint32_t value = 0;
    device::FirstNotifyValue(file, report, &value);
    device::TracedNotifyValue(file, report, &value);
    return 0;
}
