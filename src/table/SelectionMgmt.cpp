#include "table/SelectionMgmt.h"

#include "net/MultiplayerMgmt.h"
#include "state/HandMgmt.h"
#include "state/TableState.h"
#include "table/CardActions.h"
#include "table/CardPlacement.h"
#include "table/MainForm.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

int LastCard() {
    return std::clamp<int>(Game.totalCards, 0, kMaxCards);
}

// The control that shows the card on the table; nullptr when it has none (any more).
controls::TranspImg* LiveControl(int card) {
    MainForm* table = TableWindow();
    const std::int16_t control = Cards[card].controlIndex;
    if (!table || control < 0) return nullptr;
    controls::TranspImg* image = table->crd(control);
    if (!image || image->Surface().Tag() != std::to_string(card)) return nullptr;
    return image;
}

// Cards that a rectangle or select all may take: on the table, in no pile and no hand.
bool Selectable(int card) {
    const CardRecord& c = Cards[card];
    return LiveControl(card) && c.inDiscardPile == kFalse &&
           !IsCardInHand(c.controlIndex, static_cast<std::int16_t>(card));
}

// A selected card follows a dragged one only where it could be dragged itself: not out of
// another seat's hand.
bool FollowsGroupDrag(int card) {
    const CardRecord& c = Cards[card];
    if (c.selectionMark == -1 || c.eliminated != kFalse || !LiveControl(card)) return false;
    return DesignMode != kFalse || AllCardsVisible != kFalse || c.owner == Game.CurrentPlayer ||
           !IsCardInHand(c.controlIndex, static_cast<std::int16_t>(card));
}

void Select(int card, bool on) {
    Cards[card].selectionMark = on ? 1 : -1;
    if (controls::TranspImg* image = LiveControl(card))
        if (image->selected() != on) image->selected(on);
}

} // namespace

void ToggleCardSelection(std::int16_t element) {
    MainForm* table = TableWindow();
    controls::TranspImg* image = table ? table->crd(element) : nullptr;
    if (!image) return;
    const int card = std::atoi(image->Surface().Tag().c_str());
    if (!CardTable::Contains(card)) return;
    const bool on = !image->selected();
    image->selected(on);
    Cards[card].selectionMark = on ? 1 : -1;
}

void StartRubberBand(float x, float y) {
    CardActions* actions = Actions();
    if (!actions) return;
    actions->RubberBandActive = true;
    platform::Shape& band = actions->SelectionRectangle;
    band.SetVisible(false);
    band.Move(static_cast<int>(x), static_cast<int>(y), 1, 1);
    band.SetVisible(true);
}

void UpdateRubberBand(float x, float y) {
    CardActions* actions = Actions();
    if (!actions || !actions->RubberBandActive) return;
    platform::Shape& band = actions->SelectionRectangle;
    if (x > band.Left() && y > band.Top())
        band.Move(band.Left(), band.Top(), static_cast<int>(x) - band.Left(),
                  static_cast<int>(y) - band.Top());
}

void SelectCardsInRubberBand(float, float) {
    CardActions* actions = Actions();
    if (!actions) return;
    actions->RubberBandActive = false;
    platform::Shape& band = actions->SelectionRectangle;
    band.SetVisible(false);
    ClearSelection();
    const int left = band.Left();
    const int top = band.Top();
    const int right = left + band.Width();
    const int bottom = top + band.Height();
    for (int card = 1; card <= LastCard(); ++card) {
        if (Cards[card].selectionMark != -1 || !Selectable(card)) continue;
        const platform::ControlSurface& s = LiveControl(card)->Surface();
        const double cx = s.Left() + s.Width() / 2.0;
        const double cy = s.Top() + s.Height() / 2.0;
        // A centre on the border counts as inside.
        if (cx >= left && cx <= right && cy >= top && cy <= bottom) Select(card, true);
    }
}

void SelectAllCards() {
    if (CardActions* actions = Actions()) {
        actions->RubberBandActive = true;
        actions->SelectionRectangle.SetVisible(false);
    }
    ClearSelection();
    for (int card = 1; card <= LastCard(); ++card)
        if (Selectable(card)) Select(card, true);
}

void ClearSelection() {
    for (int card = 1; card <= LastCard(); ++card)
        if (Cards[card].selectionMark != -1) Select(card, false);
}

int CountSelectedCards() {
    int count = 0;
    for (int card = 1; card <= LastCard(); ++card)
        if (Cards[card].selectionMark != -1) ++count;
    return count;
}

void DragSelectedCards(int dx, int dy, std::int16_t dragged) {
    const Flag before = KeepStackingDrag;
    KeepStackingDrag = kTrue;
    for (int card = 1; card <= LastCard(); ++card) {
        if (card == dragged || !FollowsGroupDrag(card)) continue;
        CardRecord& c = Cards[card];
        const auto number = static_cast<std::int16_t>(card);
        platform::ControlSurface& s = LiveControl(card)->Surface();
        s.Move(s.Left() + dx, s.Top() + dy);
        MoveAttachedMarkers(c.controlIndex, dx, dy, kMarkersMove);
        const bool inHand = IsCardInHand(c.controlIndex, number);
        if (!inHand && c.keptFaceDown == kFalse && c.faceShown == kFalse)
            c.faceShown = kTrue;
        else if (inHand && c.owner != Game.CurrentPlayer && c.faceShown != kFalse)
            c.faceShown = kFalse;
    }
    KeepStackingDrag = before;
}

void SendSelectedCardMoves(std::int16_t dragged) {
    // The sends let events run: each card is asked for its control again before it is sent.
    for (int card = 1; card <= LastCard(); ++card) {
        if (card == dragged || !FollowsGroupDrag(card)) continue;
        const controls::TranspImg* image = LiveControl(card);
        SendCardMove(Cards[card].controlIndex, image->Surface().Left(), image->Surface().Top());
    }
}
