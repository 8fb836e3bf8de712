#include "table/HandCards.h"

#include "common/GraphicsMgmt.h"
#include "common/Numbers.h"
#include "controls/TranspImg.h"
#include "services/LogMgmt.h"
#include "state/CardMgmt.h"
#include "state/DecksMgmt.h"
#include "state/GameMgmt.h"
#include "state/HandMgmt.h"
#include "state/Helpers.h"
#include "state/TableState.h"
#include "state/ZOrder.h"
#include "table/CardActions.h"
#include "table/CarriedMarkers.h"
#include "table/HandForm.h"
#include "table/InfoPanel.h"
#include "table/MainForm.h"
#include "table/Outbox.h"
#include "table/TableSetup.h"

namespace {

// Where a card enters the hand window, twips from its top-left corner.
constexpr std::int16_t kHandEntry = 250;

// The card's table control, with its markers and its place in the stacking order, goes.
void LeaveTable(std::int16_t card, std::int16_t control) {
    if (CardActions* actions = Actions())
        actions->TakeOffTable(card, control);
    else
        RemoveFromZOrder(kZCard, card);
}

// A card the local player holds shows in the window at the entry place, on top of the others.
void ShowInHandWindow(HandForm& hand, std::int16_t card) {
    // One element per card, also when a card arrives twice.
    hand.ReleaseElementOf(card);
    const std::int16_t element = hand.NewElement();
    controls::TranspImg* image = hand.crd(element);
    CardRecord& c = Cards[card];
    c.controlIndex = element;
    if (!image) return;
    platform::ControlSurface& s = image->Surface();
    s.Move(kHandEntry, kHandEntry);
    c.handLeft = ClampToInt16(s.Left());
    c.handTop = ClampToInt16(s.Top());
    LoadHandCardPicture(*image, card);
    s.SetTag(std::to_string(card));
    s.SetVisible(true);
    s.BringToFront();
}

void BringHandWindowForward(HandForm& hand) {
    KeepAboveTable(hand.form);
    hand.form.Show();
    hand.form.Activate();
}

} // namespace

void LoadHandCardPicture(controls::TranspImg& element, std::int16_t card) {
    if (!CardTable::Contains(card)) return;
    const CardRecord& c = Cards[card];
    const DeckRecord* deck = ValidDeck(c.deck) ? &Game.decks[c.deck] : nullptr;
    element.reset();
    if (deck && !deck->transparentColor.empty())
        element.MaskColor(static_cast<controls::Colour>(ParseColour(deck->transparentColor)));
    element.loadNewPicture(GameImagePath(c.image));
    if (deck && deck->zoom != 100.0f && GetBoolDirective("GAME", "zoom_external_hand", false))
        element.zoom(CardZoom(element, deck->zoom));
}

void PutCardInHand(std::int16_t card, std::int16_t control, std::int16_t player) {
    if (!CardTable::Contains(card)) return;
    // Counted before the card is flagged: the new card's slot follows the cards already held.
    const std::int16_t slot = ClampToInt16(CountHandCards(player) + 1);
    if (control != -1) LeaveTable(card, control);
    HandForm* hand = LoadedHandWindow();
    if (hand) hand->ReleaseElementOf(card);
    CardRecord& c = Cards[card];
    // The card becomes the holder's, and nothing of its life on the table or in a pile stays.
    c.owner = player;
    c.controlIndex = slot;
    c.pilePosition = kPileInPlay;
    c.inHand = kTrue;
    c.inDiscardPile = kFalse;
    c.eliminated = kFalse;
    c.rotation = 0;
    c.selectionMark = -1;
    // A card that reaches this seat's open hand window shows there at once.
    if (hand && Game.external_hand != kFalse && player == Game.CurrentPlayer) {
        c.faceShown = kTrue;
        ShowInHandWindow(*hand, card);
    }
    UpdateHandSizeCaptions();
}

void DrawCardToHandWindow(std::int16_t deck, std::int16_t card) {
    if (!ValidDeck(deck) || !CardTable::Contains(card)) return;
    HandForm& hand = HandWindow();
    Game.nextDrawPositions[deck] = ClampToInt16(Game.nextDrawPositions[deck] + 1);
    CardRecord& c = Cards[card];
    c.pilePosition = kPileInPlay;
    c.inHand = kTrue;
    c.inDiscardPile = kFalse;
    c.faceShown = kTrue;
    if (Game.decks[deck].draw_facedown != kFalse) c.keptFaceDown = kTrue;
    ShowInHandWindow(hand, card);
    if (IsDeckEmpty(deck))
        if (MainForm* table = TableWindow())
            if (controls::TranspImg* image = table->DeckImg(deck))
                image->loadNewPicture(Game.discardImages[deck], true);
    BringHandWindowForward(hand);
    UpdateDeckCountCaption(deck);
}

void MoveCardToHandWindow(std::int16_t card, std::int16_t control) {
    if (!CardTable::Contains(card)) return;
    HandForm& hand = HandWindow();
    if (control != -1) LeaveTable(card, control);
    CardRecord& c = Cards[card];
    c.owner = Game.CurrentPlayer;
    c.pilePosition = kPileInPlay;
    c.inHand = kTrue;
    c.rotation = 0;
    c.eliminated = kFalse;
    c.inDiscardPile = kFalse;
    c.faceShown = kTrue;
    c.selectionMark = -1;
    ShowInHandWindow(hand, card);
    BringHandWindowForward(hand);
    UpdateHandSizeCaptions();
}

void ShowOwnHandFaces() {
    if (AllCardsVisible != kFalse || Game.external_hand != kFalse) return;
    MainForm* table = TableWindow();
    const CardActions* actions = Actions();
    if (!table || !actions) return;
    for (int n = 1; n <= std::min<int>(Game.totalCards, kMaxCards); ++n) {
        const auto card = static_cast<std::int16_t>(n);
        CardRecord& c = Cards[card];
        const std::int16_t control = c.controlIndex;
        if (c.inDiscardPile != kFalse || actions->CardOfElement(control) != card) continue;
        if (!IsCardInHand(control, card)) continue;
        if (c.faceShown != kFalse && c.owner != Game.CurrentPlayer) {
            LoadCardPicture(control, card, true, true);
            MoveAttachedMarkers(control, 0, 0, kMarkersHide);
        } else if (c.faceShown == kFalse && c.owner == Game.CurrentPlayer && c.keptFaceDown == kFalse) {
            c.faceShown = kTrue;
            LoadCardPicture(control, card, false, true);
            MoveAttachedMarkers(control, 0, 0, kMarkersShow);
        }
    }
}

std::int16_t DropCardFromHand_body(std::int16_t card, int top, int left, std::int16_t owner, bool faceDown) {
    MainForm* table = TableWindow();
    // Only a card still held can be laid out of a hand; another copy would show it twice.
    if (!table || !CardTable::Contains(card) || Cards[card].inHand == kFalse) return -1;
    if (HandForm* hand = LoadedHandWindow()) hand->ReleaseElementOf(card);
    const std::int16_t control = NewCardControl();
    controls::TranspImg* image = table->crd(control);
    if (!image) return -1;
    CardRecord& c = Cards[card];
    c.owner = owner;
    c.inHand = kFalse;
    c.inDiscardPile = kFalse;
    c.eliminated = kFalse;
    c.controlIndex = control;
    c.pilePosition = kPileInPlay;
    c.faceShown = ToFlag(!faceDown);
    c.keptFaceDown = ToFlag(faceDown);
    LoadCardPicture(control, card, faceDown, true);
    platform::ControlSurface& s = image->Surface();
    s.SetTag(std::to_string(card));
    s.Move(left, top);
    s.SetVisible(true);
    s.BringToFront();
    if (ControlFlags::Contains(control)) CardControlFree[control] = kFalse;
    BringToFrontZOrder(kZCard, card, 0);
    UpdateHandSizeCaptions();
    return control;
}

void BasePict_DragDrop(platform::NativeWidget* source, double x, double y) {
    HandForm* hand = LoadedHandWindow();
    MainForm* table = TableWindow();
    if (!hand || !table) return;
    const int element = hand->DesktopDragElement();
    const controls::TranspImg* dragged = hand->crd(element);
    if (!dragged || dragged->Surface().Handle() != source) return;
    const std::int16_t card = hand->CardOfElement(element);
    if (card == 0 || Cards[card].inHand == kFalse) return;
    const bool faceDown = HandDropFaceDown;
    const std::int16_t owner = Cards[card].owner;
    // The grab point is the hand card's control's; what the pointer holds is that point of its
    // picture, which the new control draws from its own origin.
    const int grabX = HandGrabX == -1 ? 0 : HandGrabX - dragged->GetOriginLeft();
    const int grabY = HandGrabX == -1 ? 0 : HandGrabY - dragged->GetOriginTop();
    const std::int16_t control = DropCardFromHand_body(card, 0, 0, owner, faceDown);
    controls::TranspImg* image = table->crd(control);
    if (!image) return;
    // The card lies under the pointer where it was grabbed.
    const int top = RoundToInt32(y - image->GetOriginTop() - grabY);
    const int left = RoundToInt32(x - image->GetOriginLeft() - grabX);
    image->Surface().Move(left, top);
    // Dropped near an edge, it lies wholly on the table.
    const platform::TwipRect picture = MainForm::PictureRectOf(*image);
    const platform::TwipRect onTable = platform::FitInto(picture, {0, 0, TableWidth, TableHeight});
    if (onTable.left != picture.left || onTable.top != picture.top)
        image->Surface().Move(left + onTable.left - picture.left, top + onTable.top - picture.top);
    LogCardPlayed(card);
    Outbox().SendCardDropFromHand(card, image->Surface().Top(), image->Surface().Left(), owner, faceDown);
}

void DrawCardToOtherHand(std::int16_t deck, std::int16_t player) {
    if (!ValidDeck(deck) || player < 1 || player > kMaxPlayers) return;
    const std::int16_t held = CountHandCards(player);
    const std::int16_t card = FindCard(deck, Game.nextDrawPositions[deck], false);
    if (card == -1) return;
    Game.nextDrawPositions[deck] = ClampToInt16(Game.nextDrawPositions[deck] + 1);
    CardRecord& c = Cards[card];
    c.owner = player;
    // A slot number, as for any card held by another seat.
    c.controlIndex = ClampToInt16(held + 1);
    c.pilePosition = kPileInPlay;
    c.inHand = kTrue;
    c.inDiscardPile = kFalse;
    c.handLeft = kHandEntry;
    c.handTop = kHandEntry;
    if (Game.decks[deck].draw_facedown != kFalse) {
        c.faceShown = kFalse;
        c.keptFaceDown = kTrue;
    } else {
        c.faceShown = kTrue;
    }
    UpdateHandSizeCaptions();
    if (TableWindow()) UpdateDeckCountCaption(deck);
}

std::int16_t TakePileCardToTable(std::int16_t card, std::int16_t player, std::int16_t k) {
    const CardActions* actions = Actions();
    if (!actions || !CardTable::Contains(card)) return -1;
    CardRecord& c = Cards[card];
    std::int16_t control = c.controlIndex;
    // A card already on the table (held in an area) keeps its control and its place and only
    // changes hands.
    if (control != -1 && actions->CardOfElement(control) == card) {
        c.owner = player;
        c.inHand = kTrue;
        c.faceShown = ToFlag(player == Game.CurrentPlayer);
        LoadCardPicture(control, card, player != Game.CurrentPlayer, true);
    } else {
        control = TakeCardToPlayer(card, player, k);
    }
    BringToFrontZOrder(kZCard, card, 0);
    return control;
}

void TakeCardToTableHand(std::int16_t card, int top, int left, std::int16_t player) {
    MainForm* table = TableWindow();
    if (!table || player < 1 || player > kMaxPlayers) return;
    const std::int16_t control = TakePileCardToTable(card, player, 1);
    if (controls::TranspImg* image = table->crd(control)) image->Surface().Move(left, top);
    UpdateHandSizeCaptions();
}

void SettlePileTakes(std::int16_t deck) {
    for (int n = 1; n <= std::min<int>(Game.totalCards, kMaxCards); ++n)
        if (Cards[n].deck == deck && Cards[n].pilePosition == kPileTaken) Cards[n].pilePosition = kPileInPlay;
}
