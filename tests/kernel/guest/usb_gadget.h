#pragma once
// The emulated keyboard's USB side: a configfs gadget with the keyboard's ids and one HID
// function per interface, linked in interface order. Creating it takes root; binding it to
// a UDC (a plug) and unbinding it (an unplug) only write its UDC file, which Create gives
// to the test's user.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kernel_test {

struct GadgetInterface {
    int protocol = 0;  // 1: boot keyboard
    int subclass = 0;  // 1: boot interface
    int reportLength = 64;
    std::vector<uint8_t> descriptor;
};

class UsbGadget {
  public:
    static constexpr const char* kName = "velkaro";

    // Root only. False with a reason on stderr when configfs refuses a step.
    static bool Create(uint16_t vendorId, uint16_t productId, uint16_t version,
                       const std::vector<GadgetInterface>& interfaces, uid_t owner, gid_t group);

    // The UDCs of the machine, sorted ("dummy_udc.0", "dummy_udc.1").
    static std::vector<std::string> Controllers();
    // Plugs the gadget into `udc`; an empty name unplugs it.
    static bool Bind(const std::string& udc);
    // The gadget-side node of interface `index` (/dev/hidgN); empty while unbound.
    static std::string InterfaceNode(size_t index);
};

}  // namespace kernel_test
