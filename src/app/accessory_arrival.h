#pragma once
// Which device object an interface that comes or goes belongs to. An input interface of
// any kind finds its object by vendor id, product id and kind (so it may come before the
// command interface) and opens or closes the object's notify channel; a command
// interface that goes closes the object whose channel reads it; and one mouse may be
// reachable through two command interfaces (a cable and a receiver), between which its
// object moves.
//
// With two devices of one product each object keeps to its own interfaces: an input
// goes to one object only, and what goes closes only the object that read it.
//
// Everything here runs on the window's thread while the capture thread waits; the live
// list is read through copies, and every partner index is checked against it.

#include <cstddef>
#include <string>
#include <vector>

#include "device/discovery/hid_live_list.h"

class CVornalixUSBDevice;

namespace arrival {

inline constexpr int kKeyboardKind = 1;
inline constexpr int kWiredMouseKind = 2;
inline constexpr int kMousePadKind = 3;
inline constexpr int kWirelessMouseKind = 6;
inline constexpr int kHeadsetKind = 7;

// The object is of the record's vendor, product and kind: an input interface finds its
// object by the product alone, so it may come before the command interface.
bool MatchesProduct(const CVornalixUSBDevice& device, const HidIdRecord& record);

// The record names a partner that is present and names it back.
bool HasConnectedPartner(const HidLiveList& live, size_t index);

// An input interface arrived; `list` is the device list of its kind (1, 2, 3, 6 or 7;
// other kinds change nothing). It opens the notify channel of one object of its product
// whose channel is closed: the one whose command channel is on the same device, else one
// whose command interface has not come yet, else the first. A wired mouse's input also
// follows a mouse whose partner it belongs to.
void AttachInput(const HidLiveList& live, size_t index, int kind,
                 const std::vector<CVornalixUSBDevice*>& list);
// The input interface at `index`, which read `gonePath`, went: the object whose notify
// channel reads that path closes it (a partnered mouse moves it to its partner's input).
void DetachInput(const HidLiveList& live, size_t index, int kind,
                 const std::vector<CVornalixUSBDevice*>& list, const std::wstring& gonePath);

// The object that takes a command interface which arrived: none when an object's command
// channel reads that path already; else the first object of the interface whose command
// channel is closed.
CVornalixUSBDevice* CommandInterfaceTaker(const std::vector<CVornalixUSBDevice*>& list,
                                          const HidIdRecord& record);
// The object a command interface that went belonged to: the one whose command channel
// reads `gonePath`, else (an open that failed still showed the entry) the first object
// of the interface whose command channel is closed.
CVornalixUSBDevice* CommandInterfaceOwner(const std::vector<CVornalixUSBDevice*>& list,
                                          const HidIdRecord& record, const std::wstring& gonePath);

// A mouse command interface whose partner is present: the mouse's command channel moves
// to the cable when it was on the receiver and to the receiver otherwise, and its notify
// channel follows to the input interface of the same kind.
void SwitchMouseInterface(const HidLiveList& live, size_t index,
                          const std::vector<CVornalixUSBDevice*>& mice);

}  // namespace arrival
