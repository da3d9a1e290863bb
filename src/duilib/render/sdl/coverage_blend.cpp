#include "duilib/render/sdl/coverage_blend.h"

#include <cstring>

#include "duilib/render/sdl/pixel_blend.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace DuiLib::sdl {
namespace {

using blend::Div255;
using blend::Mix;

// One pixel as DrawPixels lays it: clear stays as it was, else the colour over it at the
// image's coverage `alpha` (scaled by the placement's fade), opaque.
inline uint32_t LayOne(uint32_t under, uint32_t alpha, uint32_t rgb, uint32_t fade) {
    const uint32_t coverage = Div255(alpha * fade);
    return coverage == 0 ? under : 0xFF000000u | Mix(under, rgb, coverage);
}

#if defined(__SSE2__)
// Div255 in each 16-bit lane (every lane at most 255 * 255: nothing overflows).
inline __m128i Div255x8(__m128i v) {
    v = _mm_add_epi16(v, _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(v, _mm_srli_epi16(v, 8)), 8);
}

// Four pixels: under `to`, each pixel's coverage in the low byte of its 32-bit lane of
// `alpha` (the rest zero).
inline __m128i LayFour(__m128i under, __m128i alpha, __m128i rgb16, __m128i fade16, bool faded) {
    const __m128i zero = _mm_setzero_si128();
    // Each pixel's alpha in all four of its bytes, then widened to 16-bit lanes.
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

// The alphas of four ARGB pixels, each in the low byte of its lane.
inline __m128i AlphasOf(const uint32_t* pixels) {
    return _mm_srli_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels)), 24);
}

// Four coverage bytes, each in the low byte of its lane.
inline __m128i AlphasOf(const uint8_t* coverage) {
    int four = 0;
    std::memcpy(&four, coverage, sizeof four);
    const __m128i zero = _mm_setzero_si128();
    return _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(four), zero), zero);
}
#endif

inline uint32_t AlphaOf(uint32_t pixel) {
    return pixel >> 24;
}

inline uint32_t AlphaOf(uint8_t coverage) {
    return coverage;
}

// `rowOf(y)` gives the source's row y: ARGB pixels or coverage bytes.
template <class RowOf>
void LayRows(SDL_Surface* target, int width, int height, uint32_t rgb,
             const RunPlacement& placement, RowOf rowOf) {
    const POINT o = placement.origin;
    const RECT area = blend::Reach(target, width, height, placement);
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
        const auto* from = rowOf(static_cast<int>(y - o.y)) + (area.left - o.x);
        const LONG count = area.right - area.left;
        LONG x = 0;
#if defined(__SSE2__)
        for (; x + 4 <= count; x += 4) {
            const __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + x));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x),
                             LayFour(under, AlphasOf(from + x), rgb16, fade16, faded));
        }
#endif
        for (; x < count; ++x) {
            to[x] = LayOne(to[x], AlphaOf(from[x]), rgb, fade);
        }
    }
}

}  // namespace

void DrawCoverage(SDL_Surface* target, const SDL_Surface* image, uint32_t rgb,
                  const RunPlacement& placement) {
    LayRows(target, image->w, image->h, rgb, placement,
            [image](int y) { return blend::RowOf(image, y); });
}

std::unique_ptr<Coverage> Coverage::Of(const SDL_Surface* image, const PixelRuns& runs) {
    uint32_t rgb = 0;
    if (image == nullptr || image->format->format != SDL_PIXELFORMAT_ARGB8888 ||
        image->w != runs.Width() || image->h != runs.Height() || !runs.IsCoverage(&rgb)) {
        return nullptr;
    }
    std::unique_ptr<Coverage> coverage(new Coverage(image->w, image->h, rgb));
    coverage->m_alpha.resize(static_cast<size_t>(image->w) * static_cast<size_t>(image->h));
    for (int y = 0; y < image->h; ++y) {
        const uint32_t* row = blend::RowOf(image, y);
        uint8_t* to = coverage->m_alpha.data() + static_cast<size_t>(y) * image->w;
        for (int x = 0; x < image->w; ++x) {
            to[x] = static_cast<uint8_t>(row[x] >> 24);
        }
    }
    return coverage;
}

void DrawCoverage(SDL_Surface* target, const Coverage& coverage, const RunPlacement& placement) {
    LayRows(target, coverage.Width(), coverage.Height(), coverage.Rgb(), placement,
            [&coverage](int y) { return coverage.Row(y); });
}

}  // namespace DuiLib::sdl
