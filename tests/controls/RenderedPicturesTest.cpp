// Writes what the controls draw as PNG files into the build folder, laid on a green table, so
// that a person can look at them: a card at each angle, zoomed, greyed and selected, and a label.
#include "TestSupport.h"
#include "controls/TestImages.h"

#include "controls/TranspImg.h"
#include "controls/zLabelA.h"
#include "state/TableState.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

using controls::TranspImg;
using platform::Colour;
using platform::MakeColour;
using platform::Picture;

namespace {

constexpr Colour kMagenta = MakeColour(255, 0, 255);
constexpr Colour kFelt = MakeColour(30, 110, 50);

// A card face of our own: a cream card with a border, a red corner pip and a black bar near its
// top, so that its turn can be read at a glance.
Picture CardFace() {
    Picture p(71, 96, MakeColour(250, 245, 225));
    p.FillRect(0, 0, 71, 1, MakeColour(60, 60, 60));
    p.FillRect(0, 95, 71, 1, MakeColour(60, 60, 60));
    p.FillRect(0, 0, 1, 96, MakeColour(60, 60, 60));
    p.FillRect(70, 0, 1, 96, MakeColour(60, 60, 60));
    p.FillRect(6, 6, 10, 14, MakeColour(200, 20, 30));
    p.FillRect(20, 10, 44, 6, MakeColour(10, 10, 10));
    p.FillRect(22, 40, 28, 28, MakeColour(40, 80, 200));
    p.DrawText(26, 70, "K7", platform::FontSpec{"Arial", 14, true}, MakeColour(10, 10, 10));
    // The frame's corners are see-through.
    p.SetPixel(0, 0, kMagenta);
    p.SetPixel(70, 0, kMagenta);
    p.SetPixel(0, 95, kMagenta);
    p.SetPixel(70, 95, kMagenta);
    return p;
}

std::string OutputFolder() {
    std::string folder = std::string(KARVEL_BUILD_DIR) + "/pictures";
    std::filesystem::create_directories(folder);
    return folder;
}

// What the control shows, laid over the table with its mask colour left out.
void Save(const Picture& drawing, const std::string& name) {
    Picture table(drawing.Width() + 20, drawing.Height() + 20, kFelt);
    table.CopyColourKey(10, 10, drawing.Width(), drawing.Height(), drawing, 0, 0, kMagenta);
    ASSERT_TRUE(table.SaveAsPng(OutputFolder() + "/" + name + ".png")) << name;
}

} // namespace

TEST(RenderedPictures, CardAndLabelAreWrittenForAPersonToSee) {
    testsupport::TempProgramFolder folder;
    folder.Write("cards/k7.bmp", testimages::BmpOf(CardFace()));
    SelectionColour = static_cast<std::int32_t>(MakeColour(255, 220, 0));

    TranspImg img;
    auto fresh = [&] {
        img.reset();
        img.MaskColor(kMagenta);
        img.useAntialias(true);
        img.loadNewPicture("cards/k7.bmp");
    };
    for (int angle : {0, 90, 180, 270, 45}) {
        fresh();
        img.rotation(static_cast<std::int16_t>(angle));
        Save(img.hdc(), "card_" + std::to_string(angle));
    }
    fresh();
    img.zoom(150);
    Save(img.hdc(), "card_zoom150");
    fresh();
    img.rotation(90);
    img.GreyScale(true);
    Save(img.hdc(), "card_grey");
    fresh();
    img.rotation(90);
    img.selected(true);
    Save(img.hdc(), "card_selected");

    controls::zLabelA label;
    label.Font(platform::Font{"Arial", 12, true});
    label.BackColor(MakeColour(255, 255, 200));
    label.ForeColor(MakeColour(120, 0, 0));
    label.caption("Gold: 12\r\nWounds: 3");
    Save(label.hdc(), "label");
    label.Rotated(true);
    label.caption("Gold: 12\r\nWounds: 3");
    Save(label.hdc(), "label_turned");

    for (const char* name : {"card_0", "card_90", "card_180", "card_270", "card_45", "card_zoom150",
                             "card_grey", "card_selected", "label", "label_turned"})
        EXPECT_TRUE(std::filesystem::exists(OutputFolder() + "/" + name + ".png")) << name;
}

// The same controls as children of a table window, grabbed as the window shows them: the felt
// must show through every mask-coloured pixel, and overlapping cards must stack.
TEST(RenderedPictures, TableWindowShowsTheFeltThroughTheMasks) {
    testsupport::TempProgramFolder folder;
    folder.Write("cards/k7.bmp", testimages::BmpOf(CardFace()));
    SelectionColour = static_cast<std::int32_t>(MakeColour(255, 220, 0));

    platform::ControlSurface table;
    table.SetSizePixels(420, 200);
    table.SetBackStyle(1);
    table.SetBackColor(kFelt);
    std::vector<std::unique_ptr<TranspImg>> cards;
    const int angles[] = {0, 90, 45, 180};
    for (int i = 0; i < 4; ++i) {
        cards.push_back(std::make_unique<TranspImg>(table.Handle()));
        TranspImg& card = *cards.back();
        card.reset();
        card.MaskColor(kMagenta);
        card.useAntialias(true);
        card.loadNewPicture("cards/k7.bmp");
        card.rotation(static_cast<std::int16_t>(angles[i]));
        if (i == 3) card.selected(true);
        card.SetPosition(static_cast<std::int16_t>(10 + i * 90),
                         static_cast<std::int16_t>(30 + (i % 2) * 20));
    }
    controls::zLabelA label(table.Handle());
    label.Font(platform::Font{"Arial", 10, true});
    label.BackColor(MakeColour(255, 255, 200));
    label.ForeColor(MakeColour(120, 0, 0));
    label.caption("Gold: 12");
    label.Surface().Move(40 * 15, 60 * 15);
    table.SetVisible(true);

    const Picture seen = table.Grab();
    ASSERT_EQ(seen.Width(), 420);
    ASSERT_TRUE(seen.SaveAsPng(OutputFolder() + "/table.png"));
    int magenta = 0;
    for (int y = 0; y < seen.Height(); ++y)
        for (int x = 0; x < seen.Width(); ++x)
            magenta += seen.GetPixel(x, y) == kMagenta;
    EXPECT_EQ(magenta, 0) << "no mask colour is ever shown";
    EXPECT_EQ(seen.GetPixel(2, 2), kFelt);
    EXPECT_EQ(seen.GetPixel(42, 62), label.hdc().GetPixel(2, 2)) << "the label lies on top of the first card";
}
