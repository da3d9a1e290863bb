#pragma once
// Desktop input as the window messages a toolkit window handles: mouse moves, presses,
// releases, double clicks and the wheel in client coordinates, keys and typed characters;
// the pointer coming over a window and leaving it (WM_MOUSEHOVER, WM_MOUSELEAVE).
// The paint manager turns them into control events and notifications exactly as it does
// for the messages tests send; a disabled window (the owner of a modal one) gets none.

#include <SDL.h>

#include "platform/win_types.h"

namespace DuiLib::sdl {

class SdlRenderBackend;

class InputRouter {
  public:
    explicit InputRouter(SdlRenderBackend& backend) : m_backend(backend) {}
    void Route(const SDL_Event& event);

  private:
    void RouteWindowEvent(const SDL_WindowEvent& event);
    void RouteMouseButton(const SDL_MouseButtonEvent& event, bool down);
    void RouteKey(const SDL_KeyboardEvent& event, bool down);
    void RouteText(const SDL_TextInputEvent& event);
    void TellDesktopPointer(HWND hwnd) const;
    // The window an event names, if it takes input.
    HWND TargetOf(Uint32 windowId, bool forInput) const;

    SdlRenderBackend& m_backend;
    POINT m_lastMouse{};
    WPARAM m_buttons = 0;
};

}  // namespace DuiLib::sdl
