#include "start/StartPictures.h"

namespace startpictures {

namespace {

using platform::MakeColour;

constexpr int kIcon = 32;
const platform::Colour kFace = MakeColour(212, 208, 200);
const platform::Colour kFelt = MakeColour(24, 110, 60);
const platform::Colour kCard = MakeColour(250, 248, 240);
const platform::Colour kInk = MakeColour(30, 30, 30);
const platform::Colour kRed = MakeColour(190, 30, 40);
const platform::Colour kBlue = MakeColour(40, 70, 160);

void Outline(platform::Picture& p, int x, int y, int w, int h, platform::Colour c) {
    p.DrawLine(x, y, x + w - 1, y, c);
    p.DrawLine(x + w - 1, y, x + w - 1, y + h - 1, c);
    p.DrawLine(x + w - 1, y + h - 1, x, y + h - 1, c);
    p.DrawLine(x, y + h - 1, x, y, c);
}

void CardAt(platform::Picture& p, int x, int y, int w, int h, platform::Colour pip) {
    p.FillRect(x, y, w, h, kCard);
    Outline(p, x, y, w, h, kInk);
    p.FillRect(x + w / 2 - w / 8, y + h / 2 - w / 8, w / 4 + 1, w / 4 + 1, pip);
}

} // namespace

platform::Picture Logo() {
    platform::Picture p(240, 180, kFelt);
    Outline(p, 0, 0, 240, 180, MakeColour(120, 80, 30));
    Outline(p, 1, 1, 238, 178, MakeColour(120, 80, 30));
    CardAt(p, 60, 30, 50, 72, kRed);
    CardAt(p, 95, 22, 50, 72, kInk);
    CardAt(p, 130, 30, 50, 72, kBlue);
    const platform::FontSpec title{"Arial", 30, true};
    p.DrawText(62, 110, "Karvel", title, MakeColour(250, 220, 120));
    const platform::FontSpec line{"Arial", 12};
    p.DrawText(58, 150, "a table for every game", line, kCard);
    return p;
}

platform::Picture NewGameIcon() {
    platform::Picture p(kIcon, kIcon, kFace);
    CardAt(p, 4, 6, 16, 22, kRed);
    CardAt(p, 12, 4, 16, 22, kInk);
    return p;
}

platform::Picture SavedGameIcon() {
    platform::Picture p(kIcon, kIcon, kFace);
    p.FillRect(3, 8, 26, 18, kCard);
    Outline(p, 3, 8, 26, 18, kInk);
    p.DrawLine(3, 8, 16, 18, kInk);
    p.DrawLine(28, 8, 16, 18, kInk);
    p.FillRect(14, 17, 5, 5, kRed);
    return p;
}

platform::Picture StartIcon() {
    platform::Picture p(kIcon, kIcon, kFace);
    for (int row = 0; row < 20; ++row) {
        const int half = row < 10 ? row : 19 - row;
        p.DrawLine(9, 6 + row, 9 + half * 2, 6 + row, kFelt);
    }
    return p;
}

platform::Picture DesignIcon() {
    platform::Picture p(kIcon, kIcon, kFace);
    p.FillRect(4, 22, 24, 6, MakeColour(230, 200, 90));
    Outline(p, 4, 22, 24, 6, kInk);
    for (int x = 7; x < 28; x += 4)
        p.DrawLine(x, 22, x, 24, kInk);
    p.FillRect(6, 4, 4, 16, kBlue);
    p.FillRect(6, 16, 16, 4, kBlue);
    return p;
}

platform::Picture DirectPlayIcon() {
    platform::Picture p(kIcon, kIcon, kFace);
    p.FillRect(2, 8, 11, 9, kFelt);
    Outline(p, 2, 8, 11, 9, kInk);
    p.FillRect(19, 8, 11, 9, kFelt);
    Outline(p, 19, 8, 11, 9, kInk);
    p.DrawLine(7, 17, 7, 24, kInk);
    p.DrawLine(7, 24, 24, 24, kInk);
    p.DrawLine(24, 24, 24, 17, kInk);
    return p;
}

void DressPictureButton(controls::cpvButton& button, const std::string& name, const platform::Picture& icon,
                        const std::string& toolTip, int left, int top) {
    button.Surface().Move(left, top, 600, 600);
    button.InitProperties(name, platform::Font{}, kFace);
    button.caption("");
    button.Style(1);
    button.SetPicture(icon);
    button.Surface().SetToolTipText(toolTip);
    button.Surface().SetVisible(true);
}

} // namespace startpictures
