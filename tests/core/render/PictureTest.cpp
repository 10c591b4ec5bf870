#include "core/render/Picture.h"

#include "PictureArt.h"

#include <gtest/gtest.h>

namespace led {
namespace {

using test::art;

// 4 × 3 with a distinct colour per column: R G Y B.
Picture stripes()
{
    Picture p(4, 3);
    const Rgb colours[] = {RgbRed, RgbGreen, RgbYellow, RgbBlue};
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 3; ++y)
            p.setPixel(x, y, colours[x]);
    return p;
}

TEST(Picture, FillAndPixelAccessStayInside)
{
    Picture p(3, 2, RgbRed);
    EXPECT_EQ(art(p), "RRR\nRRR\n");
    p.setPixel(1, 1, RgbYellow);
    p.setPixel(-1, 0, RgbBlue);
    p.setPixel(3, 0, RgbBlue);
    p.setPixel(0, 2, RgbBlue);
    EXPECT_EQ(art(p), "RRR\nRYR\n");
    EXPECT_EQ(p.pixel(5, 5), RgbBlack);
    p.fill(RgbGreen);
    p.fillRect(-1, -1, 2, 5, RgbBlue);
    EXPECT_EQ(art(p), "BGG\nBGG\n");
}

TEST(Picture, RectangleCopiesAreClipped)
{
    struct Case
    {
        const char* name;
        int sx, sy, w, h, dx, dy;
        const char* expected; // 5 × 3 black target
    } cases[] = {
        {"whole", 0, 0, 4, 3, 0, 0, "RGYB.\nRGYB.\nRGYB.\n"},
        {"past the target's right edge", 0, 0, 4, 3, 3, 1, ".....\n...RG\n...RG\n"},
        {"negative target", 0, 0, 4, 3, -2, -1, "YB...\nYB...\n.....\n"},
        {"negative source", -1, 0, 2, 1, 0, 0, ".R...\n.....\n.....\n"},
        {"past the source's edge", 3, 2, 5, 5, 0, 0, "B....\n.....\n.....\n"},
        {"empty", 0, 0, 0, 3, 0, 0, ".....\n.....\n.....\n"},
        {"entirely outside", 0, 0, 4, 3, 9, 9, ".....\n.....\n.....\n"},
    };
    const Picture source = stripes();
    for (const auto& c : cases) {
        Picture target(5, 3);
        target.copyFrom(source, c.sx, c.sy, c.w, c.h, c.dx, c.dy);
        EXPECT_EQ(art(target), c.expected) << c.name;
    }
}

TEST(Picture, TransparentCopyLeavesOneColourOut)
{
    Picture target(4, 3, RgbBlue);
    target.copyTransparent(stripes(), 0, 0, 4, 3, 0, 0, RgbGreen);
    EXPECT_EQ(art(target), "RBYB\nRBYB\nRBYB\n");
}

TEST(Picture, CopyWithinItselfOverlapping)
{
    Picture p = stripes();
    p.copyFrom(p, 0, 0, 3, 3, 1, 0);
    EXPECT_EQ(art(p), "RRGY\nRRGY\nRRGY\n");
}

} // namespace
} // namespace led
