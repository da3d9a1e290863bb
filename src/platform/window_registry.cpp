#include "platform/window_registry.h"

#include <algorithm>
#include <map>

#include "platform/no_destructor.h"

namespace platform::detail {
namespace {

// The process window table: handles are small ids, never reused while the process runs,
// so a stale handle can only miss.
struct WindowTable {
    std::mutex mutex;
    std::map<uintptr_t, std::shared_ptr<WindowEntry>> entries;
    uintptr_t nextId = 0x10;
};

WindowTable& Table() {
    static NoDestructor<WindowTable> table;
    return *table;
}

}  // namespace

std::shared_ptr<ThreadQueue> CurrentThreadQueue() {
    thread_local std::shared_ptr<ThreadQueue> queue = [] {
        auto created = std::make_shared<ThreadQueue>();
        created->owner = std::this_thread::get_id();
        return created;
    }();
    return queue;
}

std::shared_ptr<WindowEntry> FindEntry(HWND hwnd) {
    if (hwnd == nullptr) {
        return nullptr;
    }
    WindowTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.entries.find(reinterpret_cast<uintptr_t>(hwnd));
    return it == table.entries.end() ? nullptr : it->second;
}

void AddEntry(const std::shared_ptr<WindowEntry>& entry) {
    WindowTable& table = Table();
    std::lock_guard lock(table.mutex);
    table.entries[entry->id] = entry;
}

void RemoveEntry(HWND hwnd) {
    WindowTable& table = Table();
    std::lock_guard lock(table.mutex);
    table.entries.erase(reinterpret_cast<uintptr_t>(hwnd));
}

std::vector<std::shared_ptr<WindowEntry>> AllEntries() {
    WindowTable& table = Table();
    std::lock_guard lock(table.mutex);
    std::vector<std::shared_ptr<WindowEntry>> all;
    all.reserve(table.entries.size());
    for (const auto& [id, entry] : table.entries) {
        all.push_back(entry);
    }
    return all;
}

uintptr_t NextWindowId() {
    WindowTable& table = Table();
    std::lock_guard lock(table.mutex);
    return table.nextId++;
}

void CompleteSend(SendRequest& request, LRESULT result) {
    request.result = result;
    request.done.Set();
    if (request.completion) {
        request.completion(result);
    }
}

void ReleaseWindowMessages(const std::shared_ptr<WindowEntry>& entry) {
    const HWND hwnd = ToHandle(entry->id);
    std::vector<std::shared_ptr<SendRequest>> released;
    {
        std::lock_guard lock(entry->queue->mutex);
        auto& sends = entry->queue->sends;
        for (auto it = sends.begin(); it != sends.end();) {
            if ((*it)->hwnd == hwnd) {
                released.push_back(*it);
                it = sends.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (const auto& request : released) {
        CompleteSend(*request, 0);
    }
}

}  // namespace platform::detail
