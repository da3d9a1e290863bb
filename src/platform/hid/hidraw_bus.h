#pragma once
// The hidraw backend: nodes listed through libudev (or, below a sysfs root other than
// /sys, from <root>/class/hidraw), described from sysfs, opened as <devRoot>/hidrawN.
// Share modes are not enforced between processes; the kernel has no such notion.

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/hid/hid_bus.h"
#include "platform/hid/hidraw_node_watch.h"
#include "platform/hid/hidraw_sysfs.h"

namespace platform::hid {

class HidrawBus final : public HidBus {
  public:
    explicit HidrawBus(std::string sysfsRoot = "/sys", std::string devRoot = "/dev");

    bool Enumerate(std::vector<std::wstring>* paths) override;
    std::unique_ptr<HidHandle> Open(std::wstring_view path, HidOpenFlags flags) override;
    std::unique_ptr<HidHandle> OpenWithError(std::wstring_view path, HidOpenFlags flags,
                                             HidOpenError* error) override;
    bool IsPresent(std::wstring_view path) override;
    // Moves when a node of the device folder comes, goes or changes rights: the kernel
    // makes the node once sysfs describes it, and removes it before sysfs forgets it. The
    // folder is watched from the first call on; nothing when it cannot be watched.
    std::optional<uint64_t> ChangeStamp() override;

  private:
    // The node `path` names and the index of its collection there, when the node still
    // belongs to the device the path describes.
    struct Found {
        std::string name;
        HidrawNodeInfo info;
        std::vector<HidPreparsedData> collections;
        size_t index = 0;
    };
    bool Find(std::wstring_view path, Found* found) const;
    bool ListNodes(std::vector<std::string>* names) const;

    std::string sysfsRoot_;
    std::string devRoot_;
    std::mutex watchMutex_;
    std::optional<HidrawNodeWatch> watch_;
    uint64_t stamp_ = 0;
};

// The paths of every top-level collection of one node, in descriptor order; empty when
// its descriptor cannot be parsed.
std::vector<std::wstring> HidrawCollectionPaths(const HidrawNodeInfo& info);

}  // namespace platform::hid
