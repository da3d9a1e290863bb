#include "render_test_support.h"

#include <SDL_image.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/window_messages.h"

namespace render_test {

SdlLibraries::SdlLibraries(bool video) {
    TTF_Init();
    IMG_Init(IMG_INIT_PNG);
    if (video) {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        m_video = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }
}

SdlLibraries::~SdlLibraries() {
    if (m_video) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    IMG_Quit();
    TTF_Quit();
    SDL_Quit();
}

ScopedBackend::ScopedBackend(DuiLib::IRenderBackend* backend)
    : m_previous(DuiLib::CPaintManagerUI::GetRenderBackend()) {
    DuiLib::CPaintManagerUI::SetRenderBackend(backend);
}

ScopedBackend::~ScopedBackend() {
    DuiLib::CPaintManagerUI::SetRenderBackend(m_previous);
}

void PumpUntilIdle() {
    MSG msg;
    for (int i = 0; i < 10000 && platform::PeekMessage(&msg, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) {
            return;
        }
        if (!DuiLib::CPaintManagerUI::TranslateMessage(&msg)) {
            platform::DispatchMessage(&msg);
        }
    }
}

uint32_t PixelAt(SDL_Surface* surface, int x, int y) {
    const auto* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
    return reinterpret_cast<const uint32_t*>(row)[x];
}

ImageDifference Compare(SDL_Surface* a, SDL_Surface* b, int channelTolerance) {
    ImageDifference result;
    if (a == nullptr || b == nullptr || a->w != b->w || a->h != b->h) {
        return result;
    }
    result.sameSize = true;
    long long differing = 0;
    for (int y = 0; y < a->h; ++y) {
        for (int x = 0; x < a->w; ++x) {
            const uint32_t pa = PixelAt(a, x, y);
            const uint32_t pb = PixelAt(b, x, y);
            for (int shift = 0; shift < 32; shift += 8) {
                if (std::abs(static_cast<int>((pa >> shift) & 0xFF) -
                             static_cast<int>((pb >> shift) & 0xFF)) > channelTolerance) {
                    ++differing;
                    break;
                }
            }
        }
    }
    result.differingShare = static_cast<double>(differing) / (static_cast<double>(a->w) * a->h);
    return result;
}

void ExpectMatchesReference(DuiLib::sdl::SdlRenderBackend& backend,
                            DuiLib::CPaintManagerUI& manager, const std::string& reference) {
    SDL_Surface* pixels = backend.PixelsOf(manager);
    ASSERT_NE(pixels, nullptr);
    const char* update = std::getenv("VELKARO_UPDATE_REFERENCE");
    if (update != nullptr && std::string(update) == "1") {
        ASSERT_TRUE(backend.SavePng(manager, reference));
        return;
    }
    DuiLib::sdl::SurfacePtr loaded{IMG_Load(reference.c_str())};
    ASSERT_NE(loaded, nullptr) << "missing reference " << reference;
    DuiLib::sdl::SurfacePtr expected{
        SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0)};
    const auto difference = Compare(pixels, expected.get(), 40);
    ASSERT_TRUE(difference.sameSize);
    EXPECT_LT(difference.differingShare, 0.01) << "differing share " << difference.differingShare;
}

}  // namespace render_test
