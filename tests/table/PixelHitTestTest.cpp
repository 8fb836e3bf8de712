// The pixel hit test of an image control: drawn pixels hit, the see-through colour and points off
// the drawing do not.
#include "table/TableGraphics.h"

#include "controls/TranspImg.h"
#include "platform/Picture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(PixelHitTest, DrawnPixelsHitAndTheMaskColourAndOutsideDoNot) {
    const platform::Colour grey = platform::MakeColour(128, 128, 128);
    controls::TranspImg image;
    image.MaskColor(grey);
    // Left half in the mask colour, right half red, 4 x 4 pixels.
    platform::Picture picture(4, 4, grey);
    picture.FillRect(2, 0, 2, 4, platform::MakeColour(255, 0, 0));
    image.SetPicture(picture);
    image.Surface().SetSizePixels(4, 4);
    image.Surface().SetPicture(picture);

    struct Case {
        std::int16_t x, y;
        bool hit;
    };
    const std::vector<Case> cases = {
        {15, 15, false}, // a see-through pixel
        {45, 15, true},  // a red one
        {37, 0, true},   // 2.47 pixels round to the red column 2
        {22, 0, false},  // 1.47 round to column 1
        {-15, 0, false}, // left of the drawing
        {60, 0, false},  // just right of it
        {30, 60, false}, // just below it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        EXPECT_EQ(PixelHitTest(c.x, c.y, image), c.hit);
    }
}

} // namespace
