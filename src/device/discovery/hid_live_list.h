#pragma once
// The main window's live list of interfaces: a copy of the interface table whose records
// are claimed while a present device holds them. The capture thread changes it; the UI
// thread reads it while it handles the capture thread's messages. A lock keeps each read
// and each change whole; readers get copies.

#include <cstddef>
#include <optional>
#include <vector>

#include "device/discovery/hid_id_record.h"
#include "platform/critical_section.h"

class HidLiveList {
  public:
    HidLiveList() = default;
    // A live list over the table `rows`; live index i is row i.
    explicit HidLiveList(std::vector<HidIdRecord> rows) : table_(rows), records_(std::move(rows)) {}
    // A live list over the process-wide interface table.
    static HidLiveList FromHidIdTable();

    size_t Size() const;
    std::optional<HidIdRecord> Get(size_t index) const;

    // Some table row and some unclaimed live record carry the probe's vendor id, product
    // id, collection number and interface number.
    bool MatchHidCandidate(const HidIdRecord& probe) const;
    // The device kind of the table row a candidate matches; 0 when none does.
    uint16_t CandidateKind(const HidIdRecord& probe) const;
    // Gives the probe the kind and sub-kind of its table row (usage page and usage must
    // match too) and claims the first unclaimed live record with the same six values.
    bool ClaimHidRecord(HidIdRecord& probe, size_t& index);
    // True when no live record is both not connected and without a path.
    bool AllHidRecordsClaimed() const;
    // Indexes of the connected records, in order.
    std::vector<size_t> ConnectedIndexes() const;
    // Unclaims record `index`; false when the index is out of range.
    bool Release(size_t index);

  private:
    const HidIdRecord* FindTableRow(const HidIdRecord& probe, bool withUsage) const;

    std::vector<HidIdRecord> table_;
    mutable platform::CriticalSection lock_;
    std::vector<HidIdRecord> records_;
};
