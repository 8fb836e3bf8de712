#include "controls/CInfoTip.h"

#include "controls/MInfoTip.h"
#include "platform/Seams.h"
#include "platform/TextBox.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace controls {

namespace {

using platform::Colour;

constexpr int kShadow = 4;
constexpr Colour k3DLight = platform::kSystemColourFlag | 22;
constexpr Colour k3DDarkShadow = platform::kSystemColourFlag | 21;

// Half of the padding, rounded half to even: 5 gives 2, 3 gives 2, 1 gives 0.
int HalfPadding(int padding) {
    return static_cast<int>(std::nearbyint(padding / 2.0));
}

// A balloon shows card names and descriptions from the definition, which are not captions: an
// "&" there stands for itself and marks no access key, so each is doubled for the text layout.
std::string AsWritten(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '&') out += '&';
    }
    return out;
}

std::int32_t NextHandle() {
    static std::int32_t last = 0;
    last = last == 0x7FFFFFFF ? 1 : last + 1;
    return last;
}

} // namespace

platform::ScreenPoint BalloonPosition(platform::ScreenPoint cursor, int w, int h, int padding,
                                      platform::TextSize screen) {
    platform::ScreenPoint at{cursor.x, cursor.y + 22};
    if (at.x + w > screen.width) at.x = screen.width - w - padding;
    if (at.y + h > screen.height) at.y = cursor.y - padding - h;
    return at;
}

std::vector<std::uint8_t> ShadowOpacity(int w, int h) {
    std::vector<std::uint8_t> opacity(static_cast<std::size_t>(std::max(w, 0)) *
                                      static_cast<std::size_t>(std::max(h, 0)));
    if (w < kShadow || h < kShadow) return opacity;
    auto at = [&](int x, int y) -> std::uint8_t& {
        return opacity[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                       static_cast<std::size_t>(x)];
    };
    // The shadow fades in over its first 4 pixels and, on the right, out over its last 4; the
    // innermost line is the darkest.
    for (int i = 1; i <= kShadow; ++i) {
        for (int j = 4; j < h; ++j) {
            int k = 15 * i;
            if (j <= 7)
                k = 3 * i * (j - 3);
            else if (j >= h - 4)
                k = 3 * i * (h - j);
            at(w - i, j) = static_cast<std::uint8_t>(k);
        }
        for (int j = 4; j <= w - 5; ++j)
            at(j, h - i) = static_cast<std::uint8_t>(j <= 7 ? 3 * i * (j - 3) : 15 * i);
    }
    return opacity;
}

std::shared_ptr<CInfoTip> CInfoTip::New() {
    return std::make_shared<CInfoTip>(Token{});
}

CInfoTip::CInfoTip(Token) {}

CInfoTip::~CInfoTip() {
    Hide();
}

void CInfoTip::About() {
    platform::ShowMessage("CInfoTip\r\nCInfoTip v" + Version());
}

void CInfoTip::Hide() {
    window_.reset();
    handle_ = 0;
    if (TipHidden) TipHidden();
}

platform::FontSpec CInfoTip::TipFont() const {
    if (useSystemFont_) return platform::StatusFont();
    // Weights 900 and 300 of the settings come out as bold and regular faces.
    return platform::FontSpec{fontName_,   fontSize_,      fontBold_,
                              fontItalic_, fontUnderline_, fontStrikethrough_};
}

void CInfoTip::Show(const std::string& text, const std::string& title) {
    ShowAt(platform::CursorPosition(), platform::ScreenSize(), text, title);
}

void CInfoTip::ShowAt(platform::ScreenPoint cursor, platform::TextSize screen, const std::string& textArg,
                      const std::string& titleArg) {
    std::string text;
    const std::string blanks(static_cast<std::size_t>(std::max(tabSize_, 0)), ' ');
    for (char c : textArg.empty() ? text_ : textArg) {
        if (c == '\t')
            text += blanks;
        else
            text += c;
    }
    std::string title = titleArg.empty() ? title_ : titleArg;
    title.erase(std::remove(title.begin(), title.end(), '\t'), title.end());

    if (!window_) {
        window_ = std::make_unique<platform::PopupWindow>(owner_);
        handle_ = NextHandle();
    }
    // Each font is looked up once and the text laid out once: the box is measured from the same
    // layout that is drawn.
    const platform::FontSpec textSpec = TipFont();
    const platform::TextFont textFont(textSpec);
    platform::FontSpec titleSpec = textSpec;
    titleSpec.bold = true;
    std::optional<platform::TextFont> titleFont;
    if (showTitle_) titleFont.emplace(titleSpec);
    const platform::TextBoxFormat layout{0, false, true};
    const platform::TextBlock body(textFont, AsWritten(text), layout);

    // The box is as wide as the text, unless the title is long enough (it is drawn bold) to need
    // the room of 1.4 times its characters: those are measured as the title followed by its
    // own first characters again. The height is always the text's, so that no line is cut.
    platform::TextSize m = body.Size();
    if (!(1.4 * static_cast<double>(title.size()) < static_cast<double>(text.size()))) {
        const auto count = static_cast<std::size_t>(std::nearbyint(1.4 * static_cast<double>(title.size())));
        std::string run = title;
        while (!title.empty() && run.size() < count)
            run += title.substr(0, count - run.size());
        m.width = platform::TextBlock(textFont, AsWritten(run), layout).Size().width;
    }
    // A shown title is never cut: the box is at least as wide as the bold title. Its layout for
    // the drawing gives its width too, unless it breaks lines or ends in a blank.
    std::optional<platform::TextBlock> titleBlock;
    if (showTitle_) {
        titleBlock.emplace(*titleFont, AsWritten(title), layout);
        const std::optional<int> advance = titleBlock->Advance();
        m.width = std::max(m.width, advance ? *advance : titleFont->Measure(title).width);
    }
    const int th = textFont.LineHeight(); // a line's height, whatever its text
    const int padding = padding_;
    const int w = std::max(m.width + 2 * padding, 1);
    const int h = std::max(m.height + padding + (showTitle_ ? th + padding : 0), 1);
    const platform::ScreenPoint at = BalloonPosition(cursor, w, h, padding, screen);
    const int fullW = dropShadow_ ? w + kShadow : w, fullH = dropShadow_ ? h + kShadow : h;

    // The box is filled as the picture is made; the shadow's strips start clear.
    drawing_ = platform::Picture(fullW, fullH, platform::ResolveColour(backColor_));
    platform::Picture& d = drawing_;
    if (dropShadow_) {
        d.FillRect(w, 0, kShadow, fullH, 0);
        d.FillRect(0, h, w, kShadow, 0);
    }
    if (borderStyle_ == 0) {
        const Colour light = platform::ResolveColour(k3DLight), dark = platform::ResolveColour(k3DDarkShadow);
        d.FillRect(0, 0, w - 1, 1, light);
        d.FillRect(0, 0, 1, h - 1, light);
        d.FillRect(w - 1, 0, 1, h, dark);
        d.FillRect(0, h - 1, w, 1, dark);
    } else if (borderStyle_ == 1) {
        const Colour line = platform::ResolveColour(borderColor_);
        d.FillRect(0, 0, w, 1, line);
        d.FillRect(0, h - 1, w, 1, line);
        d.FillRect(0, 0, 1, h, line);
        d.FillRect(w - 1, 0, 1, h, line);
    }
    const int half = HalfPadding(padding);
    int left = padding, top = half, right = w - padding, bottom = h - half;
    int align = 0;
    auto alignment = [&align](std::int32_t wanted) {
        if (wanted >= 0 && wanted <= 2) align = wanted;
        return align;
    };
    {
        // One painter draws the title and the text; it ends before the picture is shown.
        platform::TextPainter painter(d);
        if (showTitle_) {
            painter.Draw(*titleBlock, left, top, right, bottom, platform::ResolveColour(titleColor_),
                         alignment(titleAlignment_));
            const int y1 = top + th + half;
            d.FillRect(left, y1, right - left, 1, platform::ResolveColour(borderColor_));
            top = y1 + half;
        }
        painter.Draw(body, left, top, right, bottom, platform::ResolveColour(foreColor_),
                     alignment(textAlignment_));
    }

    opacity_ = dropShadow_ ? ShadowOpacity(fullW, fullH)
                           : std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        std::fill_n(opacity_.begin() + static_cast<std::ptrdiff_t>(y) * fullW, w, std::uint8_t{255});
    window_->Show(at.x, at.y, drawing_, opacity_);

    if (useTimeOut_) {
        CurrentInfoTip = shared_from_this();
        window_->StartTimer(timeOut_, InfoTipTimerProc);
    }
}

std::shared_ptr<CInfoTip> ShowCardBalloon(platform::NativeWidget* owner, const std::string& text,
                                          const std::string& title) {
    std::shared_ptr<CInfoTip> tip = CInfoTip::New();
    tip->ParenthWnd(owner);
    tip->UseTimeOut(false);
    tip->DropShadow(false);
    tip->ShowTitle(!title.empty());
    tip->title(title);
    tip->text(text);
    tip->DropShadow(true);
    tip->Show("", "");
    return tip;
}

} // namespace controls
