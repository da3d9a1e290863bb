#include "platform/window_messages.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwctype>
#include <map>
#include <mutex>
#include <string>

#include "platform/no_destructor.h"
#include "platform/peer_windows.h"
#include "platform/pumping_wait.h"
#include "platform/thread_descriptor_watch.h"
#include "platform/window_registry.h"

namespace platform {
namespace {

using detail::FindEntry;
using detail::SendRequest;
using detail::SteadyTime;
using detail::ThreadQueue;
using detail::WindowEntry;
using Clock = std::chrono::steady_clock;

struct RegisteredMessages {
    std::mutex mutex;
    std::map<std::wstring, UINT> ids;
    UINT next = kFirstRegisteredMessage;
};

RegisteredMessages& Registered() {
    static NoDestructor<RegisteredMessages> registered;
    return *registered;
}

DWORD MessageTime() {
    using namespace std::chrono;
    return static_cast<DWORD>(duration_cast<milliseconds>(Clock::now().time_since_epoch()).count());
}

// Copies the bytes the sender's COPYDATASTRUCT points to into the request.
void CaptureCopyData(SendRequest& request) {
    request.isCopyData = true;
    const auto* source = reinterpret_cast<const COPYDATASTRUCT*>(request.lParam);
    request.lParam = 0;
    if (source == nullptr) {
        return;
    }
    request.copyKind = source->dwData;
    if (source->lpData != nullptr && source->cbData > 0) {
        const auto* bytes = static_cast<const uint8_t*>(source->lpData);
        request.copyBytes.assign(bytes, bytes + source->cbData);
    }
}

LRESULT CallProc(const std::shared_ptr<WindowEntry>& entry, UINT message, WPARAM wParam,
                 LPARAM lParam) {
    if (!entry->proc) {
        return 0;
    }
    const HWND hwnd = detail::ToHandle(entry->id);
    if (message == WM_CLOSE) {
        MarkWindowClosing(hwnd);
    }
    return entry->proc(hwnd, message, wParam, lParam);
}

LRESULT Deliver(const std::shared_ptr<WindowEntry>& entry, SendRequest& request) {
    if (!request.isCopyData) {
        return CallProc(entry, request.message, request.wParam, request.lParam);
    }
    COPYDATASTRUCT copy;
    copy.dwData = request.copyKind;
    copy.cbData = static_cast<DWORD>(request.copyBytes.size());
    copy.lpData = request.copyBytes.empty() ? nullptr : request.copyBytes.data();
    return CallProc(entry, request.message, request.wParam, reinterpret_cast<LPARAM>(&copy));
}

void HandleSend(const std::shared_ptr<SendRequest>& request) {
    auto entry = FindEntry(request->hwnd);
    detail::CompleteSend(*request, (entry && !entry->closing) ? Deliver(entry, *request) : 0);
}

std::shared_ptr<SendRequest> TakeSend(ThreadQueue& queue) {
    std::lock_guard lock(queue.mutex);
    if (queue.sends.empty()) {
        return nullptr;
    }
    auto request = queue.sends.front();
    queue.sends.pop_front();
    return request;
}

// Called with the queue locked: the next message in the order the loop takes them, posted
// messages first, then the quit request, then a due timer. A quit ranks above timers so
// that a timer whose handler outlasts its interval (always due again) cannot hold the
// loop's end off for ever. Sets `quit` when the message is WM_QUIT.
bool TakeReadyLocked(ThreadQueue& queue, MSG* msg, bool remove, SteadyTime now, bool* quit) {
    *quit = false;
    if (!queue.posted.empty()) {
        const detail::PostedMessage& next = queue.posted.front();
        *msg = MSG{next.hwnd, next.message, next.wParam, next.lParam, MessageTime()};
        if (remove) {
            queue.posted.pop_front();
        }
        return true;
    }
    if (queue.quit) {
        *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0, MessageTime()};
        queue.quit = !remove;
        *quit = true;
        return true;
    }
    auto due = std::min_element(queue.timers.begin(), queue.timers.end(),
                                [](const auto& a, const auto& b) { return a.due < b.due; });
    if (due != queue.timers.end() && due->due <= now) {
        *msg = MSG{due->hwnd, WM_TIMER, due->id, 0, MessageTime()};
        if (remove) {
            due->due = now + due->interval;
        }
        return true;
    }
    return false;
}

SteadyTime NextTimerDueLocked(const ThreadQueue& queue) {
    SteadyTime next = SteadyTime::max();
    for (const auto& timer : queue.timers) {
        next = std::min(next, timer.due);
    }
    return next;
}

std::shared_ptr<SendRequest> MakeRequest(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto request = std::make_shared<SendRequest>();
    request->hwnd = hwnd;
    request->message = message;
    request->wParam = wParam;
    request->lParam = lParam;
    if (message == WM_COPYDATA) {
        CaptureCopyData(*request);
    }
    return request;
}

// Hands the request to the window's thread; false when the window is closing. A window
// that starts closing after the check releases the request itself.
bool QueueSend(const std::shared_ptr<WindowEntry>& entry,
               const std::shared_ptr<SendRequest>& request) {
    ThreadQueue& target = *entry->queue;
    {
        std::lock_guard lock(target.mutex);
        if (entry->closing) {
            return false;
        }
        target.sends.push_back(request);
    }
    target.Wake();
    target.sendArrived.Set();
    return true;
}

LRESULT SendAcrossThreads(const std::shared_ptr<WindowEntry>& entry,
                          const std::shared_ptr<SendRequest>& request) {
    if (!QueueSend(entry, request)) {
        return 0;
    }
    WaitPumpingSends(request->done, kInfinite);
    return request->result;
}

}  // namespace

UINT RegisterWindowMessage(std::wstring_view name) {
    if (name.empty()) {
        return 0;
    }
    std::wstring key(name);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    RegisteredMessages& registered = Registered();
    std::lock_guard lock(registered.mutex);
    auto it = registered.ids.find(key);
    if (it != registered.ids.end()) {
        return it->second;
    }
    if (registered.next > 0xFFFF) {
        return 0;
    }
    const UINT id = registered.next++;
    registered.ids.emplace(std::move(key), id);
    return id;
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return PostMessageBounded(hwnd, message, wParam, lParam, SIZE_MAX);
}

BOOL PostMessageBounded(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, size_t limit) {
    if (message == WM_COPYDATA) {
        return FALSE;
    }
    auto entry = FindEntry(hwnd);
    if (!entry) {
        return FALSE;
    }
    {
        std::lock_guard lock(entry->queue->mutex);
        const auto& posted = entry->queue->posted;
        if (limit != SIZE_MAX &&
            static_cast<size_t>(std::count_if(posted.begin(), posted.end(), [&](const auto& m) {
                return m.hwnd == hwnd && m.message == message;
            })) >= limit) {
            return FALSE;
        }
        entry->queue->posted.push_back({hwnd, message, wParam, lParam});
    }
    entry->queue->Wake();
    return TRUE;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto entry = FindEntry(hwnd);
    if (!entry) {
        LRESULT result = 0;
        detail::SendToPeerWindow(hwnd, message, wParam, lParam, &result);
        return result;
    }
    auto request = MakeRequest(hwnd, message, wParam, lParam);
    if (entry->queue->owner == std::this_thread::get_id()) {
        return Deliver(entry, *request);
    }
    return SendAcrossThreads(entry, request);
}

BOOL SendMessageCallback(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                         std::function<void(LRESULT)> done) {
    auto entry = FindEntry(hwnd);
    if (!entry || entry->closing) {
        return FALSE;
    }
    auto request = MakeRequest(hwnd, message, wParam, lParam);
    request->completion = std::move(done);
    if (entry->queue->owner == std::this_thread::get_id()) {
        detail::CompleteSend(*request, Deliver(entry, *request));
        return TRUE;
    }
    return QueueSend(entry, request) ? TRUE : FALSE;
}

BOOL GetMessage(MSG* msg) {
    auto queue = detail::CurrentThreadQueue();
    for (;;) {
        PumpPendingSends();
        std::unique_lock lock(queue->mutex);
        if (!queue->sends.empty()) {
            continue;
        }
        bool quit = false;
        if (TakeReadyLocked(*queue, msg, true, Clock::now(), &quit)) {
            return quit ? FALSE : TRUE;
        }
        // Every change to the queue (posts, sends, timers, quit) is made under the lock and
        // notifies, so a plain wait misses nothing; the loop above re-reads the state.
        const SteadyTime next = NextTimerDueLocked(*queue);
        if (queue->watch.armed) {
            lock.unlock();
            detail::WaitWatching(*queue, next);
        } else if (next == SteadyTime::max()) {
            queue->wake.wait(lock);
        } else {
            queue->wake.wait_until(lock, next);
        }
    }
}

BOOL PeekMessage(MSG* msg, UINT removeFlag) {
    PumpPendingSends();
    auto queue = detail::CurrentThreadQueue();
    std::lock_guard lock(queue->mutex);
    bool quit = false;
    return TakeReadyLocked(*queue, msg, (removeFlag & PM_REMOVE) != 0, Clock::now(), &quit) ? TRUE
                                                                                            : FALSE;
}

BOOL TranslateMessage(const MSG* /*msg*/) {
    return FALSE;
}

LRESULT DispatchMessage(const MSG* msg) {
    if (msg == nullptr) {
        return 0;
    }
    auto entry = FindEntry(msg->hwnd);
    if (!entry) {
        return 0;
    }
    return CallProc(entry, msg->message, msg->wParam, msg->lParam);
}

void PostQuitMessage(int exitCode) {
    auto queue = detail::CurrentThreadQueue();
    {
        std::lock_guard lock(queue->mutex);
        queue->quit = true;
        queue->quitCode = exitCode;
    }
    queue->Wake();
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms) {
    auto entry = FindEntry(hwnd);
    if (!entry || id == 0) {
        return 0;
    }
    const auto interval = std::chrono::milliseconds(std::max<UINT>(ms, 1));
    {
        std::lock_guard lock(entry->queue->mutex);
        auto& timers = entry->queue->timers;
        auto it = std::find_if(timers.begin(), timers.end(),
                               [&](const auto& t) { return t.hwnd == hwnd && t.id == id; });
        const detail::TimerEntry timer{hwnd, id, interval, Clock::now() + interval};
        if (it == timers.end()) {
            timers.push_back(timer);
        } else {
            *it = timer;
        }
    }
    entry->queue->Wake();
    return id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    auto entry = FindEntry(hwnd);
    if (!entry) {
        return FALSE;
    }
    std::lock_guard lock(entry->queue->mutex);
    auto& timers = entry->queue->timers;
    auto it = std::find_if(timers.begin(), timers.end(),
                           [&](const auto& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == timers.end()) {
        return FALSE;
    }
    timers.erase(it);
    return TRUE;
}

int PumpPendingSends() {
    auto queue = detail::CurrentThreadQueue();
    int handled = 0;
    while (auto request = TakeSend(*queue)) {
        HandleSend(request);
        ++handled;
    }
    return handled;
}

void MarkWindowClosing(HWND hwnd) {
    auto entry = FindEntry(hwnd);
    if (!entry || entry->closing.exchange(true)) {
        return;
    }
    detail::ReleaseWindowMessages(entry);
}

bool IsWindowClosing(HWND hwnd) {
    auto entry = FindEntry(hwnd);
    return !entry || entry->closing;
}

}  // namespace platform
