// The mouse on the table: a card pressed (its menu, or a drag that brings it up, sends it back or
// selects it), dragged within the table's edges with the selected cards and markers it carries,
// and let go; a card double-clicked into the zoom window; deck and discard-pile images pressed,
// dragged and their menus; the bare table's selection rectangle and design mode.
#include "table/CardActions.h"

#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Keys.h"
#include "platform/Twips.h"
#include "services/LogMgmt.h"
#include "state/HandMgmt.h"
#include "state/ZOrder.h"
#include "table/CardActionsInternal.h"
#include "table/CarriedMarkers.h"
#include "table/DesignToolBarForm.h"
#include "table/MainForm.h"
#include "table/Outbox.h"
#include "table/SelectionMgmt.h"
#include "table/TableSetup.h"
#include "table/ZoomForm.h"

#include <algorithm>

using namespace card_actions;

namespace {

constexpr int kCtrlKey = 2;
constexpr int kAltKey = 4;

} // namespace

void CardActions::crd_MouseDown(int index, int button, int shift, platform::PixelPoint at) {
    const auto element = static_cast<std::int16_t>(index);
    const std::int16_t card = CardOfElement(element);
    if (card == 0) return;
    if (button != platform::keys::kLeftButton) {
        OpenCardMenu(index);
        return;
    }
    DraggedCard = element;
    EndGroupDrag();
    draggedInHand_ = IsCardInHand(element, card);
    // Decided once, from where the card lay when the drag started.
    dragRefused_ = DesignMode == kFalse && AllCardsVisible == kFalse && draggedInHand_ &&
                   Cards[card].owner != CurrentPlayer();
    kept_ = at;
    controls::TranspImg* image = table_.crd(element);
    if (shift == kAltKey) {
        KeepStackingDrag = kTrue;
    } else {
        KeepStackingDrag = kFalse;
        SendToBackDrag = ToFlag(shift == platform::keys::kShift);
        if (SendToBackDrag == kFalse) {
            image->Surface().BringToFront();
            BringToFrontZOrder(kZCard, card, 0);
            MoveAttachedMarkers(element, 0, 0, kMarkersRaise);
        } else {
            MoveAttachedMarkers(element, 0, 0, kMarkersLower);
            BringToFrontZOrder(kZCard, card, -1);
            image->Surface().SendToBack();
            for (int seat = 1; seat <= std::min<int>(Game.playerCount, kMaxPlayers); ++seat)
                if (platform::Shape* area = table_.PlayerArea(seat - 1); area && area->Visible())
                    area->ZOrder(false);
        }
    }
    if (shift == kCtrlKey) ToggleCardSelection(element);
}

bool CardActions::crd_MouseMove(int index, int, int, platform::PixelPoint at) {
    const auto element = static_cast<std::int16_t>(index);
    if (DraggedCard == -1 || DraggedCard != element) return true;
    const std::int16_t card = CardOfElement(element);
    if (card == 0) return true;
    if (dragRefused_) {
        DraggedCard = -1;
        ShowMsg("You cannot move the cards on your enemy's hand");
        return false;
    }
    if (at.x == kept_.x && at.y == kept_.y) return false;
    controls::TranspImg* image = table_.crd(element);
    // The card, and the selected cards that follow it, stop at the table's edges.
    CardRecord& c = Cards[card];
    platform::TwipRect dragged = MainForm::PictureRectOf(*image);
    if (c.selectionMark != -1) dragged = Enclosing(dragged, FollowersExtent(card));
    const Shift allowed =
        table_.ShiftOnTable(dragged, static_cast<int>((at.x - kept_.x) * platform::kTwipsPerPixelX),
                            static_cast<int>((at.y - kept_.y) * platform::kTwipsPerPixelY));
    const int dx = allowed.dx;
    const int dy = allowed.dy;
    if (dx == 0 && dy == 0) return true;
    image->Surface().Move(image->Surface().Left() + dx, image->Surface().Top() + dy);
    table_.CTip_Hide();
    if (c.faceShown != kFalse && c.owner != CurrentPlayer() && IsCardInHand(element, card))
        c.faceShown = kFalse;
    MoveAttachedMarkers(element, ClampToInt16(dx), ClampToInt16(dy), kMarkersMove);
    if (c.selectionMark != -1) DragSelectedCards(dx, dy, card);
    return true;
}

void CardActions::crd_MouseUp(int index, int, int, platform::PixelPoint) {
    const auto element = static_cast<std::int16_t>(index);
    const std::int16_t card = CardOfElement(element);
    // Only a release that ends a press on this card (a drag, or a click that the other side is
    // sent as a move too) says whether the card went into or out of the hand: the release that
    // ends a double click follows no press, and the other side hears nothing of it.
    const bool pressed = DraggedCard != -1 && DraggedCard == element;
    if (pressed && card != 0) {
        const controls::TranspImg* image = table_.crd(element);
        Outbox().SendCardMove(element, image->Surface().Left(), image->Surface().Top());
        // The send let events run: the card is asked for again.
        if (CardOfElement(element) == card) SendSelectedCardMoves(card);
    }
    if (pressed && card != 0 && CardOfElement(element) == card) {
        const bool inHand = IsCardInHand(element, card);
        if (!inHand && draggedInHand_) {
            LogCardPlayed(card);
            Cards[card].inHand = kFalse;
        } else if (inHand && !draggedInHand_) {
            Cards[card].inHand = kTrue;
        }
    }
    DraggedCard = -1;
    SendToBackDrag = kFalse;
    EndGroupDrag();
    draggedInHand_ = false;
    dragRefused_ = false;
}

void CardActions::ZoomOn(std::int16_t card) {
    ZoomCard = card;
    zoom_->ShowCard(card);
}

void CardActions::crd_DblClick(int index) {
    const auto element = static_cast<std::int16_t>(index);
    const std::int16_t card = CardOfElement(element);
    if (card == 0 || !ValidDeck(Cards[card].deck) || Game.decks[Cards[card].deck].zoom == 100.0f) return;
    // The zoom shows what the balloon may show: never another seat's hidden face.
    if (!FaceVisibleHere(card, element)) {
        DraggedCard = -1;
        ShowMsg(IsCardInHand(element, card) ? "You cannot zoom on a cards on your enemy's hand"
                                            : "You cannot zoom on a facedown card");
        return;
    }
    ZoomOn(card);
}

void CardActions::DeckImg_MouseDown(std::int16_t deck, int button, platform::PixelPoint at) {
    PressedDeck = deck;
    kept_ = at;
    if (button == platform::keys::kLeftButton || !ValidDeck(deck)) return;
    PressedDeck = -1;
    MenuDeck = deck;
    const DeckRecord& d = Game.decks[deck];
    DummyDrawDeckItem.SetVisible(true);
    ReshuffleDrawDeckMenuItem.SetVisible(d.enableReshuffleDrawDeck != kFalse);
    DisplayDrawDeckMenuItem.SetVisible(d.openDrawDeck != kFalse || d.chooseCardFromDrawDeck != kFalse);
    if (d.openDrawDeck == kFalse && d.enableReshuffleDrawDeck == kFalse && d.chooseCardFromDrawDeck == kFalse)
        return;
    DummyDrawDeckItem.SetVisible(false);
    table_.Window().PopupMenu(DrawDeckMenu);
}

void CardActions::DeckImg_MouseMove(std::int16_t deck, platform::PixelPoint at) {
    DragPileImage(table_.DeckImg(deck), deck, at);
}

void CardActions::DiscardImg_MouseMove(std::int16_t deck, platform::PixelPoint at) {
    DragPileImage(table_.DiscardImg(deck), deck, at);
}

void CardActions::DragPileImage(controls::TranspImg* image, std::int16_t deck, platform::PixelPoint at) {
    if (!image || PressedDeck == -1 || PressedDeck != deck || !ValidDeck(deck)) return;
    if (Game.decks[deck].locked != kFalse && DesignMode == kFalse) return;
    // The image follows the mouse, which stays at the point where it grabbed the image, as far
    // as the table's edges (a pile in the information panel stays in the panel).
    int dx = static_cast<int>((at.x - kept_.x) * platform::kTwipsPerPixelX);
    int dy = static_cast<int>((at.y - kept_.y) * platform::kTwipsPerPixelY);
    if (!DeckStandsInPanel(deck)) {
        const Shift allowed = table_.ShiftOnTable(MainForm::PictureRectOf(*image), dx, dy);
        dx = allowed.dx;
        dy = allowed.dy;
    }
    if (dx != 0 || dy != 0) image->Surface().Move(image->Surface().Left() + dx, image->Surface().Top() + dy);
}

void CardActions::DiscardImg_MouseDown(std::int16_t deck, int, platform::PixelPoint at) {
    PressedDeck = deck;
    kept_ = at;
}

void CardActions::DiscardImg_MouseUp(std::int16_t deck, int button) {
    if (!ValidDeck(deck)) {
        PressedDeck = -1;
        return;
    }
    if (DesignMode == kFalse && OpponentsDeck(deck)) {
        ShowMsg("You cannot use the cards of your opponent");
        PressedDeck = -1;
        MenuDeck = -1;
        return;
    }
    if (button != platform::keys::kLeftButton) {
        MenuDeck = deck;
        const DeckRecord& d = Game.decks[deck];
        DrawLastDiscardItem.SetVisible(d.draw_last_discard != kFalse);
        MoveLastDiscard2Bottom.SetVisible(d.move_discard_to_bottom != kFalse);
        DisplayDrawPileItem.SetVisible(d.openDiscardPile != kFalse);
        ReshuffleAction.SetVisible(true);
        PressedDeck = -1;
        table_.Window().PopupMenu(DiscardPileMenu);
    }
    PressedDeck = -1;
}

void CardActions::BasePict_MouseDown(int, float x, float y) {
    if (DesignMode == kFalse)
        StartRubberBand(x, y);
    else
        DesignArea_MouseDown(table_, RubberBandActive, x, y);
}

void CardActions::BasePict_MouseMove(float x, float y) {
    table_.HoveredCard.clear();
    DraggedCard = -1;
    table_.CTip_Hide();
    if (DesignMode == kFalse)
        UpdateRubberBand(x, y);
    else
        DesignArea_MouseMove(table_, RubberBandActive, x, y);
}

void CardActions::BasePict_MouseUp(int button, float x, float y) {
    if (DesignMode != kFalse) {
        RubberBandActive = false;
        return;
    }
    if (button != 2 && RubberBandActive) SelectCardsInRubberBand(x, y);
}
