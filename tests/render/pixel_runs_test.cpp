// Images laid from their runs of equal pixels: the same pixels as laid one by one, an
// image is flat only with few colours, and opacity is judged pixel by pixel.

#include <gtest/gtest.h>

#include <cstdint>

#include "duilib/render/sdl/coverage_blend.h"
#include "duilib/render/sdl/pixel_runs.h"
#include "duilib/render/sdl/sdl_handles.h"
#include "render_test_support.h"

namespace {

using DuiLib::sdl::Coverage;
using DuiLib::sdl::PixelRuns;
using DuiLib::sdl::RunPlacement;
using DuiLib::sdl::SurfacePtr;

SurfacePtr NewSurface(int w, int h, uint32_t fill) {
    SurfacePtr surface{SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888)};
    SDL_FillRect(surface.get(), nullptr, fill);
    return surface;
}

void Put(SDL_Surface* surface, int x, int y, uint32_t argb) {
    auto* row = static_cast<uint8_t*>(surface->pixels) + y * surface->pitch;
    reinterpret_cast<uint32_t*>(row)[x] = argb;
}

// A key's face: a clear corner, soft edges and a flat opaque middle.
SurfacePtr KeyFace() {
    SurfacePtr face = NewSurface(12, 8, 0xFF2A3442);
    for (int y = 0; y < 8; ++y) {
        Put(face.get(), 0, y, 0x80445368);
        Put(face.get(), 11, y, 0x40445368);
    }
    Put(face.get(), 0, 0, 0x00445368);
    Put(face.get(), 5, 3, 0xC0FFFFFF);
    return face;
}

// A backdrop that differs from pixel to pixel, so that every blend shows.
SurfacePtr Backdrop() {
    SurfacePtr backdrop = NewSurface(20, 14, 0);
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 20; ++x) {
            Put(backdrop.get(), x, y, 0xFF000000u | static_cast<uint32_t>(x * 12 << 16 | y * 17));
        }
    }
    return backdrop;
}

TEST(PixelRuns, LaidFromRunsEqualsLaidPixelByPixel) {
    const SurfacePtr face = KeyFace();
    const std::unique_ptr<PixelRuns> runs = PixelRuns::Of(face.get());
    ASSERT_TRUE(runs);
    RunPlacement placements[3];
    placements[0].origin = POINT{3, 2};   // plain
    placements[1].origin = POINT{-2, 4};  // faded, tinted, cut by the target's edge
    placements[1].alpha = 200;
    placements[1].tintRgb = 0x10C040;
    placements[1].tintAlpha = 150;
    placements[2].origin = POINT{5, 1};  // the tint alone, as a key's LED lies on it
    placements[2].alpha = 0;
    placements[2].tintRgb = 0xFF0000;
    placements[2].tintAlpha = 255;
    for (RunPlacement placement : placements) {
        placement.area = RECT{1, 3, 12, 11};  // a clip
        SurfacePtr fromRuns = Backdrop();
        SurfacePtr byPixel = Backdrop();
        DrawRuns(fromRuns.get(), *runs, placement);
        DrawPixels(byPixel.get(), face.get(), placement);
        EXPECT_EQ(render_test::Compare(fromRuns.get(), byPixel.get(), 0).differingShare, 0.0);
        // Nothing outside the clip.
        EXPECT_EQ(render_test::PixelAt(fromRuns.get(), 12, 5),
                  render_test::PixelAt(Backdrop().get(), 12, 5));
    }
}

// What a draw keeps for the next (each colour as laid, the last pixel a colour was laid
// on) and the rows it copies from the row above change nothing: an image laid again over
// other pixels, or whose middle rows repeat, comes out as laid pixel by pixel.
TEST(PixelRuns, LaidAgainOrFromRepeatedRowsEqualsLaidPixelByPixel) {
    // Opaque rows of several runs, the middle ones alike, as a key's face has them.
    SurfacePtr face = NewSurface(12, 8, 0xFF2A3442);
    for (int y = 0; y < 8; ++y) {
        Put(face.get(), 0, y, 0xFF445368);
        Put(face.get(), 1, y, 0xFF313D4D);
        Put(face.get(), 11, y, 0xFF445368);
    }
    Put(face.get(), 4, 0, 0xFFFFFFFF);
    Put(face.get(), 4, 7, 0x80FFFFFF);
    // Two rows alike that let what lies beneath show through: not copied.
    Put(face.get(), 8, 5, 0x80FFFFFF);
    Put(face.get(), 8, 6, 0x80FFFFFF);
    const std::unique_ptr<PixelRuns> rows = PixelRuns::Of(face.get());
    ASSERT_TRUE(rows);
    EXPECT_TRUE(rows->RepeatsRowAbove(3));
    EXPECT_FALSE(rows->RepeatsRowAbove(6));
    // A text's coverage: one colour at many alphas.
    SurfacePtr text = NewSurface(12, 8, 0);
    for (int x = 0; x < 12; ++x) {
        Put(text.get(), x, 3, static_cast<uint32_t>(x * 20 + 10) << 24 | 0xE0E6F0);
        Put(text.get(), x, 4, static_cast<uint32_t>(250 - x * 20) << 24 | 0xE0E6F0);
    }
    const std::unique_ptr<PixelRuns> glyphs = PixelRuns::Of(text.get());
    ASSERT_TRUE(glyphs);

    RunPlacement placement;
    placement.origin = POINT{3, 1};
    placement.area = RECT{4, 3, 20, 14};  // cuts off the left column and two rows
    placement.tintRgb = 0x10C040;
    for (const uint8_t tintAlpha : {120, 200}) {
        placement.tintAlpha = tintAlpha;
        // Plain backdrops of one colour and of another, then one that differs everywhere.
        for (const uint32_t under : {0xFF102030u, 0xFF405060u, 0xFF102030u, 0u}) {
            for (const auto& [runs, image] :
                 {std::pair{rows.get(), face.get()}, std::pair{glyphs.get(), text.get()}}) {
                SurfacePtr fromRuns = under != 0 ? NewSurface(20, 14, under) : Backdrop();
                SurfacePtr byPixel = under != 0 ? NewSurface(20, 14, under) : Backdrop();
                DrawRuns(fromRuns.get(), *runs, placement);
                DrawPixels(byPixel.get(), image, placement);
                EXPECT_EQ(render_test::Compare(fromRuns.get(), byPixel.get(), 0).differingShare,
                          0.0);
            }
        }
    }
}

// A text's coverage laid four pixels at a time comes out as laid pixel by pixel: any
// alpha over any pixel, faded or not, cut by a clip at odd columns, the clear pixels left
// exactly as they were (their alpha byte too); kept one byte a pixel, it lays the same.
TEST(PixelRuns, ACoverageLaidFourAtATimeEqualsLaidPixelByPixel) {
    SurfacePtr text = NewSurface(13, 5, 0x00000000);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 13; ++x) {
            const uint32_t alpha = static_cast<uint32_t>((x * 37 + y * 91) % 256);
            Put(text.get(), x, y, alpha << 24 | 0xE0E6F0);
        }
    }
    Put(text.get(), 2, 2, 0x00E0E6F0);
    const std::unique_ptr<PixelRuns> runs = PixelRuns::Of(text.get());
    ASSERT_TRUE(runs);
    uint32_t rgb = 0;
    ASSERT_TRUE(runs->IsCoverage(&rgb));
    EXPECT_EQ(rgb, 0xE0E6F0u);
    EXPECT_FALSE(PixelRuns::Of(KeyFace().get())->IsCoverage(&rgb)) << "a face is no text";
    for (const uint8_t fade : {255, 131}) {
        RunPlacement placement;
        placement.origin = POINT{2, 3};
        placement.area = RECT{3, 4, 14, 20};
        placement.alpha = fade;
        SurfacePtr fourAtATime = Backdrop();
        SurfacePtr byPixel = Backdrop();
        Put(fourAtATime.get(), 4, 5, 0x12345678);  // under the clear pixel: kept as it is
        Put(byPixel.get(), 4, 5, 0x12345678);
        DrawCoverage(fourAtATime.get(), text.get(), rgb, placement);
        DrawPixels(byPixel.get(), text.get(), placement);
        EXPECT_EQ(render_test::Compare(fourAtATime.get(), byPixel.get(), 0).differingShare, 0.0);
        EXPECT_EQ(render_test::PixelAt(fourAtATime.get(), 4, 5), 0x12345678u);

        const std::unique_ptr<Coverage> coverage = Coverage::Of(text.get(), *runs);
        ASSERT_TRUE(coverage);
        SurfacePtr fromBytes = Backdrop();
        Put(fromBytes.get(), 4, 5, 0x12345678);
        DrawCoverage(fromBytes.get(), *coverage, placement);
        EXPECT_EQ(render_test::Compare(fromBytes.get(), byPixel.get(), 0).differingShare, 0.0);
    }
    EXPECT_FALSE(Coverage::Of(KeyFace().get(), *PixelRuns::Of(KeyFace().get())));
}

TEST(PixelRuns, AnOpaqueRunHidesWhatLiesBeneathAndAClearOneNothing) {
    const SurfacePtr face = KeyFace();
    const std::unique_ptr<PixelRuns> runs = PixelRuns::Of(face.get());
    ASSERT_TRUE(runs);
    SurfacePtr target = Backdrop();
    RunPlacement placement;
    placement.area = RECT{0, 0, 20, 14};
    placement.tintRgb = 0xFF0000;
    placement.tintAlpha = 128;
    DrawRuns(target.get(), *runs, placement);
    // (0x2A * 127 + 0xFF * 128) / 255 = 0x95, (0x34 * 127) / 255 = 0x1A, 0x42 -> 0x21.
    EXPECT_EQ(render_test::PixelAt(target.get(), 4, 6), 0xFF951A21u);
    EXPECT_EQ(render_test::PixelAt(target.get(), 0, 0),
              render_test::PixelAt(Backdrop().get(), 0, 0));
}

TEST(PixelRuns, OpaqueOnlyWhereEveryPixelIs) {
    const SurfacePtr face = KeyFace();
    const std::unique_ptr<PixelRuns> runs = PixelRuns::Of(face.get());
    ASSERT_TRUE(runs);
    EXPECT_TRUE(runs->IsOpaqueOver(RECT{1, 4, 11, 8}));
    EXPECT_FALSE(runs->IsOpaqueOver(RECT{0, 1, 4, 2})) << "a soft edge";
    EXPECT_FALSE(runs->IsOpaqueOver(RECT{4, 3, 6, 4})) << "a translucent pixel in the middle";
    EXPECT_FALSE(runs->IsOpaqueOver(RECT{0, 0, 1, 1})) << "a clear pixel has no run";
    EXPECT_FALSE(runs->IsOpaqueOver(RECT{8, 0, 13, 1})) << "past the image";
}

TEST(PixelRuns, AnImageOfManyColoursIsNotFlat) {
    SurfacePtr gradient = NewSurface(300, 1, 0);
    for (int x = 0; x < 300; ++x) {
        Put(gradient.get(), x, 0, 0xFF000000u | static_cast<uint32_t>(x));
    }
    EXPECT_FALSE(PixelRuns::Of(gradient.get()));
    SurfacePtr rgb{SDL_CreateRGBSurfaceWithFormat(0, 4, 4, 24, SDL_PIXELFORMAT_RGB24)};
    EXPECT_FALSE(PixelRuns::Of(rgb.get()));
}

}  // namespace
