#pragma once
// What the renderer's tests share: SDL's text and image parts started for the test
// program, the SDL backend installed for one test, messages pumped until the queue is
// idle, pixel comparison, and the check of a drawn window against its reference image.

#include <SDL.h>

#include <string>
#include <utility>

#include "duilib/paint_manager.h"
#include "duilib/render/sdl/sdl_render_backend.h"
#include "duilib/window_impl_base.h"

namespace render_test {

// Starts TTF and PNG support (and, when `video`, SDL's off-screen video driver).
class SdlLibraries {
  public:
    explicit SdlLibraries(bool video = false);
    ~SdlLibraries();
    SdlLibraries(const SdlLibraries&) = delete;
    SdlLibraries& operator=(const SdlLibraries&) = delete;
    bool HasVideo() const { return m_video; }

  private:
    bool m_video = false;
};

// Installs `backend` as the paint managers' renderer for its lifetime.
class ScopedBackend {
  public:
    explicit ScopedBackend(DuiLib::IRenderBackend* backend);
    ~ScopedBackend();
    ScopedBackend(const ScopedBackend&) = delete;
    ScopedBackend& operator=(const ScopedBackend&) = delete;

  private:
    DuiLib::IRenderBackend* m_previous;
};

// A window built from the layout file `file`.
class LayoutFileWindow : public DuiLib::WindowImplBase {
  public:
    explicit LayoutFileWindow(std::wstring file) : m_file(std::move(file)) {}

  protected:
    DuiLib::CDuiString GetSkinFile() override { return m_file.c_str(); }
    LPCTSTR GetWindowClassName() const override { return L"RenderLayoutFileWnd"; }

  private:
    std::wstring m_file;
};

// Dispatches posted messages of this thread until none is left.
void PumpUntilIdle();

uint32_t PixelAt(SDL_Surface* surface, int x, int y);

struct ImageDifference {
    bool sameSize = false;
    double differingShare = 1.0;  // share of pixels off by more than the tolerance
};
ImageDifference Compare(SDL_Surface* a, SDL_Surface* b, int channelTolerance);

// Checks what `backend` drew for `manager` against the PNG `reference` (fewer than 1% of
// pixels off by more than 40 in a channel), or rewrites the reference when
// VELKARO_UPDATE_REFERENCE=1. Font rasterisers of other versions move a few edge pixels; a
// layout, image or colour fault changes far more than this.
void ExpectMatchesReference(DuiLib::sdl::SdlRenderBackend& backend,
                            DuiLib::CPaintManagerUI& manager, const std::string& reference);

}  // namespace render_test
