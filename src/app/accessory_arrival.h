#pragma once
// What differs for mice, mouse pads and headsets when their interfaces come and go: the
// input interface finds its device object by vendor id, product id and kind and opens or
// closes the object's notify channel, and one mouse may be reachable through two command
// interfaces (a cable and a receiver), between which its object moves.
//
// Everything here runs on the window's thread while the capture thread waits; the live
// list is read through copies, and every partner index is checked against it.

#include <cstddef>
#include <vector>

#include "device/discovery/hid_live_list.h"

class CVornalixUSBDevice;

namespace arrival {

inline constexpr int kWiredMouseKind = 2;
inline constexpr int kMousePadKind = 3;
inline constexpr int kWirelessMouseKind = 6;
inline constexpr int kHeadsetKind = 7;

// The object is of the record's vendor, product and kind: an input interface finds its
// object by the product alone, so it may come before the command interface.
bool MatchesProduct(const CVornalixUSBDevice& device, const HidIdRecord& record);

// The record names a partner that is present and names it back.
bool HasConnectedPartner(const HidLiveList& live, size_t index);

// An input interface of kind 2, 3, 6 or 7 arrived or went; `list` is the device list of
// that kind. Other kinds change nothing.
void AttachAccessoryInput(const HidLiveList& live, size_t index, int kind,
                          const std::vector<CVornalixUSBDevice*>& list);
void DetachAccessoryInput(const HidLiveList& live, size_t index, int kind,
                          const std::vector<CVornalixUSBDevice*>& list);

// A mouse command interface whose partner is present: the mouse's command channel moves
// to the cable when it was on the receiver and to the receiver otherwise, and its notify
// channel follows to the input interface of the same kind.
void SwitchMouseInterface(const HidLiveList& live, size_t index,
                          const std::vector<CVornalixUSBDevice*>& mice);

}  // namespace arrival
