#include "duilib/render/sdl/pixel_runs.h"

#include "duilib/render/sdl/pixel_blend.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <cwchar>
#include <limits>

namespace DuiLib::sdl {
namespace {

using blend::Div255;
using blend::Mix;
using blend::Reach;
using blend::RowOf;
using blend::TargetRow;

// From this many pixels on a run is filled by the C library (see Lay).
constexpr int kWideFillPixels = 64;
static_assert(sizeof(wchar_t) == sizeof(uint32_t));
// Runs this short on average make an image of one colour a coverage (IsCoverage).
constexpr size_t kPixelsPerCoverageRun = 4;
// A repeated row is copied when it has a run for every this many pixels or fewer.
constexpr LONG kPixelsPerRunWorthCopying = 16;

using Paint = PixelRuns::LaidColour;

Paint PaintOf(uint32_t argb, const RunPlacement& placement) {
    const uint32_t own = argb >> 24;
    Paint paint;
    paint.known = true;
    paint.image = static_cast<uint8_t>(Div255(own * placement.alpha));
    paint.tint = static_cast<uint8_t>(Div255(own * placement.tintAlpha));
    if (paint.image == 255) {
        paint.solid =
            0xFF000000u | (paint.tint != 0 ? Mix(argb, placement.tintRgb, paint.tint) : argb);
    }
    return paint;
}

// Lays `count` pixels of colour `argb` at `to`: the image over what is there, then the
// tint.
void Lay(uint32_t* to, int count, Paint& paint, uint32_t argb, uint32_t tintRgb) {
    if (paint.image == 255) {
        // What lies beneath does not show: the whole run is one colour. Short runs (a key's
        // edges) are cheaper written one by one; long ones (a panel's rows) go through the C
        // library's fill of 32-bit units, which uses the widest stores the processor has.
        if (count <= 4) {
            for (int i = 0; i < count; ++i) {
                to[i] = paint.solid;
            }
        } else if (count < kWideFillPixels) {
            std::fill(to, to + count, paint.solid);
        } else {
            std::wmemset(reinterpret_cast<wchar_t*>(to), static_cast<wchar_t>(paint.solid),
                         static_cast<size_t>(count));
        }
        return;
    }
    if (paint.image == 0 && paint.tint == 0) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        if (!paint.laidOnce || to[i] != paint.lastUnder) {
            paint.laidOnce = true;
            paint.lastUnder = to[i];
            const uint32_t image = Mix(to[i], argb, paint.image);
            paint.lastResult =
                0xFF000000u | (paint.tint != 0 ? Mix(image, tintRgb, paint.tint) : image);
        }
        to[i] = paint.lastResult;
    }
}

}  // namespace

std::unique_ptr<PixelRuns> PixelRuns::Of(const SDL_Surface* image) {
    if (image == nullptr || image->format->format != SDL_PIXELFORMAT_ARGB8888 || image->w <= 0 ||
        image->h <= 0 || image->w > std::numeric_limits<uint16_t>::max()) {
        return nullptr;
    }
    std::unique_ptr<PixelRuns> runs(new PixelRuns(image->w, image->h));
    runs->m_rowStarts.reserve(static_cast<size_t>(image->h) + 1);
    for (int y = 0; y < image->h; ++y) {
        runs->m_rowStarts.push_back(static_cast<uint32_t>(runs->m_runs.size()));
        const uint32_t* row = RowOf(image, y);
        for (int x = 0; x < image->w;) {
            int end = x + 1;
            while (end < image->w && row[end] == row[x]) {
                ++end;
            }
            // A clear run draws nothing whatever the placement: it is not kept.
            if ((row[x] >> 24) != 0) {
                const int colour = runs->ColourIndex(row[x]);
                if (colour < 0) {
                    return nullptr;
                }
                runs->m_runs.push_back(Run{static_cast<uint16_t>(x), static_cast<uint16_t>(end - x),
                                           static_cast<uint8_t>(colour)});
            }
            x = end;
        }
    }
    runs->m_rowStarts.push_back(static_cast<uint32_t>(runs->m_runs.size()));
    runs->m_runs.shrink_to_fit();
    runs->FindRepeatedRows();
    // A text: its pixels are one colour and its edges soft, a run every pixel or two.
    const std::vector<uint32_t>& colours = runs->m_colours;
    size_t laid = 0;
    for (const Run& run : runs->m_runs) {
        laid += run.length;
    }
    runs->m_coverage = !colours.empty() && laid < runs->m_runs.size() * kPixelsPerCoverageRun &&
                       std::all_of(colours.begin(), colours.end(), [&](uint32_t argb) {
                           return (argb & 0x00FFFFFFu) == (colours.front() & 0x00FFFFFFu);
                       });
    return runs;
}

bool PixelRuns::IsCoverage(uint32_t* rgb) const {
    if (m_coverage) {
        *rgb = m_colours.front() & 0x00FFFFFFu;
    }
    return m_coverage;
}

void PixelRuns::FindRepeatedRows() {
    m_repeats.assign(static_cast<size_t>(m_height), 0);
    auto same = [](const Run& a, const Run& b) {
        return a.x == b.x && a.length == b.length && a.colour == b.colour;
    };
    for (int y = 1; y < m_height; ++y) {
        const std::span<const Run> row = Row(y);
        const std::span<const Run> above = Row(y - 1);
        m_repeats[static_cast<size_t>(y)] =
            std::equal(row.begin(), row.end(), above.begin(), above.end(), same) &&
            IsOpaqueOver(RECT{0, y, m_width, y + 1});
    }
}

int PixelRuns::ColourIndex(uint32_t argb) {
    // Consecutive runs mostly repeat the colours just seen: look from the newest.
    for (size_t i = m_colours.size(); i-- > 0;) {
        if (m_colours[i] == argb) {
            return static_cast<int>(i);
        }
    }
    if (m_colours.size() >= kMaxColours) {
        return -1;
    }
    m_colours.push_back(argb);
    return static_cast<int>(m_colours.size() - 1);
}

std::span<PixelRuns::LaidColour> PixelRuns::LaidColours(uint8_t alpha, uint32_t tintRgb,
                                                        uint8_t tintAlpha) const {
    const uint32_t tint = (tintRgb & 0x00FFFFFFu) | static_cast<uint32_t>(tintAlpha) << 24;
    if (m_laid.size() != m_colours.size() || alpha != m_laidAlpha || tint != m_laidTint) {
        m_laid.assign(m_colours.size(), LaidColour{});
        m_laidAlpha = alpha;
        m_laidTint = tint;
    }
    return m_laid;
}

std::span<const PixelRuns::Run> PixelRuns::Row(int y) const {
    const uint32_t begin = m_rowStarts[static_cast<size_t>(y)];
    const uint32_t end = m_rowStarts[static_cast<size_t>(y) + 1];
    return std::span<const Run>(m_runs).subspan(begin, end - begin);
}

bool PixelRuns::IsOpaqueOver(const RECT& rc) const {
    if (rc.left < 0 || rc.top < 0 || rc.right > m_width || rc.bottom > m_height) {
        return false;
    }
    for (LONG y = rc.top; y < rc.bottom; ++y) {
        // Clear pixels have no run: the runs must meet end to end across the row.
        LONG covered = rc.left;
        for (const Run& run : Row(static_cast<int>(y))) {
            if (covered >= rc.right) {
                break;
            }
            if (run.x + run.length <= covered) {
                continue;
            }
            if (run.x > covered || (m_colours[run.colour] >> 24) != 0xFF) {
                return false;
            }
            covered = run.x + run.length;
        }
        if (covered < rc.right) {
            return false;
        }
    }
    return true;
}

void DrawRuns(SDL_Surface* target, const PixelRuns& runs, const RunPlacement& placement) {
    const RECT area = Reach(target, runs.Width(), runs.Height(), placement);
    if (area.right <= area.left || area.bottom <= area.top) {
        return;
    }
    // Each colour is worked out once, not once per run, as it is met: once per draw for a
    // key's face whose tint changes, once for all draws of a text that stays as it is.
    const std::span<const uint32_t> colours = runs.Colours();
    const std::span<Paint> paints =
        runs.LaidColours(placement.alpha, placement.tintRgb, placement.tintAlpha);
    const POINT o = placement.origin;
    // The drawn columns, in the image's own coordinates.
    const int left = static_cast<int>(area.left - o.x);
    const int right = static_cast<int>(area.right - o.x);
    const bool clipped = left > 0 || right < runs.Width();
    // A row that repeats the one above over an image drawn without a fade is a copy of
    // what that row just became: a key's face is mostly such rows. A row of a few long
    // runs (a panel's) is filled faster than it is copied.
    const LONG width = area.right - area.left;
    const bool copyRepeats = placement.alpha == 255;
    const size_t drawnBytes = static_cast<size_t>(width) * sizeof(uint32_t);
    for (LONG y = area.top; y < area.bottom; ++y) {
        uint32_t* drawn = TargetRow(target, y) + area.left;  // the image's column `left`
        const int imageRow = static_cast<int>(y - o.y);
        if (copyRepeats && y > area.top && runs.RepeatsRowAbove(imageRow) &&
            static_cast<LONG>(runs.Row(imageRow).size()) * kPixelsPerRunWorthCopying > width) {
            std::memcpy(drawn, TargetRow(target, y - 1) + area.left, drawnBytes);
            continue;
        }
        for (const PixelRuns::Run& run : runs.Row(imageRow)) {
            int begin = run.x;
            int end = run.x + run.length;
            if (clipped) {
                begin = std::max(begin, left);
                end = std::min(end, right);
                if (begin >= end) {
                    continue;
                }
            }
            Paint& paint = paints[run.colour];
            const uint32_t argb = colours[run.colour];
            if (!paint.known) {
                paint = PaintOf(argb, placement);
            }
            Lay(drawn + (begin - left), end - begin, paint, argb, placement.tintRgb);
        }
    }
}

void DrawPixels(SDL_Surface* target, const SDL_Surface* image, const RunPlacement& placement) {
    const POINT o = placement.origin;
    const RECT area = Reach(target, image->w, image->h, placement);
    for (LONG y = area.top; y < area.bottom; ++y) {
        uint32_t* to = TargetRow(target, y);
        const uint32_t* from = RowOf(image, y - o.y);
        for (LONG x = area.left; x < area.right; ++x) {
            Paint paint = PaintOf(from[x - o.x], placement);
            Lay(to + x, 1, paint, from[x - o.x], placement.tintRgb);
        }
    }
}

}  // namespace DuiLib::sdl
