// The information balloon shown next to the pointer for the card under it: an optional bold
// title with a separator line, a block of text, a border and a drop shadow, in a window of its
// own above every other window. An instance is held by a counted reference (New): a tip that is
// timing out stays alive until its countdown hides it, even when its owner let it go.
#pragma once

#include "platform/Fonts.h"
#include "platform/Picture.h"
#include "platform/PopupWindow.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace controls {

// Where a w x h balloon opens for a pointer at `cursor`: 22 pixels below it, moved left to end
// `padding` pixels before the screen's right edge, or above the pointer when it would leave the
// screen at the bottom.
platform::ScreenPoint BalloonPosition(platform::ScreenPoint cursor, int w, int h, int padding,
                                      platform::TextSize screen);

// How dark the 4-pixel shadow of a window of full size w x h is at each pixel, row by row: the
// opacity of black over what lies below (0 where the shadow leaves the desktop unchanged).
std::vector<std::uint8_t> ShadowOpacity(int w, int h);

class CInfoTip : public std::enable_shared_from_this<CInfoTip> {
    struct Token {};

  public:
    static std::shared_ptr<CInfoTip> New();
    explicit CInfoTip(Token);
    ~CInfoTip();
    CInfoTip(const CInfoTip&) = delete;
    CInfoTip& operator=(const CInfoTip&) = delete;

    platform::Colour TitleColor() const { return titleColor_; }
    void TitleColor(platform::Colour c) { titleColor_ = c; }
    void About();
    // Shows or re-shows the balloon at the pointer. An empty argument stands for the stored
    // property; a given one is used for this showing only.
    void Show(const std::string& text = "", const std::string& title = "");
    // Closes the window (when there is one) and raises TipHidden either way.
    void Hide();
    std::string Version() const { return "1.0.1"; }
    std::int32_t TitleAlignment() const { return titleAlignment_; }
    void TitleAlignment(std::int32_t a) { titleAlignment_ = a; }
    const std::string& title() const { return title_; }
    void title(const std::string& t) { title_ = t; }
    bool ShowTitle() const { return showTitle_; }
    void ShowTitle(bool show) { showTitle_ = show; }
    std::int32_t TextAlignment() const { return textAlignment_; }
    void TextAlignment(std::int32_t a) { textAlignment_ = a; }
    bool UseTimeOut() const { return useTimeOut_; }
    void UseTimeOut(bool use) { useTimeOut_ = use; }
    std::int32_t TimeOut() const { return timeOut_; }
    void TimeOut(std::int32_t ms) { timeOut_ = ms; }
    // Not 0 while the balloon's window exists.
    std::int32_t hWnd() const { return handle_; }
    bool DropShadow() const { return dropShadow_; }
    void DropShadow(bool shadow) { dropShadow_ = shadow; }
    std::int32_t TabSize() const { return tabSize_; }
    void TabSize(std::int32_t size) { tabSize_ = size; }
    bool FontStrikethrough() const { return fontStrikethrough_; }
    void FontStrikethrough(bool on) { fontStrikethrough_ = on; }
    bool FontUnderline() const { return fontUnderline_; }
    void FontUnderline(bool on) { fontUnderline_ = on; }
    bool FontItalic() const { return fontItalic_; }
    void FontItalic(bool on) { fontItalic_ = on; }
    bool FontBold() const { return fontBold_; }
    void FontBold(bool on) { fontBold_ = on; }
    std::int32_t fontsize() const { return fontSize_; }
    void fontsize(std::int32_t size) { fontSize_ = size; }
    const std::string& fontname() const { return fontName_; }
    void fontname(const std::string& name) { fontName_ = name; }
    bool UseSystemFont() const { return useSystemFont_; }
    void UseSystemFont(bool use) { useSystemFont_ = use; }
    std::int32_t Padding() const { return padding_; }
    void Padding(std::int32_t padding) { padding_ = padding; }
    platform::Colour BorderColor() const { return borderColor_; }
    void BorderColor(platform::Colour c) { borderColor_ = c; }
    std::int32_t BorderStyle() const { return borderStyle_; }
    void BorderStyle(std::int32_t style) { borderStyle_ = style; }
    platform::Colour ForeColor() const { return foreColor_; }
    void ForeColor(platform::Colour c) { foreColor_ = c; }
    platform::Colour BackColor() const { return backColor_; }
    void BackColor(platform::Colour c) { backColor_ = c; }
    const std::string& text() const { return text_; }
    void text(const std::string& t) { text_ = t; }
    void ParenthWnd(platform::NativeWidget* owner) { owner_ = owner; }
    std::int32_t GetAddress(std::int32_t value) const { return value; }

    std::function<void()> TipHidden;

    // What the last Show drew (shadow included) and with what opacity, and where the window is.
    const platform::Picture& Drawing() const { return drawing_; }
    const std::vector<std::uint8_t>& Opacity() const { return opacity_; }
    const platform::PopupWindow* Window() const { return window_.get(); }
    // Shows as Show does, for a pointer at a given screen position on a screen of a given size.
    void ShowAt(platform::ScreenPoint cursor, platform::TextSize screen, const std::string& text = "",
                const std::string& title = "");

  private:
    platform::FontSpec TipFont() const;

    platform::Colour backColor_ = platform::kSystemColourFlag | 24;
    platform::Colour foreColor_ = platform::kSystemColourFlag | 23;
    std::int32_t borderStyle_ = 0;
    platform::Colour borderColor_ = platform::kSystemColourFlag | 21;
    std::int32_t handle_ = 0;
    platform::NativeWidget* owner_ = nullptr;
    std::string text_;
    std::int32_t padding_ = 5;
    bool useSystemFont_ = true;
    std::string fontName_ = "Arial";
    std::int32_t fontSize_ = 8;
    bool fontBold_ = false;
    bool fontItalic_ = false;
    bool fontUnderline_ = false;
    bool fontStrikethrough_ = false;
    std::int32_t tabSize_ = 8;
    bool dropShadow_ = true;
    std::int32_t timeOut_ = 2500;
    bool useTimeOut_ = true;
    std::int32_t textAlignment_ = 0;
    bool showTitle_ = false;
    std::string title_;
    std::int32_t titleAlignment_ = 0;
    platform::Colour titleColor_ = platform::kSystemColourFlag | 23;

    std::unique_ptr<platform::PopupWindow> window_;
    platform::Picture drawing_;
    std::vector<std::uint8_t> opacity_;
};

// A new balloon for the card under the pointer, owned by a window: no time-out, the title shown
// when there is one, with its shadow; the caller keeps it until the pointer leaves the card.
std::shared_ptr<CInfoTip> ShowCardBalloon(platform::NativeWidget* owner, const std::string& text,
                                          const std::string& title);

} // namespace controls
