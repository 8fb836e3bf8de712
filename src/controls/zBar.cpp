#include "controls/zBar.h"

#include "common/Numbers.h"
#include "controls/TransparentBitBlt.h"
#include "platform/Twips.h"

#include <algorithm>
#include <cmath>

namespace controls {

namespace {

constexpr platform::Colour kGrey = platform::MakeColour(128, 128, 128);
constexpr platform::Colour kWhite = platform::MakeColour(255, 255, 255);
constexpr platform::Colour kBlack = platform::MakeColour(0, 0, 0);
constexpr platform::Colour kButtonFace = platform::MakeColour(212, 208, 200);
constexpr platform::Colour kButtonShadow = platform::MakeColour(128, 128, 128);
constexpr int kArrowButton = 17;
constexpr int kScrollStep = 20;
constexpr int kItemGap = 5;
constexpr int kFirstItemTop = 4;

int Half(double value) {
    return RoundToInt32(value);
}

// An arrow button's face: a raised square with a black triangle of rows 1, 3, 5 and 7 pixels.
platform::Picture ArrowFace(bool up) {
    platform::Picture face(kArrowButton, kArrowButton, kButtonFace);
    face.DrawLine(0, 0, kArrowButton - 1, 0, kWhite);
    face.DrawLine(0, 0, 0, kArrowButton - 1, kWhite);
    face.DrawLine(0, kArrowButton - 1, kArrowButton - 1, kArrowButton - 1, kButtonShadow);
    face.DrawLine(kArrowButton - 1, 0, kArrowButton - 1, kArrowButton - 1, kButtonShadow);
    // The 9-pixel-wide arrow picture, centred.
    const int pictureHeight = up ? 7 : 8;
    const int left = (kArrowButton - 9) / 2;
    const int top = (kArrowButton - pictureHeight) / 2;
    for (int row = 0; row < 4; ++row) {
        const int width = 2 * row + 1;
        const int y = top + 2 + (up ? row : 3 - row);
        face.FillRect(left + 4 - row, y, width, 1, kBlack);
    }
    return face;
}

} // namespace

zBar::zBar(platform::NativeWidget* parent)
    : surface_(parent), topShade_(surface_.Handle()), linePict_(surface_.Handle()), upBtn_(surface_.Handle()),
      downBtn_(surface_.Handle()), imgShape_(surface_.Handle()) {
    surface_.SetBackStyle(1);
    surface_.SetBackColor(kGrey);
    for (platform::ControlSurface* strip : {&topShade_, &linePict_}) {
        strip->SetBackStyle(1);
        strip->SetBackColor(kGrey);
    }
    for (auto* button : {&upBtn_, &downBtn_}) {
        button->SetBackStyle(1);
        button->SetSizePixels(kArrowButton, kArrowButton);
        button->SetPicture(ArrowFace(button == &upBtn_));
    }
    upBtn_.OnClick = [this] { ScrollUp(); };
    downBtn_.OnClick = [this] { ScrollDown(); };
    imgShape_.Surface().SetVisible(false);
    surface_.OnResize = [this] { Resize(); };
    Resize();
}

zBar::~zBar() = default;

void zBar::Place(platform::ControlSurface& s, int left, int top, int width, int height) {
    s.Move(platform::TwipsFromPixelsX(left), platform::TwipsFromPixelsY(top));
    s.SetSizePixels(std::max(0, width), std::max(0, height));
}

int zBar::TopOf(const platform::ControlSurface& s) const {
    return s.Top() / platform::kTwipsPerPixelY;
}

zFlatButton& zBar::GroupButton(int group) {
    return *At(group).button;
}

platform::ControlSurface& zBar::GroupPicture(int group) {
    Group& g = At(group);
    Show(g);
    return *g.picture;
}

void zBar::Paint() {
    surface_.Clear();
    platform::Picture& p = surface_.Drawing();
    const int W = surface_.ScaleWidth();
    const int H = surface_.ScaleHeight();
    p.DrawLine(1, 0, 1, H - 1, kBlack);
    p.DrawLine(W - 1, 0, W - 1, H, kWhite);
    surface_.Refresh();
    Place(topShade_, 2, 0, W - 4, topShade_.ScaleHeight());
    Layout(false);
}

void zBar::Resize() {
    const int W = surface_.ScaleWidth();
    const int H = surface_.ScaleHeight();
    Place(linePict_, 1, H - 2, W - 2, linePict_.ScaleHeight());
    platform::ControlSurface& frame = imgShape_.Surface();
    Place(frame, 15, TopOf(frame), W - 50, frame.ScaleHeight());
    Paint();
}

void zBar::Show(Group& g) {
    if (g.shown && g.picture->ScaleHeight() == g.height) return;
    g.picture->SetSizePixels(g.picture->ScaleWidth(), g.height);
    platform::Picture& drawing = g.picture->Drawing();
    drawing.Fill(kGrey);
    drawing.Copy(0, 0, g.canvas.Width(), std::min(g.height, g.canvas.Height()), g.canvas, 0, 0);
    g.picture->Refresh();
    g.shown = true;
}

void zBar::Layout(bool rebuild) {
    const int W = surface_.ScaleWidth();
    const int H = surface_.ScaleHeight();
    const int N = GroupCount();
    const int c = currentGroup_;
    for (int g = 1; g <= N; ++g) {
        platform::ControlSurface& button = At(g).button->Surface();
        const int h = button.ScaleHeight();
        const int top = g <= c ? (h + 2) * (g - 1) + 2 : H - (h + 2) * (N - g + 1);
        Place(button, 2, top, W - 4, h);
    }
    if (c == 0) return;
    const platform::ControlSurface& open = At(c).button->Surface();
    const int openTop = TopOf(open);
    const int openHeight = open.ScaleHeight();
    const int B = c == N ? H - 2 : TopOf(At(c + 1).button->Surface());
    Place(upBtn_, W - kArrowButton - 4, openTop + 2 + openHeight + 2, kArrowButton, kArrowButton);
    const int upTop = TopOf(upBtn_);
    Place(topShade_, topShade_.Left() / platform::kTwipsPerPixelX, 0, topShade_.ScaleWidth(), upTop - 2);
    topShade_.SendToBack();
    Place(downBtn_, W - kArrowButton - 4, B - kArrowButton - 2, kArrowButton, kArrowButton);
    Place(linePict_, linePict_.Left() / platform::kTwipsPerPixelX, B, linePict_.ScaleWidth(), H - B);
    linePict_.SendToBack();
    for (int g = 1; g <= N; ++g) {
        Group& group = At(g);
        if (g != c) {
            group.picture->SetVisible(false);
            continue;
        }
        const int width = group.button->Surface().ScaleWidth() - 2;
        const int top = rebuild ? openTop + openHeight : TopOf(*group.picture);
        if (group.picture->ScaleWidth() != width) group.shown = false;
        Place(*group.picture, 4, top, width, group.picture->ScaleHeight());
        group.width = width;
        Show(group);
        group.picture->SetVisible(true);
        group.picture->SendToBack();
    }
}

std::int16_t zBar::AddGroup(const std::string& caption) {
    const int n = GroupCount() + 1;
    Group group;
    group.button = std::make_unique<zFlatButton>(surface_.Handle());
    group.picture = std::make_unique<platform::ControlSurface>(surface_.Handle());
    platform::ControlSurface& picture = *group.picture;
    picture.SetBackStyle(1);
    picture.SetBackColor(kGrey);
    // A new group's picture takes the first group's present size, not its items.
    if (!groups_.empty()) {
        group.width = groups_.front().width;
        group.height = groups_.front().height;
    } else {
        group.width = std::max(0, surface_.ScaleWidth() - 6);
    }
    picture.SetSizePixels(group.width, group.height);
    group.canvas = platform::Picture(group.width, group.height, kGrey);
    picture.SetVisible(false);
    picture.OnMouseDown = [this, n](const platform::MouseEvent& e) {
        PressGroupPicture(n, static_cast<int>(e.y));
    };
    picture.OnDblClick = [this] { DoubleClickGroupPicture(); };
    group.button->MouseUp = [this, n](std::int16_t, std::int16_t, float, float) { GroupButtonReleased(n); };
    groups_.push_back(std::move(group));

    zFlatButton& button = *groups_.back().button;
    const int W = surface_.ScaleWidth();
    Place(button.Surface(), 2, (kButtonHeight + 2) * (n - 1) + 2, W - 4, kButtonHeight);
    button.Surface().SetVisible(true);
    button.Enabled(true);
    button.caption(caption);
    currentGroup_ = static_cast<std::int16_t>(n);
    Layout(true);
    return 0;
}

bool zBar::AddImage(std::int16_t id, const std::string& pictureFile, const std::string& caption,
                    bool transparent, platform::Colour transColor) {
    const int N = GroupCount();
    if (N == 0 || itemCount_ >= kMaxItems) return true;
    Group& group = At(N);
    int y = kFirstItemTop;
    for (int i = itemCount_; i >= 1; --i)
        if (items_[i].group == N) {
            y = items_[i].top + items_[i].height + kItemGap;
            break;
        }
    const int allowance = showOnlyImages_ ? 10 : 25;
    int pictureHeight = 0;
    if (!showOnlyText_) {
        auto picture = platform::Picture::LoadShared(pictureFile);
        if (!picture) {
            ++itemCount_;
            return false;
        }
        tmpPict_ = std::move(*picture);
        pictureHeight = tmpPict_.Height();
    }
    int height = group.height;
    if (pictureHeight + y + allowance > height) height += pictureHeight + allowance;
    // A group picture cannot grow past the largest picture: the item would not be shown.
    if (height > platform::Picture::kMaxSide) return true;
    ++itemCount_;
    if (height > group.canvas.Height()) {
        const int room = std::min(platform::Picture::kMaxSide, std::max(height, 2 * group.canvas.Height()));
        group.canvas.Resize(group.width, room, kGrey);
    }
    group.height = height;
    const int pictureWidth = group.width;
    if (!showOnlyText_) {
        const int x = Half((pictureWidth - tmpPict_.Width()) / 2.0);
        if (transparent)
            DrawTransparentBitmap(group.canvas, x, y, tmpPict_.Width(), tmpPict_.Height(), tmpPict_, 0, 0,
                                  transColor);
        else
            group.canvas.Copy(x, y, tmpPict_.Width(), tmpPict_.Height(), tmpPict_, 0, 0);
    }
    Item& item = items_[itemCount_];
    item.top = ClampToInt16(y);
    int textY = y + pictureHeight + (showOnlyText_ ? 1 : 4);
    if (!showOnlyImages_) {
        const platform::TextSize size = platform::MeasureText(DesignFont(), caption);
        group.canvas.DrawText(Half((pictureWidth - size.width) / 2.0), textY, caption, DesignFont(), kWhite);
        textY += size.height;
    }
    item.height = ClampToInt16(textY - y);
    item.group = static_cast<std::int16_t>(N);
    item.id = id;
    group.shown = false;
    return true;
}

void zBar::SelectGroup(std::int16_t group) {
    if (group < 1 || group > GroupCount()) return;
    currentGroup_ = group;
    Layout(true);
}

void zBar::PressGroupPicture(int group, int y) {
    selectedItem_ = -1;
    for (int i = 1; i <= itemCount_; ++i) {
        const Item& item = items_[i];
        if (item.group != group || item.top + item.height < y) continue;
        selectedItem_ = static_cast<std::int16_t>(i);
        platform::ControlSurface& frame = imgShape_.Surface();
        platform::ControlSurface& picture = *At(group).picture;
        frame.SendToBack();
        const int height = showOnlyImages_ ? item.height : item.height + 6;
        Place(frame, frame.Left() / platform::kTwipsPerPixelX, item.top + TopOf(picture) - 2,
              frame.ScaleWidth(), height);
        picture.SendToBack();
        frame.SetVisible(true);
        return;
    }
}

void zBar::DoubleClickGroupPicture() {
    if (selectedItem_ == -1) return;
    std::int16_t id = items_[selectedItem_].id;
    if (ImageSelected) ImageSelected(id);
}

void zBar::GroupButtonReleased(int group) {
    currentGroup_ = static_cast<std::int16_t>(group);
    imgShape_.Surface().SetVisible(false);
    Layout(true);
}

void zBar::ScrollDown() {
    if (currentGroup_ == 0) return;
    platform::ControlSurface& picture = *At(currentGroup_).picture;
    picture.SetTop(picture.Top() - kScrollStep * platform::kTwipsPerPixelY);
    imgShape_.Surface().SetVisible(false);
}

void zBar::ScrollUp() {
    if (currentGroup_ == 0) return;
    platform::ControlSurface& picture = *At(currentGroup_).picture;
    if (TopOf(picture) + kScrollStep >= TopOf(upBtn_)) return;
    picture.SetTop(picture.Top() + kScrollStep * platform::kTwipsPerPixelY);
    imgShape_.Surface().SetVisible(false);
}

void zBar::ShowOnlyImages(bool only) {
    showOnlyImages_ = only;
    Changed("ShowOnlyImages");
}
void zBar::ShowOnlyText(bool only) {
    showOnlyText_ = only;
    Changed("ShowOnlyText");
}

void zBar::ReadProperties(const platform::PropertyBag& bag, const platform::Font& ambient) {
    ReadLook(bag, ambient);
    showOnlyImages_ = bag.ReadInt("ShowOnlyImages", 0) != 0;
    showOnlyText_ = bag.ReadInt("ShowOnlyText", 0) != 0;
}

void zBar::WriteProperties(platform::PropertyBag& bag, const platform::Font& ambient) const {
    WriteLook(bag, ambient);
    bag.WriteInt("ShowOnlyImages", showOnlyImages_ ? -1 : 0, 0);
    bag.WriteInt("ShowOnlyText", showOnlyText_ ? -1 : 0, 0);
}

} // namespace controls
