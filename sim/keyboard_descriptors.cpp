#include "sim/keyboard_descriptors.h"

namespace sim {

const std::vector<uint8_t>& KeyboardBootDescriptor() {
    static const std::vector<uint8_t> kDescriptor = {
        0x05, 0x01,              // usage page: generic desktop
        0x09, 0x06,              // usage: keyboard
        0xA1, 0x01,              // collection: application
        0x05, 0x07,              //   usage page: keyboard
        0x19, 0xE0, 0x29, 0xE7,  // usage 0xE0..0xE7 (modifiers)
        0x15, 0x00, 0x25, 0x01,  // logical 0..1
        0x75, 0x01, 0x95, 0x08,  // 8 x 1 bit
        0x81, 0x02,              //   input: data, variable
        0x95, 0x01, 0x75, 0x08,  // 1 x 8 bits
        0x81, 0x01,              //   input: constant (reserved byte)
        0x05, 0x08,              //   usage page: LEDs
        0x19, 0x01, 0x29, 0x05,  // usage 1..5
        0x95, 0x05, 0x75, 0x01,  // 5 x 1 bit
        0x91, 0x02,              //   output: data, variable
        0x95, 0x01, 0x75, 0x03,  // 1 x 3 bits
        0x91, 0x01,              //   output: constant
        0x05, 0x07,              //   usage page: keyboard
        0x19, 0x00, 0x29, 0x65,  // usage 0..0x65
        0x15, 0x00, 0x25, 0x65,  // logical 0..0x65
        0x95, 0x06, 0x75, 0x08,  // 6 x 8 bits
        0x81, 0x00,              //   input: data, array
        0xC0,                    // end collection
    };
    return kDescriptor;
}

const std::vector<uint8_t>& KeyboardVendorDescriptor() {
    static const std::vector<uint8_t> kDescriptor = {
        // col01: system control
        0x05,
        0x01,
        0x09,
        0x80,
        0xA1,
        0x01,  // generic desktop, system control
        0x85,
        0x01,  //   report id 1
        0x19,
        0x81,
        0x29,
        0x83,  //   usage 0x81..0x83
        0x15,
        0x00,
        0x25,
        0x01,  //   logical 0..1
        0x75,
        0x01,
        0x95,
        0x03,
        0x81,
        0x02,  //   3 x 1 bit, input variable
        0x75,
        0x05,
        0x95,
        0x01,
        0x81,
        0x01,  //   5 bits padding
        0xC0,
        // col02: keyboard bitmap
        0x05,
        0x01,
        0x09,
        0x06,
        0xA1,
        0x01,  // generic desktop, keyboard
        0x85,
        0x02,  //   report id 2
        0x05,
        0x07,  //   usage page: keyboard
        0x19,
        0xE0,
        0x29,
        0xE7,  //   modifiers
        0x15,
        0x00,
        0x25,
        0x01,  //   logical 0..1
        0x75,
        0x01,
        0x95,
        0x08,
        0x81,
        0x02,  //   8 x 1 bit
        0x19,
        0x00,
        0x29,
        0x77,  //   usage 0..0x77
        0x95,
        0x78,
        0x81,
        0x02,  //   120 x 1 bit
        0xC0,
        // col03: notifications
        0x05,
        0x0C,
        0x09,
        0x01,
        0xA1,
        0x01,  // consumer, consumer control
        0x85,
        0x03,  //   report id 3
        0x09,
        0x01,  //   usage 1
        0x15,
        0x00,  //   logical min 0
        0x27,
        0xFF,
        0xFF,
        0x00,
        0x00,  //   logical max 0xFFFF
        0x75,
        0x10,
        0x95,
        0x01,
        0x81,
        0x02,  //   1 x 16 bits, input variable
        0xC0,
        // col04: commands
        0x06,
        0x1C,
        0xFF,
        0x09,
        0x92,
        0xA1,
        0x01,  // vendor page 0xFF1C, usage 0x92
        0x85,
        0x04,  //   report id 4
        0x09,
        0x01,
        0x15,
        0x00,
        0x26,
        0xFF,
        0x00,  //   usage 1, logical 0..255
        0x75,
        0x08,
        0x95,
        0x3F,
        0x81,
        0x02,  //   63 bytes in
        0x09,
        0x02,
        0x75,
        0x08,
        0x95,
        0x3F,
        0x91,
        0x02,  // 63 bytes out
        0xC0,
    };
    return kDescriptor;
}

}  // namespace sim
