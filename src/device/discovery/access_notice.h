#pragma once
// Telling the user, once per device, that a supported device is plugged in but this user
// may not open it: without the udev rule the device would otherwise stay "not connected"
// with no word why.
//
// A node is briefly root's alone right after it appears, until udev applies the rule, so
// a refused open is told only once the same device has been refused on every pass for
// kDelayMs.

#include <cstdint>
#include <string>
#include <vector>

#include "device/discovery/hid_id_record.h"

class AccessNotices {
  public:
    static constexpr uint32_t kDelayMs = 2500;
    // Passes further apart than this are not one refusal: the device went and came.
    static constexpr uint32_t kGapMs = 1000;

    // An open of `probe` (of device kind `kind`) was refused for lack of rights at `now`
    // (TickCount). Tells the user when the device has been refused long enough.
    void Refused(const HidIdRecord& probe, uint16_t kind, uint32_t now);
    // An open of a device succeeded: its refusals so far were udev at work.
    void Opened(const HidIdRecord& probe);

  private:
    struct Entry {
        uint16_t vendorId = 0;
        uint16_t productId = 0;
        uint32_t firstRefused = 0;
        uint32_t lastRefused = 0;
        bool told = false;
    };
    Entry& EntryFor(const HidIdRecord& probe, uint32_t now);

    std::vector<Entry> entries_;
};

// The notice's text: the device, its node and the udev rule that lets the user open it.
std::wstring AccessNoticeText(const HidIdRecord& probe, uint16_t kind);
