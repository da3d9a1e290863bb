#include "device/discovery/hid_live_list.h"

#include "device/discovery/device_tables.h"

namespace {

bool SameLocation(const HidIdRecord& a, const HidIdRecord& b) {
    return a.vendorId == b.vendorId && a.productId == b.productId &&
           a.collectionNumber == b.collectionNumber && a.interfaceNumber == b.interfaceNumber;
}

bool SameUsage(const HidIdRecord& a, const HidIdRecord& b) {
    return a.usagePage == b.usagePage && a.usage == b.usage;
}

}  // namespace

HidLiveList HidLiveList::FromHidIdTable() {
    return HidLiveList(std::vector<HidIdRecord>(HidIdTable, HidIdTable + HidIdTableCount));
}

size_t HidLiveList::Size() const {
    platform::CriticalSectionLock guard(lock_);
    return records_.size();
}

std::optional<HidIdRecord> HidLiveList::Get(size_t index) const {
    platform::CriticalSectionLock guard(lock_);
    if (index >= records_.size())
        return std::nullopt;
    return records_[index];
}

const HidIdRecord* HidLiveList::FindTableRow(const HidIdRecord& probe, bool withUsage) const {
    for (const HidIdRecord& row : table_) {
        if (SameLocation(row, probe) && (!withUsage || SameUsage(row, probe)))
            return &row;
    }
    return nullptr;
}

bool HidLiveList::MatchHidCandidate(const HidIdRecord& probe) const {
    platform::CriticalSectionLock guard(lock_);
    if (FindTableRow(probe, false) == nullptr)
        return false;
    for (const HidIdRecord& record : records_) {
        if (SameLocation(record, probe) && !record.IsClaimed())
            return true;
    }
    return false;
}

uint16_t HidLiveList::CandidateKind(const HidIdRecord& probe) const {
    platform::CriticalSectionLock guard(lock_);
    const HidIdRecord* row = FindTableRow(probe, false);
    return row != nullptr ? row->deviceKind : 0;
}

bool HidLiveList::ClaimHidRecord(HidIdRecord& probe, size_t& index) {
    platform::CriticalSectionLock guard(lock_);
    const HidIdRecord* row = FindTableRow(probe, true);
    if (row == nullptr)
        return false;
    probe.deviceKind = row->deviceKind;
    probe.subKind = row->subKind;
    for (size_t i = 0; i < records_.size(); ++i) {
        HidIdRecord& record = records_[i];
        if (record.IsClaimed() || !SameLocation(record, probe) || !SameUsage(record, probe)) {
            continue;
        }
        record.connected = 1;
        record.devicePath = probe.devicePath;
        index = i;
        return true;
    }
    return false;
}

bool HidLiveList::AllHidRecordsClaimed() const {
    platform::CriticalSectionLock guard(lock_);
    for (const HidIdRecord& record : records_) {
        if (!record.IsClaimed())
            return false;
    }
    return true;
}

std::vector<size_t> HidLiveList::ConnectedIndexes() const {
    platform::CriticalSectionLock guard(lock_);
    std::vector<size_t> indexes;
    for (size_t i = 0; i < records_.size(); ++i) {
        if (records_[i].connected != 0)
            indexes.push_back(i);
    }
    return indexes;
}

bool HidLiveList::Release(size_t index) {
    platform::CriticalSectionLock guard(lock_);
    if (index >= records_.size())
        return false;
    records_[index].connected = 0;
    records_[index].devicePath.Empty();
    return true;
}
