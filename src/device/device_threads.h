#pragma once
// The worker-thread scheme of every device: a light thread that runs the current mode's
// effect step at the pace of the coarse tick, and an input thread that reads the device's
// second interface. Threads stop cooperatively: the stop event is set, a pending read is
// cancelled, and the thread is joined; nothing is ever killed.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/light_ticks.h"
#include "platform/event.h"
#include "platform/worker_thread.h"

namespace device {

inline constexpr wchar_t kKeyboardLightThreadExitText[] = L"KB灯光线程设定退出";
inline constexpr wchar_t kLightThreadExitText[] = L"MS灯光线程设定退出";
inline constexpr wchar_t kInputThreadExitText[] = L"MS设备同步线程设定退出";
inline constexpr wchar_t kThreadEndedText[] = L"线程退出：：对象处于激发状态\n";
inline constexpr wchar_t kThreadTimedOutText[] = L"线程退出：：对象处于非激发状态，超时\n";
inline constexpr uint32_t kThreadStopTimeoutMs = 1000;

// One worker thread of a device. The stop event exists only between Start and Stop.
class DeviceThread {
  public:
    using Body = std::function<void(platform::Event& stop)>;

    // `role` (a literal) names the thread: see platform::WorkerThread.
    explicit DeviceThread(const char* role) : role_(role) {}
    ~DeviceThread() { Stop(); }
    DeviceThread(const DeviceThread&) = delete;
    DeviceThread& operator=(const DeviceThread&) = delete;

    // Stops a running thread first, then runs `body`; `exitText` is traced when the body
    // returns.
    void Start(Body body, std::wstring exitText);
    // Sets the stop event, runs `cancel` to wake a pending read, and joins. Traces whether
    // the thread ended within the time-out; a late thread is still waited for.
    void Stop(const std::function<void()>& cancel = {});
    bool IsStarted() const { return worker_ != nullptr; }

  private:
    const char* role_;
    std::unique_ptr<platform::WorkerThread> worker_;
};

// What the light thread asks its device on each pass.
struct LightLoopHooks {
    std::function<bool()> channelOpen;
    // The light synchronisation drives the LEDs while this is set.
    std::function<bool()> lightSyncActive;
    // Coarse ticks between two steps of the current mode at its speed; negative for a mode
    // without a timed step. A step needs at least one counted tick since the last.
    std::function<int()> stepTicks;
    // `now`: the tick the step belongs to (the flash effects time their toggles by it).
    std::function<void(uint32_t now)> runStep;
    // Optional: work of every pass (custom and overlay layers of the derived classes).
    std::function<void(uint32_t now)> everyPass;
    // Optional: true while no step may run now (a command exchange under way): a pass
    // counts its tick and leaves its work to the next pass; a catch-up leaves the ticks for
    // the next one, which steps them at their own ticks.
    std::function<bool()> stepsHeld;
    // Optional: true while `everyPass` counts passes (its pace is 1 ms passes); otherwise
    // the loop sleeps until the next coarse tick, the only moment a step can be due.
    std::function<bool()> passTimed;
    // Optional: true while nothing but a reader of the colours needs the steps (a device
    // that receives no frame of them): the loop then sleeps, and the readers count the
    // ticks (LightTicks::CatchUp) before they look or change what the steps read.
    std::function<bool()> onDemand;
    // Optional: told when moments went uncounted while the light synchronisation drew
    // over the LEDs.
    std::function<void()> syncDrew;
    // Nonzero: the loop's moments are passes at this fixed pace of the monotonic
    // millisecond clock, counted from the loop's start, instead of the coarse ticks.
    uint32_t passMs = 0;
    // How long a pass waits while the channel is closed.
    uint32_t idleWaitMs = 100;
};
struct InputLoopHooks {
    std::function<bool()> channelOpen;
    // Blocks until a report arrives or the read is cancelled; false when none was read.
    std::function<bool(std::vector<uint8_t>& report)> readReport;
    std::function<void(const std::vector<uint8_t>& report)> onReport;
};

// The loops run until the stop event is set and end at once when it is. The light loop
// waits on it until the next coarse tick (1 ms while its pass work is pass-timed), or
// while its work is on demand for a second at most or until `wake` is set; the input loop
// blocks in its read.
void RunLightLoop(platform::Event& stop, const LightLoopHooks& hooks);
// The same with the device's own count, which its readers catch up; `ticks` was started
// with `hooks`.
void RunLightLoop(platform::Event& stop, platform::Event& wake, const LightLoopHooks& hooks,
                  LightTicks& ticks);
void RunInputLoop(platform::Event& stop, const InputLoopHooks& hooks);

}  // namespace device
