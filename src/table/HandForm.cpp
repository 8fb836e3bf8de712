#include "table/HandForm.h"

#include "common/Helpers.h"
#include "common/Numbers.h"
#include "controls/MInfoTip.h"
#include "platform/Keys.h"
#include "platform/Twips.h"
#include "services/LogMgmt.h"
#include "state/CaptionMgmt.h"
#include "state/Helpers.h"
#include "state/TableState.h"
#include "table/CardActions.h"
#include "table/CardInfoForm.h"
#include "table/CardTags.h"
#include "table/HandCards.h"
#include "table/InfoPanel.h"
#include "table/MainForm.h"
#include "table/Outbox.h"
#include "table/TableSetup.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

std::int16_t HandControlCount = 0;
std::int16_t HandGrabX = -1;
std::int16_t HandGrabY = -1;
bool HandDropFaceDown = false;

namespace {

std::unique_ptr<HandForm> g_hand;

// The place and size of the window when it was last closed in this game; the width lives with
// the table's state (HandWindowWidth), which a new game forgets.
int g_savedLeft = 0;
int g_savedTop = 0;
int g_savedHeight = 0;

// The window's first size in a game.
constexpr int kFirstWidth = 9000;
constexpr int kFirstHeight = 6000;

// Each card of the cascade lies this far right of the one before, and a fifth of the tallest
// card's height lower (at least as far): the title band at the top of every card shows.
constexpr int kCascadeStep = 150;
constexpr int kCascadeRows = 5;
// How soon a balloon already on screen moves to the card the mouse went onto.
constexpr int kFollowMs = 5;
// The designed mask colour of a card element, until a card's deck sets its own.
constexpr platform::Colour kDefaultMask = platform::MakeColour(128, 128, 128);

platform::ControlArray<controls::TranspImg>::Factory CardsIn(platform::NativeWidget* parent) {
    return [parent](const controls::TranspImg&, const controls::TranspImg&) {
        auto image = std::make_unique<controls::TranspImg>(parent);
        image->Surface().SetVisible(false);
        return image;
    };
}

} // namespace

HandForm::HandForm() : crd(CardsIn(BasePict.Handle())) {
    form.SetCaption("Hand");
    form.SetKeyPreview(true);
    BasePict.SetBorderStyle(0);
    auto first = std::make_unique<controls::TranspImg>(BasePict.Handle());
    first->Surface().SetVisible(false);
    WireElement(0, *first);
    crd.Place(0, std::move(first));
    crd.SetName("crd");
    crd.OnLoaded = [this](int index, controls::TranspImg& element) { WireElement(index, element); };
    ToolTipTimer.SetEnabled(false);
    ToolTipTimer.OnTimer = [this] { ToolTipTimer_Timer(); };

    form.OnLoad = [this] { Form_Load(); };
    form.OnUnload = [this](bool&) { Form_Unload(); };
    form.OnResize = [this] { BasePict.Move(0, 0, form.ScaleWidth(), form.ScaleHeight()); };
    form.OnMouseMove = [this](const platform::MouseEvent&) { HideHandCardTip(); };
    form.OnKeyDown = [this](int keyCode, int shift) {
        if (keyCode == platform::keys::kEscape)
            form.Unload();
        else if (keyCode == platform::keys::kA && shift == platform::keys::kCtrl)
            ArrangeHandCards();
    };
    BasePict.OnMouseMove = [this](const platform::MouseEvent&) {
        hovered_.clear();
        HideHandCardTip();
    };

    Move2Desktop.OnClick = [this] { StartDragToTable(false); };
    Move2DesktopFaceDown.OnClick = [this] { StartDragToTable(true); };
    InfoMenuItem.OnClick = [this] {
        if (const std::int16_t card = CardOfElement(menuElement_)) ShowCardInfoForm(card);
    };
    DiscardAction.OnClick = [this] { DiscardCardProcedure(); };
}

HandForm::~HandForm() {
    HideHandCardTip();
}

void HandForm::WireElement(int index, controls::TranspImg& element) {
    element.MouseDown = [this, index](std::int16_t button, std::int16_t shift, platform::PixelPoint at) {
        crd_MouseDown(index, button, shift, at);
    };
    element.MouseMove = [this, index](std::int16_t, std::int16_t, platform::PixelPoint at) {
        crd_MouseMove(index, at);
    };
    element.MouseUp = [this](std::int16_t, std::int16_t, platform::PixelPoint) { crd_MouseUp(); };
    element.DblClick = [this, index] { crd_DblClick(index); };
    // Where the pointer first meets the dragged card is where it holds it; passing over another
    // card on the way says nothing about that.
    element.Surface().OnDragOver = [this, index](const platform::DragEvent& e) {
        if (HandGrabX != -1 || index != desktopDrag_) return;
        HandGrabX = ClampToInt16(static_cast<long long>(e.x));
        HandGrabY = ClampToInt16(static_cast<long long>(e.y));
    };
}

std::int16_t HandForm::CardOfElement(int element) const {
    return CardShownBy(crd(element));
}

std::int16_t HandForm::NewElement() {
    const std::int16_t element = HandControlCount;
    if (!crd(element)) crd.Load(element);
    HandControlCount = ClampToInt16(HandControlCount + 1);
    return element;
}

void HandForm::ReleaseElementOf(std::int16_t card) {
    for (int index : crd.Indexes()) {
        if (CardOfElement(index) != card) continue;
        controls::TranspImg& image = *crd(index);
        image.Surface().SetTag("");
        image.Surface().SetVisible(false);
        image.reset();
    }
    if (CardOfElement(dragged_) == 0) dragged_ = -1;
}

void HandForm::Form_Load() {
    dragged_ = -1;
    menuElement_ = -1;
    desktopDrag_ = -1;
    // Where it was last closed; the first time, centred over the table.
    if (HandWindowWidth > 0)
        form.Move(g_savedLeft, g_savedTop, HandWindowWidth, g_savedHeight);
    else
        form.Resize(kFirstWidth, kFirstHeight);
    if (controls::TranspImg* first = crd(0)) {
        first->MaskColor(kDefaultMask);
        first->Enabled(true);
    }
    FillHandWindow();
    if (HandWindowWidth < 1) ArrangeHandCards();
    InfoMenuItem.SetVisible(Game.card_info != kFalse);
    DiscardAction.SetVisible(GetBoolDirective("CARDMENU", "useDiscard", true));
    if (const MainForm* table = TableWindow()) BasePict.SetBackColor(table->BasePict.BackColor());
    BasePict.Move(0, 0, form.ScaleWidth(), form.ScaleHeight());
    ToolTipTimer.SetInterval(controls::CardTooltipDelay());
    ToolTipTimer.SetEnabled(true);
    hovered_.clear();
    lastTip_.clear();
    HideHandCardTip();
}

void HandForm::Form_Unload() {
    g_savedLeft = form.Left();
    g_savedTop = form.Top();
    g_savedHeight = form.Height();
    HandWindowWidth = ClampToInt16(form.Width());
    ToolTipTimer.SetEnabled(false);
    HideHandCardTip();
    // The next opening builds the elements afresh from the card table.
    for (int index : crd.Indexes())
        if (index > 0) crd.Unload(index);
    if (controls::TranspImg* first = crd(0)) {
        first->Surface().SetTag("");
        first->Surface().SetVisible(false);
    }
    dragged_ = -1;
    menuElement_ = -1;
    desktopDrag_ = -1;
    hovered_.clear();
}

void HandForm::FillHandWindow() {
    int n = 0;
    // Only a game that keeps its hands here: elsewhere a held card's control is a table control.
    if (Game.external_hand != kFalse) {
        for (int number = 1; number <= std::min<int>(Game.totalCards, kMaxCards); ++number) {
            const auto card = static_cast<std::int16_t>(number);
            CardRecord& c = Cards[card];
            if (c.owner != Game.CurrentPlayer || c.inHand == kFalse) continue;
            ++n;
            const int element = n - 1;
            if (!crd(element)) crd.Load(element);
            controls::TranspImg* image = crd(element);
            if (!image) break;
            LoadHandCardPicture(*image, card);
            platform::ControlSurface& s = image->Surface();
            if (c.handLeft != -1) {
                s.Move(c.handLeft, c.handTop);
            } else {
                s.Move(200 * n, 200 * n);
                c.handLeft = ClampToInt16(s.Left());
                c.handTop = ClampToInt16(s.Top());
            }
            s.SetVisible(true);
            s.BringToFront();
            s.SetTag(std::to_string(card));
            c.controlIndex = static_cast<std::int16_t>(element);
        }
    }
    HandControlCount = ClampToInt16(n);
}

void HandForm::ArrangeHandCards() {
    controls::TranspImg* previous = crd(0);
    if (!previous) return;
    int tallest = 0;
    for (int index : crd.Indexes())
        if (CardOfElement(index) != 0)
            tallest = std::max(tallest, MainForm::PictureRectOf(*crd(index)).height);
    const int down = std::max(kCascadeStep, tallest / kCascadeRows);
    previous->Surface().Move(200, 100);
    if (const std::int16_t card = CardOfElement(0)) {
        Cards[card].handLeft = 200;
        Cards[card].handTop = 100;
    }
    for (int index : crd.Indexes()) {
        const std::int16_t card = CardOfElement(index);
        if (index == 0 || card == 0) continue;
        platform::ControlSurface& s = crd(index)->Surface();
        s.Move(previous->Surface().Left() + kCascadeStep, previous->Surface().Top() + down);
        s.BringToFront();
        Cards[card].handLeft = ClampToInt16(s.Left());
        Cards[card].handTop = ClampToInt16(s.Top());
        previous = crd(index);
    }
}

void HandForm::crd_MouseDown(int index, int button, int shift, platform::PixelPoint at) {
    controls::TranspImg* image = crd(index);
    if (!image) return;
    if (button == platform::keys::kLeftButton) {
        dragged_ = index;
        grab_ = {static_cast<float>(static_cast<int>(at.x)), static_cast<float>(static_cast<int>(at.y))};
        sendToBack_ = shift == platform::keys::kShift;
        if (sendToBack_)
            image->Surface().SendToBack();
        else
            image->Surface().BringToFront();
        return;
    }
    menuElement_ = index;
    Move2DesktopFaceDown.SetEnabled(GetBoolDirective("CARDMENU", "useFlip", true));
    hovered_.clear();
    HideHandCardTip();
    form.PopupMenu(ActionsMenu);
}

void HandForm::crd_MouseMove(int index, platform::PixelPoint at) {
    const std::int16_t card = CardOfElement(index);
    std::string hovered = card == 0 ? std::string() : std::to_string(card);
    // A balloon follows the mouse onto the next card at once, not after the whole delay.
    if (CTipH && hovered != hovered_) ToolTipTimer.SetInterval(kFollowMs);
    hovered_ = std::move(hovered);
    if (dragged_ != -1 && dragged_ == index && card != 0) {
        platform::ControlSurface& s = crd(index)->Surface();
        // The card stays inside the window, where it can be taken again.
        const Shift allowed = ClampedShift(MainForm::PictureRectOf(*crd(index)),
                                           static_cast<int>((at.x - grab_.x) * platform::kTwipsPerPixelX),
                                           static_cast<int>((at.y - grab_.y) * platform::kTwipsPerPixelY),
                                           {0, 0, BasePict.Width(), BasePict.Height()});
        if (allowed.dx != 0 || allowed.dy != 0) s.Move(s.Left() + allowed.dx, s.Top() + allowed.dy);
        Cards[card].handLeft = ClampToInt16(s.Left());
        Cards[card].handTop = ClampToInt16(s.Top());
    }
    if (card != 0) ShowCardInfo(card);
}

void HandForm::crd_MouseUp() {
    dragged_ = -1;
    sendToBack_ = false;
}

void HandForm::crd_DblClick(int index) {
    const std::int16_t card = CardOfElement(index);
    if (card == 0 || Cards[card].deck < 0 || Cards[card].deck >= kMaxDecks) return;
    if (Game.decks[Cards[card].deck].zoom == 100.0f) return;
    if (CardActions* actions = Actions()) actions->ZoomOn(card);
}

void HandForm::StartDragToTable(bool faceDown) {
    controls::TranspImg* image = crd(menuElement_);
    if (!image || CardOfElement(menuElement_) == 0) return;
    HandGrabX = -1;
    HandDropFaceDown = faceDown;
    desktopDrag_ = menuElement_;
    image->Surface().Drag();
}

void HandForm::DiscardCardProcedure() {
    const int element = menuElement_;
    const std::int16_t card = CardOfElement(element);
    if (card == 0) return;
    DiscardCardProcedure_body(card);
    LogCardDiscarded(card);
    Outbox().SendHandDiscard(card, static_cast<std::int16_t>(element));
}

void HandForm::DiscardCardProcedure_body(std::int16_t card) {
    // Only a held card: a card elsewhere would be in two places at once.
    if (!CardTable::Contains(card) || Cards[card].inHand == kFalse) return;
    const std::int16_t deck = Cards[card].deck;
    if (deck < 0 || deck >= kMaxDecks || deck >= Game.deckCount) return;
    if (HandForm* hand = LoadedHandWindow()) hand->ReleaseElementOf(card);
    CardRecord& c = Cards[card];
    c.inDiscardPile = kTrue;
    c.faceShown = kFalse;
    c.pilePosition = Game.nextDiscardPositions[deck];
    c.inHand = kFalse;
    c.controlIndex = -1;
    c.rotation = 0;
    Game.nextDiscardPositions[deck] = ClampToInt16(Game.nextDiscardPositions[deck] + 1);
    Game.lastDiscarded[deck] = card;
    UpdateHandSizeCaptions();
    if (TableWindow()) {
        LoadDeckImages(true);
        UpdateDeckCountCaption(deck);
    }
}

void HandForm::ToolTipTimer_Timer() {
    if (platform::ActiveForm() != &form) {
        HideHandCardTip();
        return;
    }
    if (hovered_.empty() || dragged_ != -1) {
        HideHandCardTip();
        lastTip_.clear();
        ToolTipTimer.SetInterval(controls::CardTooltipDelay());
        return;
    }
    // The balloon on screen is the hovered card's: nothing to do until the mouse moves on (which
    // brings the next tick near) or the window loses the focus. Ticking fast here would cost an
    // idle window's time again and again.
    ToolTipTimer.SetInterval(controls::CardTooltipDelay());
    if (hovered_ == lastTip_ && CTipH) return;
    const std::string tip = CardTooltipText(CardOfTag(hovered_));
    if (CountFields(tip, "|") > 1)
        ShowHandCardTip(GetField(tip, 2, "|"), GetField(tip, 1, "|"));
    else
        ShowHandCardTip(tip, "");
    lastTip_ = hovered_;
}

void HandForm::ShowHandCardTip(const std::string& text, const std::string& title) {
    CTipH = controls::ShowCardBalloon(form.Handle(), text, title);
}

void HandForm::HideHandCardTip() {
    if (!CTipH) return;
    CTipH->Hide();
    CTipH.reset();
}

HandForm& HandWindow() {
    if (!g_hand) g_hand = std::make_unique<HandForm>();
    g_hand->form.Load();
    return *g_hand;
}

HandForm* LoadedHandWindow() {
    return g_hand && g_hand->form.Loaded() ? g_hand.get() : nullptr;
}

void ShowHandForm() {
    if (Game.external_hand == kFalse) return;
    HandForm& hand = HandWindow();
    KeepAboveTable(hand.form);
    hand.form.Show();
    hand.form.Activate();
}

void UnloadHandForm() {
    if (g_hand) g_hand->form.Unload();
}

void ForgetHandForm() {
    UnloadHandForm();
    HandWindowWidth = -1;
}

void DestroyHandForm() {
    UnloadHandForm();
    g_hand.reset();
}
