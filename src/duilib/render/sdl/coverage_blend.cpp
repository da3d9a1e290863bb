#include "duilib/render/sdl/coverage_blend.h"

#include "duilib/render/sdl/pixel_blend.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace DuiLib::sdl {
namespace {

using blend::Div255;
using blend::Mix;

// One pixel as DrawPixels lays it: clear stays as it was, else the colour over it at the
// image's coverage (scaled by the placement's fade), opaque.
inline uint32_t LayOne(uint32_t under, uint32_t image, uint32_t rgb, uint32_t fade) {
    const uint32_t coverage = Div255((image >> 24) * fade);
    return coverage == 0 ? under : 0xFF000000u | Mix(under, rgb, coverage);
}

#if defined(__SSE2__)
// Div255 in each 16-bit lane (every lane at most 255 * 255: nothing overflows).
inline __m128i Div255x8(__m128i v) {
    v = _mm_add_epi16(v, _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(v, _mm_srli_epi16(v, 8)), 8);
}

// Four pixels: under `to`, the image's `from`.
inline __m128i LayFour(__m128i under, __m128i image, __m128i rgb16, __m128i fade16, bool faded) {
    const __m128i zero = _mm_setzero_si128();
    // Each pixel's alpha in all four of its bytes, then widened to 16-bit lanes.
    __m128i alpha = _mm_srli_epi32(image, 24);
    alpha = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 8));
    alpha = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 16));
    __m128i coverLo = _mm_unpacklo_epi8(alpha, zero);
    __m128i coverHi = _mm_unpackhi_epi8(alpha, zero);
    if (faded) {
        coverLo = Div255x8(_mm_mullo_epi16(coverLo, fade16));
        coverHi = Div255x8(_mm_mullo_epi16(coverHi, fade16));
    }
    const __m128i full = _mm_set1_epi16(255);
    const __m128i underLo = _mm_unpacklo_epi8(under, zero);
    const __m128i underHi = _mm_unpackhi_epi8(under, zero);
    const __m128i mixedLo = Div255x8(_mm_add_epi16(
        _mm_mullo_epi16(underLo, _mm_sub_epi16(full, coverLo)), _mm_mullo_epi16(rgb16, coverLo)));
    const __m128i mixedHi = Div255x8(_mm_add_epi16(
        _mm_mullo_epi16(underHi, _mm_sub_epi16(full, coverHi)), _mm_mullo_epi16(rgb16, coverHi)));
    const __m128i mixed = _mm_or_si128(_mm_packus_epi16(mixedLo, mixedHi),
                                       _mm_set1_epi32(static_cast<int>(0xFF000000u)));
    // A pixel the image leaves clear keeps every byte it had.
    const __m128i clear =
        _mm_packs_epi16(_mm_cmpeq_epi16(coverLo, zero), _mm_cmpeq_epi16(coverHi, zero));
    return _mm_or_si128(_mm_and_si128(clear, under), _mm_andnot_si128(clear, mixed));
}
#endif

}  // namespace

void DrawCoverage(SDL_Surface* target, const SDL_Surface* image, uint32_t rgb,
                  const RunPlacement& placement) {
    const POINT o = placement.origin;
    const RECT area = blend::Reach(target, image->w, image->h, placement);
    const uint32_t fade = placement.alpha;
#if defined(__SSE2__)
    // The colour's channels in the 16-bit lanes of two pixels (its alpha lane is not kept).
    const __m128i rgb16 =
        _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(rgb & 0x00FFFFFFu)), _mm_setzero_si128());
    const __m128i fade16 = _mm_set1_epi16(static_cast<int16_t>(fade));
    const bool faded = fade != 255;
#endif
    for (LONG y = area.top; y < area.bottom; ++y) {
        uint32_t* to = blend::TargetRow(target, y) + area.left;
        const uint32_t* from = blend::RowOf(image, static_cast<int>(y - o.y)) + (area.left - o.x);
        const LONG width = area.right - area.left;
        LONG x = 0;
#if defined(__SSE2__)
        for (; x + 4 <= width; x += 4) {
            const __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + x));
            const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x),
                             LayFour(under, pixels, rgb16, fade16, faded));
        }
#endif
        for (; x < width; ++x) {
            to[x] = LayOne(to[x], from[x], rgb, fade);
        }
    }
}

}  // namespace DuiLib::sdl
