#pragma once
// Owning handles for the SDL objects the renderer keeps.

#include <SDL.h>
#include <SDL_ttf.h>

#include <memory>

namespace DuiLib::sdl {

struct SdlDeleter {
    void operator()(SDL_Surface* p) const { SDL_FreeSurface(p); }
    void operator()(SDL_Texture* p) const { SDL_DestroyTexture(p); }
    void operator()(SDL_Renderer* p) const { SDL_DestroyRenderer(p); }
    void operator()(SDL_Window* p) const { SDL_DestroyWindow(p); }
    void operator()(TTF_Font* p) const { TTF_CloseFont(p); }
};

using SurfacePtr = std::unique_ptr<SDL_Surface, SdlDeleter>;
using TexturePtr = std::unique_ptr<SDL_Texture, SdlDeleter>;
using RendererPtr = std::unique_ptr<SDL_Renderer, SdlDeleter>;
using WindowPtr = std::unique_ptr<SDL_Window, SdlDeleter>;
using FontPtr = std::unique_ptr<TTF_Font, SdlDeleter>;

// Colours of the toolkit are 0xAARRGGBB.
inline SDL_Color ToSdlColor(uint32_t argb) {
    return SDL_Color{static_cast<Uint8>(argb >> 16), static_cast<Uint8>(argb >> 8),
                     static_cast<Uint8>(argb), static_cast<Uint8>(argb >> 24)};
}

}  // namespace DuiLib::sdl
