#include "platform/PropertyBag.h"

#include <gtest/gtest.h>

using platform::PropertyBag;

TEST(PropertyBag, ValuesEqualToTheirDefaultAreNotStored) {
    PropertyBag bag;
    bag.WriteInt("zoom", 100, 100);
    bag.WriteText("Caption", "", "");
    bag.WriteDouble("Opacity", 1.0, 1.0);
    bag.WriteFont("Font", platform::Font{"ARIAL", 8.25, false}, platform::Font{"Arial", 8.25, false});
    bag.WritePicture("Picture", platform::Picture());
    for (const char* key : {"zoom", "Caption", "Opacity", "Font", "Picture"})
        EXPECT_FALSE(bag.Has(key)) << key;
    bag.WriteInt("Enabled", 0);
    EXPECT_TRUE(bag.Has("Enabled")) << "written whatever its value";
    bag.WriteInt("zoom", 150, 100);
    bag.WriteInt("zoom", 100, 100);
    EXPECT_FALSE(bag.Has("ZOOM")) << "back to its default, the key goes";
}

TEST(PropertyBag, KeysMatchWithoutRegardToCase) {
    PropertyBag bag;
    bag.WriteText("Caption", "Gold: 1", "");
    bag.WriteFont("Font", platform::Font{"Courier New", 14, true}, platform::Font{});
    bag.WriteDouble("Opacity", 0.25, 1.0);
    bag.WriteInt("FontBold", -1, 0);
    EXPECT_EQ(bag.ReadText("caption", ""), "Gold: 1");
    EXPECT_EQ(bag.ReadFont("font", platform::Font{}).name, "Courier New");
    EXPECT_EQ(bag.ReadInt("fontbold", 0), -1);
    EXPECT_EQ(bag.ReadDouble("OPACITY", 1.0), 0.25);
    EXPECT_EQ(bag.ReadInt("missing", 7), 7);
    EXPECT_EQ(bag.ReadText("Opacity", "x"), "x") << "a value of another type reads as the default";
}
