#pragma once
// A 32-bit image kept as runs of equal pixels, row by row, and laid onto a surface from
// them. Skin images are a few flat colours with soft edges: drawn from its runs, an opaque
// run is one fill and a clear one is skipped, so only the edge pixels are blended one by
// one. An LED's tint can be laid over the image in the same pass.

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/win_types.h"

namespace DuiLib::sdl {

class PixelRuns {
  public:
    // More colours than this and an image is no longer flat.
    static constexpr size_t kMaxColours = 256;

    struct Run {
        uint16_t x = 0;
        uint16_t length = 0;
        uint8_t colour = 0;  // index into Colours()
    };

    // One of the image's colours as a draw lays it: how much of the image and of the tint
    // cover the pixel beneath, the result where the image hides it, and the last pixel it
    // was laid on with what that became (a text's edges lie mostly on one colour, a key's
    // face).
    struct LaidColour {
        bool known = false;  // worked out for the fade and tint kept
        uint8_t image = 0;
        uint8_t tint = 0;
        uint32_t solid = 0;
        bool laidOnce = false;
        uint32_t lastUnder = 0;
        uint32_t lastResult = 0;
    };

    // The runs of an ARGB8888 surface; null when it has too many colours to be flat
    // (gradients, photographs) or is of another format.
    static std::unique_ptr<PixelRuns> Of(const SDL_Surface* image);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    std::span<const Run> Row(int y) const;
    // Whether row y (above 0) has the runs of the row above it and hides whatever lies
    // beneath it: drawn under the same placement, it comes out as that row did.
    bool RepeatsRowAbove(int y) const { return m_repeats[static_cast<size_t>(y)] != 0; }
    // The image's colours (ARGB), as its runs name them.
    std::span<const uint32_t> Colours() const { return m_colours; }
    // Whether the image is one colour (`*rgb`) at several alphas laid in short runs, as a
    // text's coverage is: laid faster pixel by pixel, four at a time (DrawCoverage).
    bool IsCoverage(uint32_t* rgb) const;
    // Whether every pixel of `rc` (within the image) is opaque.
    bool IsOpaqueOver(const RECT& rc) const;
    // The colours as a draw with this fade and tint lays them, each worked out when first
    // needed (LaidColour::known): kept from one draw to the next while the fade and tint
    // stay, as they do for a text drawn frame after frame. The UI thread's alone.
    std::span<LaidColour> LaidColours(uint8_t alpha, uint32_t tintRgb, uint8_t tintAlpha) const;

  private:
    PixelRuns(int width, int height) : m_width(width), m_height(height) {}
    // The index of `argb` among the colours, added when new; -1 when there are too many.
    int ColourIndex(uint32_t argb);
    void FindRepeatedRows();

    int m_width;
    int m_height;
    std::vector<Run> m_runs;
    std::vector<uint32_t> m_rowStarts;  // Height() + 1 entries into m_runs
    std::vector<uint8_t> m_repeats;     // Height() entries
    std::vector<uint32_t> m_colours;
    // Set by Of: IsCoverage's answer.
    bool m_coverage = false;
    mutable std::vector<LaidColour> m_laid;
    mutable uint32_t m_laidTint = 0;  // the tint's colour and, above it, its alpha
    mutable uint8_t m_laidAlpha = 0;
};

// How runs are laid onto a target: the image's pixel (0, 0) lands on `origin`, and only
// `area` (within the target) is touched.
struct RunPlacement {
    POINT origin{};
    RECT area{};
    // The image's own fade.
    uint8_t alpha = 255;
    // A colour (0xRRGGBB) laid over the image through the image's own alpha at
    // `tintAlpha`, as an LED's tint lies on its key; none at 0.
    uint32_t tintRgb = 0;
    uint8_t tintAlpha = 0;
};

// Blends the runs into `target` (ARGB8888, writable): each pixel becomes the image over
// it, then the tint over that. The target stays opaque.
void DrawRuns(SDL_Surface* target, const PixelRuns& runs, const RunPlacement& placement);
// The same for an ARGB8888 image that is not kept as runs, pixel by pixel.
void DrawPixels(SDL_Surface* target, const SDL_Surface* image, const RunPlacement& placement);

}  // namespace DuiLib::sdl
