#include "platform/hid/hidraw_bus.h"

#include <fcntl.h>
#include <libudev.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "platform/hid/hidraw_handle.h"

namespace platform::hid {
namespace {

struct UdevDeleter {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
};

std::wstring Widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());  // node names are ASCII
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c < 0x20 || c > 0x7E) {
            return {};
        }
        out.push_back(static_cast<char>(c));
    }
    return out;
}

// The last component of a sysfs path: the node name.
std::string BaseName(const char* path) {
    const std::string text = path != nullptr ? path : "";
    const size_t slash = text.rfind('/');
    return slash == std::string::npos ? text : text.substr(slash + 1);
}

// The path of collection `index` of a node with `count` top-level collections.
std::wstring CollectionPath(const HidrawNodeInfo& info, size_t index, size_t count) {
    const uint32_t number = count > 1 ? static_cast<uint32_t>(index + 1) : 0;
    return MakeHidPath(info.vendorId, info.productId, info.interfaceNumber, number,
                       Widen(info.name));
}

}  // namespace

std::vector<std::wstring> HidrawCollectionPaths(const HidrawNodeInfo& info) {
    std::vector<HidPreparsedData> collections;
    std::vector<std::wstring> paths;
    if (HidReportDescriptor::Parse(info.descriptor, &collections) != HIDP_STATUS_SUCCESS) {
        return paths;
    }
    for (size_t c = 0; c < collections.size(); ++c) {
        paths.push_back(CollectionPath(info, c, collections.size()));
    }
    return paths;
}

HidrawBus::HidrawBus(std::string sysfsRoot, std::string devRoot)
    : sysfsRoot_(std::move(sysfsRoot)), devRoot_(std::move(devRoot)) {}

bool HidrawBus::ListNodes(std::vector<std::string>* names) const {
    if (sysfsRoot_ != "/sys") {
        *names = ListHidrawNodeNames(sysfsRoot_);
        return true;
    }
    std::unique_ptr<udev, UdevDeleter> context(udev_new());
    if (!context) {
        return false;
    }
    std::unique_ptr<udev_enumerate, UdevDeleter> scan(udev_enumerate_new(context.get()));
    if (!scan || udev_enumerate_add_match_subsystem(scan.get(), "hidraw") < 0) {
        return false;
    }
    if (udev_enumerate_scan_devices(scan.get()) < 0) {
        return false;
    }
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(scan.get())) {
        const std::string name = BaseName(udev_list_entry_get_name(entry));
        if (IsHidrawNodeName(name)) {
            names->push_back(name);
        }
    }
    return true;
}

bool HidrawBus::Enumerate(std::vector<std::wstring>* paths) {
    if (paths == nullptr) {
        return false;
    }
    paths->clear();
    std::vector<std::string> names;
    if (!ListNodes(&names)) {
        return false;
    }
    for (const std::string& name : names) {
        HidrawNodeInfo info;
        if (!ReadHidrawNode(sysfsRoot_, name, &info)) {
            continue;  // a node that vanished or cannot be read hides nothing after it
        }
        for (std::wstring& path : HidrawCollectionPaths(info)) {
            paths->push_back(std::move(path));
        }
    }
    return true;
}

bool HidrawBus::Find(std::wstring_view path, Found* found) const {
    found->name = Narrow(HidPathNode(path));
    if (!ReadHidrawNode(sysfsRoot_, found->name, &found->info) ||
        HidReportDescriptor::Parse(found->info.descriptor, &found->collections) !=
            HIDP_STATUS_SUCCESS) {
        return false;
    }
    // The node number may since belong to another device: the whole path must match.
    const size_t count = found->collections.size();
    found->index = 0;
    while (found->index < count &&
           !SameHidPath(CollectionPath(found->info, found->index, count), path)) {
        ++found->index;
    }
    return found->index < count;
}

std::optional<uint64_t> HidrawBus::ChangeStamp() {
    std::lock_guard<std::mutex> lock(watchMutex_);
    if (!watch_) {
        watch_.emplace(devRoot_);
    }
    if (watch_->Changed()) {
        ++stamp_;
    }
    if (watch_->Broken()) {
        return std::nullopt;
    }
    return stamp_;
}

bool HidrawBus::IsPresent(std::wstring_view path) {
    Found found;
    struct stat st;
    return Find(path, &found) && stat((devRoot_ + "/" + found.name).c_str(), &st) == 0;
}

std::unique_ptr<HidHandle> HidrawBus::Open(std::wstring_view path, HidOpenFlags flags) {
    return OpenWithError(path, flags, nullptr);
}

std::unique_ptr<HidHandle> HidrawBus::OpenWithError(std::wstring_view path, HidOpenFlags flags,
                                                    HidOpenError* error) {
    HidOpenError ignored;
    HidOpenError& why = error != nullptr ? *error : ignored;
    why = HidOpenError::kAbsent;
    Found found;
    if (!Find(path, &found)) {
        return nullptr;
    }
    const HidrawNodeInfo& info = found.info;
    HIDD_ATTRIBUTES attributes;
    attributes.VendorID = info.vendorId;
    attributes.ProductID = info.productId;
    attributes.VersionNumber = info.version;

    const std::string node = devRoot_ + "/" + found.name;
    int fd = -1;
    if (flags.read || flags.write) {
        const int mode = flags.read && flags.write ? O_RDWR : (flags.write ? O_WRONLY : O_RDONLY);
        fd = open(node.c_str(), mode | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            why = errno == EACCES || errno == EPERM ? HidOpenError::kAccessDenied
                  : errno == ENOENT || errno == ENODEV || errno == ENXIO ? HidOpenError::kAbsent
                                                                         : HidOpenError::kRefused;
            return nullptr;
        }
    } else {
        struct stat st;
        if (stat(node.c_str(), &st) != 0) {
            return nullptr;
        }
    }
    why = HidOpenError::kNone;
    return std::make_unique<HidrawHandle>(fd, attributes, std::move(found.collections[found.index]),
                                          flags);
}

}  // namespace platform::hid
