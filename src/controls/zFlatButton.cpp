#include "controls/zFlatButton.h"

namespace controls {

namespace {

constexpr platform::Colour kDesignBack = platform::MakeColour(224, 224, 224);
constexpr platform::Colour kBlack = platform::MakeColour(0, 0, 0);
constexpr platform::Colour kWhite = platform::MakeColour(255, 255, 255);
constexpr platform::Colour kDarkShadow = platform::MakeColour(64, 64, 64);
constexpr platform::Colour kShadow = platform::MakeColour(128, 128, 128);

} // namespace

zFlatButton::zFlatButton(platform::NativeWidget* parent) : surface_(parent) {
    surface_.SetBackStyle(1);
    surface_.SetBackColor(kDesignBack);
    surface_.OnMouseDown = [this](const platform::MouseEvent& e) {
        Draw(true);
        if (MouseDown)
            MouseDown(static_cast<std::int16_t>(e.button), static_cast<std::int16_t>(e.shift), e.x, e.y);
    };
    surface_.OnMouseUp = [this](const platform::MouseEvent& e) {
        if (MouseUp)
            MouseUp(static_cast<std::int16_t>(e.button), static_cast<std::int16_t>(e.shift), e.x, e.y);
        Draw(false);
    };
    // A new size is a repaint: the button is drawn up.
    surface_.OnResize = [this] { Draw(false); };
}

void zFlatButton::caption(const std::string& text) {
    caption_ = text;
    Changed("Caption");
    Draw(false);
}
void zFlatButton::BackColor(platform::Colour c) {
    surface_.SetBackColor(c);
    Changed("BackColor");
    Draw(false);
}

void zFlatButton::Draw(bool pressed) {
    surface_.Clear();
    platform::Picture& p = surface_.Drawing();
    const int W = p.Width();
    const int H = p.Height();
    if (!caption_.empty()) {
        const platform::FontSpec font = DesignFont();
        const platform::TextSize size = platform::MeasureText(font, caption_);
        p.DrawText((W - size.width) / 2, (H - size.height) / 2, caption_, font, kBlack);
    }
    if (pressed) {
        p.DrawLine(0, H - 1, W - 1, H - 1, kWhite);
        p.DrawLine(W - 1, 0, W - 1, H - 1, kWhite);
        p.DrawLine(0, 0, 0, H - 1, kDarkShadow);
        p.DrawLine(0, 0, W - 1, 0, kDarkShadow);
        p.DrawLine(1, 1, 1, H - 2, kShadow);
        p.DrawLine(1, 1, W - 2, 1, kShadow);
    } else {
        p.DrawLine(0, 0, 0, H - 1, kWhite);
        p.DrawLine(0, 0, W - 1, 0, kWhite);
    }
    surface_.Refresh();
}

void zFlatButton::ReadProperties(const platform::PropertyBag& bag, const platform::Font& ambient) {
    ReadLook(bag, ambient, false);
    caption_ = bag.ReadText("Caption", "");
    surface_.SetBackColor(static_cast<platform::Colour>(bag.ReadInt("BackColor", kDesignBack)));
}

void zFlatButton::WriteProperties(platform::PropertyBag& bag, const platform::Font& ambient) const {
    WriteLook(bag, ambient, false);
    bag.WriteText("Caption", caption_, "");
    bag.WriteInt("BackColor", surface_.BackColor(), kDesignBack);
}

} // namespace controls
