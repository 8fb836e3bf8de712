#include "table/ShowCardsForm.h"

#include "common/GraphicsMgmt.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "controls/ImageInfo.h"
#include "platform/Keys.h"
#include "platform/Twips.h"
#include "services/LogMgmt.h"
#include "state/CaptionMgmt.h"
#include "state/DecksMgmt.h"
#include "state/GameMgmt.h"
#include "table/CardActions.h"
#include "table/HandCards.h"
#include "table/MainForm.h"
#include "table/Outbox.h"
#include "table/TableSetup.h"

#include <algorithm>
#include <cstdio>

namespace {

std::unique_ptr<ShowCardsForm> g_viewer;

constexpr int kGap = 100;

} // namespace

void ShowCardsForm::Open(const std::vector<std::int16_t>& cards, std::int16_t deck,
                         const std::string& caption, bool modal) {
    g_viewer.reset();
    g_viewer = std::make_unique<ShowCardsForm>(cards, deck);
    if (!caption.empty()) g_viewer->form.SetCaption(caption);
    if (modal) {
        g_viewer->form.ShowModal();
        g_viewer.reset();
    } else {
        KeepAboveTable(g_viewer->form);
        g_viewer->form.Show();
        g_viewer->form.Activate();
    }
}

ShowCardsForm* ShowCardsForm::Current() {
    return g_viewer.get();
}

void ShowCardsForm::CloseCurrent() {
    g_viewer.reset();
}

ShowCardsForm::ShowCardsForm(const std::vector<std::int16_t>& cards, std::int16_t deck) : deck_(deck) {
    form.SetCaption("View cards");
    for (std::int16_t card : cards) {
        if (!CardTable::Contains(card)) continue;
        const CardRecord& c = Cards[card];
        cards_.push_back({card, c.owner, c.pilePosition, c.inDiscardPile, c.controlIndex});
    }
    marked_.assign(cards_.size() + 1, false);
    int width = 0;
    int height = 0;
    if (!cards_.empty()) {
        const std::int16_t first = cards_.front().card;
        const int d = Cards[first].deck;
        if (IsDeckSlot(d)) {
            backPicture_ = Game.backImages[d];
            emptyPicture_ = Game.discardImages[d];
            fitEmpty_ = Game.decks[d].resize != kFalse;
        }
    }
    for (const Listed& listed : cards_) {
        controls::ImageInfo info;
        info.ReadImageInfo(GameImagePath(Cards[listed.card].image));
        width = std::max<int>(width, info.ImageWidth());
        height = std::max<int>(height, info.ImageHeight());
    }
    width = platform::TwipsFromPixelsX(std::max(width, 20));
    height = platform::TwipsFromPixelsY(std::max(height, 20));

    for (int k = 0; k < 2; ++k) {
        const auto i = static_cast<std::size_t>(k);
        DiscardPile[i] = std::make_unique<controls::TranspImg>(form.Handle());
        cPos[i] = std::make_unique<platform::Label>(form.Handle());
        handIcon[i] = std::make_unique<platform::PictureBox>(form.Handle());
        controls::TranspImg& picture = *DiscardPile[i];
        const std::string& mask = IsDeckSlot(deck) && !Game.decks[deck].transparentColor.empty()
                                      ? Game.decks[deck].transparentColor
                                      : "";
        if (!mask.empty()) picture.MaskColor(static_cast<controls::Colour>(ParseColour(mask)));
        picture.Surface().Move(kGap + k * (width + kGap), kGap, width, height);
        picture.Surface().SetVisible(true);
        cPos[i]->Move(kGap + k * (width + kGap), kGap + height + 50, width, 250);
        cPos[i]->SetAlignment(2);
        handIcon[i]->Move(kGap + k * (width + kGap) + width / 2 - 120, kGap + height - 300, 240, 240);
        handIcon[i]->SetBackColor(platform::MakeColour(255, 255, 0));
        handIcon[i]->SetVisible(false);
        picture.MouseUp = [this, k](std::int16_t button, std::int16_t, platform::PixelPoint) {
            if (button != platform::keys::kLeftButton) return;
            if (k == 0)
                StepForward();
            else
                StepBack();
        };
        picture.MouseDown = [this, k](std::int16_t button, std::int16_t, platform::PixelPoint) {
            if (button == platform::keys::kRightButton) MarkMenu(k);
        };
    }
    const int buttonTop = kGap + height + 50 + 250 + 10;
    const int formWidth = 2 * width + 3 * kGap;
    ConfirmGetCards.Move(kGap, buttonTop, formWidth - 2 * kGap, 400);
    ConfirmGetCards.SetCaption("Select the cards to draw and then click here");
    ConfirmGetCards.OnClick = [this] { ConfirmGetCards_Click(); };
    const bool marking = MayMark();
    ConfirmGetCards.SetVisible(marking);
    form.Resize(formWidth + 240, buttonTop + 400 + kGap + 500);
    Move2HandMenuItem.OnClick = [this] {
        if (menuPosition_ < 1 || menuPosition_ > Count()) return;
        const auto at = static_cast<std::size_t>(menuPosition_);
        marked_[at] = !marked_[at];
        markedCount_ += marked_[at] ? 1 : -1;
        Refresh();
    };
    if (MainForm* table = TableWindow()) form.SetBackColor(table->BasePict.BackColor());
    current_ = 1;
    ShowAt(0, 1);
    ShowAt(1, 0);
    Refresh();
}

ShowCardsForm::~ShowCardsForm() = default;

std::int16_t ShowCardsForm::CardAt(int position) const {
    if (position < 1 || position > Count()) return 0;
    return cards_[static_cast<std::size_t>(position - 1)].card;
}

bool ShowCardsForm::Marked(int position) const {
    return position >= 1 && position <= Count() && marked_[static_cast<std::size_t>(position)];
}

bool ShowCardsForm::MayMark() const {
    const CardActions* actions = Actions();
    if (actions && actions->TakeCard != kFalse) return true;
    return IsDeckSlot(deck_) && Game.decks[deck_].chooseCardFromDrawDeck != kFalse;
}

void ShowCardsForm::ShowAt(int picture, int position) {
    controls::TranspImg& image = *DiscardPile[static_cast<std::size_t>(picture)];
    const std::int16_t card = CardAt(position);
    if (card == 0) {
        image.loadNewPicture(emptyPicture_, true, fitEmpty_);
        return;
    }
    const CardActions* actions = Actions();
    const bool hidden = actions && actions->ShowHidden != kFalse;
    image.loadNewPicture(hidden ? backPicture_ : GameImagePath(Cards[card].image), true);
}

void ShowCardsForm::StepForward() {
    if (current_ > Count()) return;
    current_ = std::max(current_, 0) + 1;
    ShowAt(1, current_ - 1);
    ShowAt(0, current_);
    Refresh();
}

void ShowCardsForm::StepBack() {
    if (current_ < 2) return;
    --current_;
    ShowAt(0, current_);
    ShowAt(1, current_ - 1);
    Refresh();
}

void ShowCardsForm::MarkMenu(int picture) {
    const CardActions* actions = Actions();
    const bool allowed = (actions && actions->TakeCard != kFalse) ||
                         (IsDeckSlot(deck_) && (Game.decks[deck_].chooseCardFromDiscardPile != kFalse ||
                                               Game.decks[deck_].chooseCardFromDrawDeck != kFalse));
    if (!allowed) return;
    menuPosition_ = picture == 0 ? current_ : current_ - 1;
    if (menuPosition_ < 1 || menuPosition_ > Count()) return;
    form.PopupMenu(BaseMenu);
}

void ShowCardsForm::Refresh() {
    const bool marking = MayMark();
    for (int k = 0; k < 2; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const int position = k == 0 ? current_ : current_ - 1;
        if (position < 1 || position > Count()) {
            cPos[i]->SetCaption("");
            handIcon[i]->SetVisible(false);
        } else {
            cPos[i]->SetCaption(std::to_string(position));
            handIcon[i]->SetVisible(marking && Marked(position));
        }
    }
    if (markedCount_ == 0)
        ConfirmGetCards.SetCaption("Select the cards to draw and then click here");
    else if (markedCount_ == 1)
        ConfirmGetCards.SetCaption("Move the selected card to hand");
    else
        ConfirmGetCards.SetCaption("Move the selected cards (" + std::to_string(markedCount_) + ") to hand");
}

bool ShowCardsForm::StillListed(int position) const {
    const Listed& listed = cards_[static_cast<std::size_t>(position - 1)];
    const CardRecord& c = Cards[listed.card];
    return c.owner == listed.owner && c.pilePosition == listed.pilePosition &&
           c.inDiscardPile == listed.inDiscardPile && c.controlIndex == listed.controlIndex;
}

void ShowCardsForm::ConfirmGetCards_Click() {
    if (markedCount_ == 0) {
        ShowMsg("Please select one or more cards (right-click to open the menu)");
        return;
    }
    std::string takenList;
    std::int16_t lastDeck = -1;
    int taken = 0;
    const std::int16_t player = Game.CurrentPlayer;
    for (int position = 1; position <= Count(); ++position) {
        if (!Marked(position)) continue;
        if (Game.handSize > 0 && CountHandCards(player) >= Game.handSize) {
            ShowMsg("You cannot draw another card (max hand size " + std::to_string(Game.handSize) +
                    " cards)");
            break;
        }
        // A card that left its place since the list was made (taken already, or moved by the
        // other side while a send waited) is not taken again.
        if (!StillListed(position)) continue;
        const std::int16_t card = CardAt(position);
        lastDeck = Cards[card].deck;
        ++taken;
        if (Game.external_hand != kFalse) {
            MoveCardToHandWindow(card, -1);
            Cards[card].pilePosition = kPileTaken;
            Outbox().SendCardToHand(card, -1, player);
        } else {
            const std::int16_t control = TakePileCardToTable(card, player, static_cast<std::int16_t>(taken));
            const MainForm* table = TableWindow();
            const controls::TranspImg* image = table ? table->crd(control) : nullptr;
            Outbox().SendCardToWindowHand(card, image ? image->Surface().Top() : 0,
                                          image ? image->Surface().Left() : 0, player);
        }
        takenList += Padded3(card);
        marked_[static_cast<std::size_t>(position)] = false;
        --markedCount_;
        // The sends let events run: this window may have been closed meanwhile.
        if (Current() != this) return;
    }
    if (taken > 0 && IsDeckSlot(lastDeck)) {
        std::vector<std::int16_t> cards;
        for (std::size_t at = 0; at + 3 <= takenList.size(); at += 3)
            cards.push_back(static_cast<std::int16_t>(std::atoi(takenList.substr(at, 3).c_str())));
        Outbox().SendSelectedDraw(lastDeck, cards);
        if (Current() != this) return;
        CloseDrawPileGaps(lastDeck, Game.nextDrawPositions[lastDeck]);
        SettlePileTakes(lastDeck);
        AddLogEntry((taken == 1 ? std::string("One card drawn from ")
                                : std::to_string(taken) + " cards drawn from ") +
                    DeckDisplayName(lastDeck));
        UpdateDeckCountCaption(lastDeck);
    }
    Refresh();
    form.Unload();
}
