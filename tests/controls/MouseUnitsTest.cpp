// The card image control reports the mouse in pixels and the marker label in twips: the types
// keep a handler written for one from being given to the other.
#include "controls/TranspImg.h"
#include "controls/zLabelA.h"
#include "platform/Twips.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <type_traits>

namespace {

using platform::PixelPoint;
using platform::TwipPoint;

using CardMouse = decltype(controls::TranspImg::MouseDown);
using LabelMouse = decltype(controls::zLabelA::MouseDown);

static_assert(!std::is_convertible_v<PixelPoint, TwipPoint> && !std::is_convertible_v<TwipPoint, PixelPoint>);
static_assert(std::is_invocable_v<CardMouse, std::int16_t, std::int16_t, PixelPoint>);
static_assert(!std::is_invocable_v<CardMouse, std::int16_t, std::int16_t, TwipPoint>);
static_assert(!std::is_invocable_v<CardMouse, std::int16_t, std::int16_t, float, float>);
static_assert(std::is_invocable_v<LabelMouse, std::int16_t, std::int16_t, TwipPoint>);
static_assert(!std::is_invocable_v<LabelMouse, std::int16_t, std::int16_t, PixelPoint>);
// A card handler cannot be installed on a label, nor the other way round.
static_assert(!std::is_assignable_v<LabelMouse&, CardMouse>);
static_assert(!std::is_assignable_v<CardMouse&, LabelMouse>);

} // namespace

TEST(MouseUnits, ConversionsUseFifteenTwipsPerPixelBothWays) {
    const TwipPoint twips = platform::ToTwips(PixelPoint{4, 3.5f});
    EXPECT_EQ(twips.x, 60);
    EXPECT_EQ(twips.y, 52.5f);
    const PixelPoint back = platform::ToPixels(twips);
    EXPECT_EQ(back.x, 4);
    EXPECT_EQ(back.y, 3.5f);
}
