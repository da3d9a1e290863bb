#include "duilib/render/sdl/screenshot_writer.h"

#include "duilib/paint_manager.h"
#include "duilib/render/sdl/render_pump_messages.h"
#include "duilib/render/sdl/sdl_render_backend.h"
#include "duilib/render/tray_stand_in.h"
#include "platform/debug_trace.h"
#include "platform/text_convert.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"

namespace DuiLib::sdl {

ScreenshotWriter::ScreenshotWriter(SdlRenderBackend& backend, HWND pump, std::string file,
                                   int delayMs)
    : m_backend(backend), m_pump(pump), m_file(std::move(file)), m_delayMs(delayMs) {}

CPaintManagerUI* ScreenshotWriter::Target() const {
    for (CPaintManagerUI* manager : CPaintManagerUI::GetPaintManagers()) {
        if (m_target != nullptr && manager->GetPaintWindow() == m_target) {
            return manager;
        }
    }
    return nullptr;
}

void ScreenshotWriter::WindowPainted(CPaintManagerUI& manager) {
    const HWND hwnd = manager.GetPaintWindow();
    if (m_firstWritten || hwnd == nullptr || manager.GetRoot() == nullptr) {
        return;
    }
    if (m_target == nullptr && platform::GetWindowOwner(hwnd) == nullptr &&
        platform::GetWindowClassName(hwnd) != kTrayStandInClass) {
        m_target = hwnd;
    }
    if (hwnd == m_target && !m_settlePosted) {
        m_settlePosted = platform::PostMessage(m_pump, PumpMessage(), kPumpScreenshot, 0) != FALSE;
    }
}

void ScreenshotWriter::OnSettled() {
    m_settlePosted = false;
    CPaintManagerUI* manager = Target();
    if (manager == nullptr || m_firstWritten) {
        return;
    }
    // Messages handled meanwhile may have asked for another paint: wait for it.
    if (manager->IsUpdateNeeded()) {
        return;
    }
    Write();
    m_firstWritten = true;
    if (m_delayMs > 0) {
        platform::SetTimer(m_pump, kTimerId, static_cast<UINT>(m_delayMs));
    }
}

void ScreenshotWriter::OnTimer() {
    platform::KillTimer(m_pump, kTimerId);
    if (Target() != nullptr) {
        // What the window shows now, painted at once rather than when the queue gets to it.
        platform::SendMessage(m_target, WM_PAINT, 0, 0);
        Write();
    }
}

void ScreenshotWriter::Write() {
    CPaintManagerUI* manager = Target();
    if (manager == nullptr || !m_backend.SavePng(*manager, m_file)) {
        platform::DebugTrace(L"screenshot not written: " + platform::Utf8Decode(m_file) + L"\n");
    }
}

}  // namespace DuiLib::sdl
