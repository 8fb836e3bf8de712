#include "controls/zLabelA.h"

#include "common/Numbers.h"
#include "controls/Antialias.h"
#include "platform/Twips.h"

#include <algorithm>
#include <optional>

namespace controls {

namespace {

constexpr std::int64_t StoredFlag(bool value) {
    return value ? -1 : 0;
}
constexpr platform::Colour kButtonFace = platform::kSystemColourFlag | 15;
constexpr platform::Colour kButtonText = platform::kSystemColourFlag | 18;
constexpr platform::Colour kWindowBackground = platform::kSystemColourFlag | 5;

} // namespace

zLabelA::zLabelA(platform::NativeWidget* parent) : surface_(parent) {
    surface_.SetBackStyle(1);
    surface_.SetMaskColor(kButtonFace);
    surface_.SetBackColor(kWindowBackground);
    surface_.OnClick = [this] {
        if (Click) Click();
    };
    surface_.OnDblClick = [this] {
        if (DblClick) DblClick();
    };
    auto forward = [](auto& handler) {
        return [&handler](const platform::MouseEvent& e) {
            if (handler)
                handler(static_cast<std::int16_t>(e.button), static_cast<std::int16_t>(e.shift),
                        platform::ToTwips(platform::PixelPoint{e.x, e.y}));
        };
    };
    surface_.OnMouseDown = forward(MouseDown);
    surface_.OnMouseMove = forward(MouseMove);
    surface_.OnMouseUp = forward(MouseUp);
}

void zLabelA::Changed(const char* key) {
    if (PropertyChanged) PropertyChanged(key);
}

void zLabelA::Enabled(bool enabled) {
    enabled_ = enabled;
    Changed("Enabled");
}
void zLabelA::BorderStyle(std::int16_t style) {
    borderStyle_ = style;
    Changed("BorderStyle");
}
void zLabelA::Font(const platform::Font& font) {
    font_ = font;
    Changed("Font");
}
void zLabelA::SetPicture(const platform::Picture& picture) {
    // The new background shows from the next caption on; what is drawn stays.
    platform::Picture kept = surface_.Drawing();
    surface_.SetPicture(picture);
    surface_.Drawing() = kept;
    Changed("Picture");
}
void zLabelA::MaskColor(platform::Colour c) {
    surface_.SetMaskColor(c);
    Changed("MaskColor");
}
void zLabelA::transparent(bool see) {
    transparent_ = see;
    Changed("transparent");
}
void zLabelA::ForeColor(platform::Colour c) {
    foreColor_ = c;
    Changed("ForeColor");
}
void zLabelA::Rotated(bool rotated) {
    rotated_ = rotated;
    Changed("Rotated");
}
void zLabelA::BackColor(platform::Colour c) {
    // The drawing keeps its caption until the next one: only the background of later clears changes.
    platform::Picture kept = surface_.Drawing();
    surface_.SetBackColor(c);
    surface_.Drawing() = kept;
    Changed("BackColor");
}
void zLabelA::FontBold(bool bold) {
    font_.bold = bold;
    Changed("FontBold");
}
void zLabelA::Opacity(double opacity) {
    opacity_ = opacity;
    Changed("Opacity");
}
void zLabelA::AutoSize(bool autoSize) {
    autoSize_ = autoSize;
    Changed("AutoSize");
}

void zLabelA::caption(const std::string& whole) {
    // Measuring and drawing cost what the text is long: a saved game or a peer may send any length.
    const std::string text = whole.substr(0, kMaxCaptionLength);
    surface_.Clear();
    int x = 2, y = 0;
    if (!surface_.GetPicture().IsEmpty()) {
        // Centred over the picture, measured in the label's own font.
        const platform::FontSpec own = platform::SpecOf(font_);
        int width = 0, height = 0;
        for (const std::string& line : CaptionLines(text)) {
            platform::TextSize extent = platform::MeasureText(own, line);
            width = std::max(width, extent.width);
            height += extent.height;
        }
        x = (surface_.ScaleWidth() - width) / 2;
        y = (surface_.ScaleHeight() - height) / 2;
    }
    const std::int16_t weight = font_.bold ? 700 : 0;
    const std::int32_t size = RoundToInt32(font_.size);
    MeasureAntialiasedCaption(textWidth_, textHeight_, surface_.Drawing(), text, size, weight);
    if (!rotated_) {
        surface_.SetWidth(static_cast<double>(textWidth_) * platform::kTwipsPerPixelX);
        surface_.SetHeight(static_cast<double>(textHeight_) * platform::kTwipsPerPixelY);
    } else {
        surface_.SetHeight((textWidth_ + 4.0) * platform::kTwipsPerPixelX);
        surface_.SetWidth(static_cast<double>(textHeight_) * platform::kTwipsPerPixelY);
        y = surface_.ScaleHeight();
    }
    DrawCaptionLines(text, x, y, platform::ResolveColour(foreColor_), size, weight);
    surface_.Refresh();
    caption_ = text;
    Changed("Caption");
}

void zLabelA::DrawCaptionLines(const std::string& text, int x, int y, platform::Colour colour,
                               std::int32_t size, std::int16_t weight) {
    const int step = LineStep(size);
    for (const std::string& line : CaptionLines(text)) {
        DrawAntialiasedText(surface_.Drawing(), line, x, y, colour, "Arial", size, weight, 0, rotated_);
        if (rotated_)
            x += step;
        else
            y += step;
    }
}

bool zLabelA::loadNewPicture(const std::string& path) {
    std::optional<platform::Picture> picture = platform::Picture::Load(path);
    if (!picture) return false;
    // The picture's own size, which is its header's for every file the decoder accepts.
    const int width = picture->Width(), height = picture->Height();
    surface_.SetSizePixels(width, height);
    surface_.SetPicture(*picture);
    if (transparent_) {
        surface_.SetBackStyle(0);
        surface_.SetMaskPicture(*picture);
    }
    surface_.Refresh();
    return true;
}

void zLabelA::ReadProperties(const platform::PropertyBag& bag, const platform::Font& ambient) {
    enabled_ = bag.ReadInt("Enabled", 0) != 0;
    borderStyle_ = ClampToInt16(bag.ReadInt("BorderStyle", 0));
    caption_ = bag.ReadText("Caption", "");
    font_ = bag.ReadFont("Font", ambient);
    surface_.SetPicture(bag.ReadPicture("Picture"));
    surface_.SetMaskColor(static_cast<platform::Colour>(bag.ReadInt("MaskColor", kButtonFace)));
    transparent_ = bag.ReadInt("transparent", 0) != 0;
    foreColor_ = static_cast<platform::Colour>(bag.ReadInt("ForeColor", kButtonText));
    rotated_ = bag.ReadInt("Rotated", 0) != 0;
    surface_.SetBackColor(static_cast<platform::Colour>(bag.ReadInt("BackColor", kWindowBackground)));
    font_.bold = bag.ReadInt("FontBold", 0) != 0;
    opacity_ = bag.ReadDouble("Opacity", 1.0);
    autoSize_ = bag.ReadInt("AutoSize", 0) != 0;
}

void zLabelA::WriteProperties(platform::PropertyBag& bag, const platform::Font& ambient) const {
    bag.WriteInt("Enabled", StoredFlag(enabled_), 0);
    bag.WriteInt("BorderStyle", borderStyle_, 0);
    bag.WriteText("Caption", caption_, "");
    bag.WriteFont("Font", font_, ambient);
    bag.WritePicture("Picture", surface_.GetPicture());
    bag.WriteInt("MaskColor", surface_.MaskColor(), kButtonFace);
    bag.WriteInt("transparent", StoredFlag(transparent_), 0);
    bag.WriteInt("ForeColor", foreColor_, kButtonText);
    bag.WriteInt("Rotated", StoredFlag(rotated_), 0);
    bag.WriteInt("BackColor", surface_.BackColor(), kWindowBackground);
    bag.WriteInt("FontBold", StoredFlag(font_.bold), 0);
    bag.WriteDouble("Opacity", opacity_, 1.0);
    bag.WriteInt("AutoSize", StoredFlag(autoSize_), 0);
}

} // namespace controls
