// Drawing primitives of the SDL canvas and the skin's image attributes they are fed from.

#include <gtest/gtest.h>

#include "duilib/render/image_attributes.h"
#include "duilib/render/sdl/sdl_canvas.h"
#include "render_test_support.h"

namespace {

using DuiLib::sdl::Canvas;
using DuiLib::sdl::SurfacePtr;
using render_test::PixelAt;

SurfacePtr NewSurface(int w, int h) {
    return SurfacePtr{SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888)};
}

void Put(SDL_Surface* surface, int x, int y, uint32_t argb) {
    auto* row = static_cast<uint8_t*>(surface->pixels) + y * surface->pitch;
    reinterpret_cast<uint32_t*>(row)[x] = argb;
}

TEST(ImageAttributes, ReadsBareNamesAndQuotedAttributeLists) {
    DuiLib::TImageAttributes attrs;
    ASSERT_TRUE(DuiLib::ParseImageAttributes(L"common/background.png", &attrs));
    EXPECT_EQ(attrs.file.str(), L"common/background.png");
    EXPECT_FALSE(attrs.hasSource);

    ASSERT_TRUE(DuiLib::ParseImageAttributes(
        L"file='caption/closebtn.png' source='30,0,60,30' corner='4,4,24,4' dest=\"1,2,17,18\" "
        L"fade='300'",
        &attrs));
    EXPECT_EQ(attrs.file.str(), L"caption/closebtn.png");
    EXPECT_TRUE(attrs.hasSource);
    EXPECT_EQ(attrs.source, (RECT{30, 0, 60, 30}));
    EXPECT_EQ(attrs.corner, (RECT{4, 4, 24, 4}));
    EXPECT_EQ(attrs.dest, (RECT{1, 2, 17, 18}));
    EXPECT_EQ(attrs.fade, 255);  // clamped
}

TEST(ImageAttributes, EmptyOrBrokenTextNamesNoImage) {
    DuiLib::TImageAttributes attrs;
    EXPECT_FALSE(DuiLib::ParseImageAttributes(L"", &attrs));
    EXPECT_FALSE(DuiLib::ParseImageAttributes(L"file='", &attrs));
    EXPECT_FALSE(DuiLib::ParseImageAttributes(L"source='0,0,1,1'", &attrs));
    // An empty source rectangle means the whole image.
    ASSERT_TRUE(
        DuiLib::ParseImageAttributes(L"file='a.png' source='5,5,5,9' corner='-3,1,1,1'", &attrs));
    EXPECT_FALSE(attrs.hasSource);
    EXPECT_EQ(attrs.corner.left, 0);
}

class CanvasTest : public ::testing::Test {
  protected:
    render_test::SdlLibraries libraries_;
    SurfacePtr target_ = NewSurface(40, 40);
    Canvas canvas_{target_.get()};
};

TEST_F(CanvasTest, NineSliceKeepsCornersAndStretchesTheCentre) {
    // 3x3 image: red corners, blue centre, green edges.
    SurfacePtr image = NewSurface(3, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            const bool cornerX = x != 1;
            const bool cornerY = y != 1;
            Put(image.get(), x, y,
                cornerX && cornerY ? 0xFFFF0000 : (!cornerX && !cornerY ? 0xFF0000FF : 0xFF00FF00));
        }
    }
    ASSERT_TRUE(canvas_.IsValid());
    canvas_.Clear(0xFF000000);
    DuiLib::sdl::NineSlice slice{RECT{0, 0, 3, 3}, RECT{1, 1, 1, 1}, RECT{2, 2, 2, 2}};
    canvas_.DrawImage(image.get(), slice, RECT{10, 10, 30, 30}, 255);
    EXPECT_EQ(PixelAt(target_.get(), 10, 10), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(target_.get(), 29, 29), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(target_.get(), 20, 10), 0xFF00FF00u);
    EXPECT_EQ(PixelAt(target_.get(), 20, 20), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(target_.get(), 9, 9), 0xFF000000u);  // nothing outside the rectangle
}

TEST_F(CanvasTest, ClipsNestAndFadeBlends) {
    canvas_.Clear(0xFF000000);
    canvas_.PushClip(RECT{0, 0, 20, 40});
    canvas_.PushClip(RECT{10, 0, 40, 40});
    canvas_.FillRect(RECT{0, 0, 40, 40}, 0xFFFFFFFF);
    canvas_.PopClip();
    canvas_.PopClip();
    EXPECT_EQ(PixelAt(target_.get(), 5, 5), 0xFF000000u);
    EXPECT_EQ(PixelAt(target_.get(), 15, 5), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(target_.get(), 25, 5), 0xFF000000u);

    canvas_.FillRect(RECT{0, 20, 40, 40}, 0x80FFFFFF);  // half-transparent white over black
    const uint32_t blended = PixelAt(target_.get(), 5, 30);
    EXPECT_NEAR(static_cast<int>(blended & 0xFF), 128, 3);
}

TEST_F(CanvasTest, ShapeTintFollowsTheImageAlphaAndStaysInTheClip) {
    // A 2 x 1 shape: opaque left, transparent right, stretched over 8 x 4.
    SurfacePtr shape = NewSurface(2, 1);
    Put(shape.get(), 0, 0, 0xFF000000);
    Put(shape.get(), 1, 0, 0x00FFFFFF);
    canvas_.Clear(0xFF204060);
    canvas_.PushClip(RECT{0, 0, 40, 3});
    DuiLib::sdl::NineSlice slice;
    slice.source = RECT{0, 0, 2, 1};
    ASSERT_TRUE(canvas_.DrawShape(shape.get(), slice, RECT{10, 0, 18, 4}, 128, 0xFF0000));
    canvas_.PopClip();
    // Red at 128 of 255 where the shape is opaque: (0x20 * 127 + 255 * 128) / 255 = 0x90.
    EXPECT_EQ(PixelAt(target_.get(), 10, 1), 0xFF902030u);
    EXPECT_EQ(PixelAt(target_.get(), 17, 1), 0xFF204060u);  // transparent: untouched
    EXPECT_EQ(PixelAt(target_.get(), 10, 3), 0xFF204060u);  // outside the clip
    EXPECT_EQ(PixelAt(target_.get(), 9, 1), 0xFF204060u);   // outside the shape
}

TEST_F(CanvasTest, TintedImageInOnePassEqualsTheImageThenItsShape) {
    // A 4 x 4 key: opaque but for a soft left column, stretched over 9 x 7.
    SurfacePtr key = NewSurface(4, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            Put(key.get(), x, y, x == 0 ? 0x80405060 : 0xFF2A3442);
        }
    }
    DuiLib::sdl::NineSlice slice{RECT{0, 0, 4, 4}, RECT{1, 1, 1, 1}, RECT{1, 1, 1, 1}};
    const RECT dest{5, 6, 14, 13};
    SurfacePtr twoPasses = NewSurface(40, 40);
    Canvas second(twoPasses.get());
    for (Canvas* canvas : {&canvas_, &second}) {
        canvas->Clear(0xFF204060);
        canvas->FillRect(RECT{0, 0, 9, 40}, 0xFFC08010);  // a backdrop that differs under it
    }
    ASSERT_TRUE(canvas_.DrawTintedImage(key.get(), slice, dest, 230, 0x00FF00, 100));
    second.DrawImage(key.get(), slice, dest, 230);
    ASSERT_TRUE(second.DrawShape(key.get(), slice, dest, 100, 0x00FF00));
    EXPECT_EQ(render_test::Compare(target_.get(), twoPasses.get(), 0).differingShare, 0.0);
    EXPECT_NE(PixelAt(target_.get(), 10, 9), 0xFF2A3442u) << "the tint shows";
}

TEST_F(CanvasTest, FacesAreSharedBySizeAndBounded) {
    SurfacePtr image = NewSurface(3, 3);
    DuiLib::sdl::ImageFaces faces;
    DuiLib::sdl::NineSlice slice{RECT{0, 0, 3, 3}, RECT{1, 1, 1, 1}, RECT{1, 1, 1, 1}};
    DuiLib::sdl::ImageFace* first = faces.Get(image.get(), slice, SIZE{10, 10});
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(faces.Get(image.get(), slice, SIZE{10, 10}), first) << "one face per size";
    EXPECT_NE(faces.Get(image.get(), slice, SIZE{12, 10}), first);
    for (int w = 1; w <= static_cast<int>(DuiLib::sdl::ImageFaces::kMaxFaces) + 5; ++w) {
        ASSERT_NE(faces.Get(image.get(), slice, SIZE{w, 3}), nullptr);
    }
    EXPECT_LE(faces.Count(), DuiLib::sdl::ImageFaces::kMaxFaces);
    // Asked again after the table started anew, a face is made again at its size.
    DuiLib::sdl::ImageFace* again = faces.Get(image.get(), slice, SIZE{12, 10});
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->Pixels()->w, 12);
    EXPECT_EQ(faces.Get(image.get(), slice, SIZE{12, 10}), again);
}

TEST_F(CanvasTest, RingCoversOnlyItsSweep) {
    canvas_.Clear(0xFF000000);
    // A quarter from 12 o'clock clockwise: the right half's top is lit, the left is not.
    canvas_.FillRing(POINT{20, 20}, 18, 12, 0, 90, 0xFFFFFFFF);
    EXPECT_EQ(PixelAt(target_.get(), 31, 8), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(target_.get(), 8, 8), 0xFF000000u);
    EXPECT_EQ(PixelAt(target_.get(), 20, 20), 0xFF000000u);  // the hole stays empty
}

}  // namespace
