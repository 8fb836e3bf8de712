#include "table/DiscardPileForm.h"

#include "common/Numbers.h"
#include "platform/Keys.h"
#include "platform/Picture.h"
#include "services/LogMgmt.h"
#include "state/DecksMgmt.h"
#include "state/GameMgmt.h"
#include "state/TableState.h"
#include "table/CardActions.h"
#include "table/HandCards.h"
#include "table/MainForm.h"
#include "table/Outbox.h"
#include "table/TableSetup.h"

#include <utility>

#include <algorithm>

namespace {

std::unique_ptr<DiscardForm> g_discard;

constexpr int kMargin = 100;
constexpr int kGap = 100;

std::string FacePath(std::int16_t card) {
    return GameImagePath(Cards[card].image);
}

// A picture's size in twips; a missing file counts as a small square.
std::pair<int, int> PictureSize(const std::string& file) {
    const auto picture = platform::Picture::LoadShared(file);
    const int w = picture ? picture->Width() : 20;
    const int h = picture ? picture->Height() : 20;
    return {platform::TwipsFromPixelsX(std::max(w, 1)), platform::TwipsFromPixelsY(std::max(h, 1))};
}

} // namespace

void DiscardForm::Open(std::int16_t deck) {
    if (!ValidDeck(deck)) return;
    g_discard.reset();
    g_discard = std::make_unique<DiscardForm>(deck);
    KeepAboveTable(g_discard->form);
    g_discard->form.Show();
    g_discard->form.Activate();
}

DiscardForm* DiscardForm::Current() {
    return g_discard.get();
}

void DiscardForm::CloseCurrent() {
    g_discard.reset();
}

DiscardForm::DiscardForm(std::int16_t deck) : deck_(deck) {
    form.SetCaption("Discard Pile");
    for (int k = 0; k < 2; ++k) {
        auto picture = std::make_unique<platform::Image>(form.Handle());
        picture->OnMouseUp = [this, k](const platform::MouseEvent& e) { DiscardPile_MouseUp(k, e.button); };
        DiscardPile[static_cast<std::size_t>(k)] = std::move(picture);
    }
    Move2HandMenuItem.OnClick = [this] { Move2HandMenuItem_Click(); };
    if (!ValidDeck(deck_)) return;
    const std::string& empty = Game.discardImages[deck_];
    const bool resize = Game.decks[deck_].resize != kFalse;
    const int last = LastPosition();
    // A deck whose piles are drawn at one size shows both pictures at the size of its top card.
    const std::string& model = resize && last >= 1 ? PictureAt(last) : empty;
    const auto [width, height] = PictureSize(model);
    for (int k = 0; k < 2; ++k) {
        platform::Image& picture = *DiscardPile[static_cast<std::size_t>(k)];
        picture.SetStretch(true);
        picture.Move(kMargin + k * (width + kGap), kMargin, width, height);
        picture.SetVisible(true);
    }
    form.Resize(2 * width + 600, height + 1000);
    current_ = last;
    Show(0, PictureAt(current_));
    Show(1, empty);
    if (const MainForm* table = TableWindow()) form.SetBackColor(table->BasePict.BackColor());
}

int DiscardForm::LastPosition() const {
    return ValidDeck(deck_) ? Game.nextDiscardPositions[deck_] - 1 : 0;
}

std::string DiscardForm::PictureAt(int position) const {
    if (!ValidDeck(deck_)) return "";
    const std::int16_t card =
        position >= 1 ? FindCard(deck_, ClampToInt16(position), true) : std::int16_t{-1};
    return card == -1 ? Game.discardImages[deck_] : FacePath(card);
}

void DiscardForm::Show(int picture, const std::string& file) {
    const auto k = static_cast<std::size_t>(picture);
    shown_[k] = file;
    const auto loaded = platform::Picture::LoadShared(file);
    DiscardPile[k]->SetPicture(loaded ? *loaded : platform::Picture());
}

void DiscardForm::DiscardPile_MouseUp(int picture, int button) {
    if (button == platform::keys::kRightButton) {
        if (!ValidDeck(deck_) || Game.decks[deck_].chooseCardFromDiscardPile == kFalse) return;
        menuPosition_ = picture == 0 ? current_ : current_ + 1;
        form.PopupMenu(DiscardMenu);
        return;
    }
    if (picture == 1) {
        if (current_ >= LastPosition()) return;
        Show(0, shown_[1]);
        ++current_;
        Show(1, PictureAt(current_ + 1));
    } else {
        if (current_ < 1) return;
        Show(1, shown_[0]);
        --current_;
        Show(0, PictureAt(current_));
    }
}

void DiscardForm::Move2HandMenuItem_Click() {
    const std::int16_t deck = deck_;
    if (!ValidDeck(deck) || menuPosition_ < 1) return;
    const auto position = ClampToInt16(menuPosition_);
    std::int16_t card = FindCard(deck, position, true);
    if (card == -1 || CardActions::HandIsFull()) return;
    const std::int16_t player = Game.CurrentPlayer;
    if (Game.external_hand != kFalse) {
        Outbox().SendCardToHand(card, -1, player);
        // The send let window events run (the other side's commands wait until the action is
        // over): the card is looked for again.
        if (FindCard(deck, position, true) != card) return;
        MoveCardToHandWindow(card, -1);
    } else {
        const std::int16_t control = TakePileCardToTable(card, player, 1);
        const MainForm* table = TableWindow();
        const auto* image = table ? table->crd(control) : nullptr;
        if (image)
            Outbox().SendCardToWindowHand(card, image->Surface().Top(), image->Surface().Left(), player);
    }
    UpdateDIscardList(position, deck);
    LogCardDrawn(card, true);
    UpdateDeckCountCaption(deck);
    Outbox().SendDiscardToHand(position, deck);
    // The window goes: the sends may have closed it already.
    if (g_discard.get() == this) g_discard.reset();
}

void DiscardForm::UpdateDIscardList(std::int16_t position, std::int16_t deck) {
    if (!ValidDeck(deck)) return;
    const int last = Game.nextDiscardPositions[deck] - 1;
    if (position < 1 || position > last || FindCard(deck, position, true) != -1) return;
    for (int p = position + 1; p <= last; ++p) {
        const std::int16_t card = FindCard(deck, ClampToInt16(p), true);
        if (card != -1) Cards[card].pilePosition = ClampToInt16(p - 1);
    }
    Game.nextDiscardPositions[deck] = ClampToInt16(last);
    // The pile's top is its last card now; a card that left it is no longer its top.
    const std::int16_t top = last - 1 >= 1 ? FindCard(deck, ClampToInt16(last - 1), true) : std::int16_t{-1};
    Game.lastDiscarded[deck] = top;
    if (CardActions* actions = Actions()) actions->ShowPileTop(deck);
}
