#include "table/SelectionMgmt.h"

#include "common/Numbers.h"
#include "net/MultiplayerMgmt.h"
#include "state/HandMgmt.h"
#include "state/TableState.h"
#include "table/CardActions.h"
#include "table/CarriedMarkers.h"
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
// another seat's hand. Its control when it follows; nullptr otherwise.
controls::TranspImg* Follower(int card) {
    const CardRecord& c = Cards[card];
    if (c.selectionMark == -1 || c.eliminated != kFalse) return nullptr;
    controls::TranspImg* image = LiveControl(card);
    if (!image) return nullptr;
    if (DesignMode == kFalse && AllCardsVisible == kFalse && c.owner != Game.CurrentPlayer &&
        IsCardInHand(c.controlIndex, static_cast<std::int16_t>(card)))
        return nullptr;
    return image;
}

// The cards that follow a dragged card, decided when its drag starts, as the dragged card's own
// refusal is; each step checks that a follower still shows its card before it moves it.
struct Follow {
    int card;
    std::int16_t control;
    controls::TranspImg* image;
};
std::vector<Follow> g_followers;
std::int16_t g_followersOf = 0;

void ForgetFollowers() {
    g_followers.clear();
    g_followersOf = 0;
}

const std::vector<Follow>& FollowersOf(std::int16_t dragged) {
    if (g_followersOf == dragged) return g_followers;
    ForgetFollowers();
    g_followersOf = dragged;
    for (int card = 1; card <= LastCard(); ++card)
        if (card != dragged)
            if (controls::TranspImg* image = Follower(card))
                g_followers.push_back({card, Cards[card].controlIndex, image});
    return g_followers;
}

void Select(int card, bool on) {
    Cards[card].selectionMark = on ? 1 : -1;
    if (controls::TranspImg* image = LiveControl(card))
        if (image->selected() != on) image->selected(on);
}

} // namespace

void ToggleCardSelection(std::int16_t element) {
    ForgetFollowers();
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
    ForgetFollowers();
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
    MainForm* table = TableWindow();
    if (!table) return;
    const Flag before = KeepStackingDrag;
    KeepStackingDrag = kTrue;
    for (const Follow& f : FollowersOf(dragged)) {
        CardRecord& c = Cards[f.card];
        if (c.controlIndex != f.control || c.selectionMark == -1 || c.eliminated != kFalse ||
            table->crd(f.control) != f.image)
            continue;
        const auto number = static_cast<std::int16_t>(f.card);
        platform::ControlSurface& s = f.image->Surface();
        s.Move(s.Left() + dx, s.Top() + dy);
        MoveAttachedMarkers(f.control, ClampToInt16(dx), ClampToInt16(dy), kMarkersMove);
        const bool inHand = IsCardInHand(f.control, number);
        if (!inHand && c.keptFaceDown == kFalse && c.faceShown == kFalse)
            c.faceShown = kTrue;
        else if (inHand && c.owner != Game.CurrentPlayer && c.faceShown != kFalse)
            c.faceShown = kFalse;
    }
    KeepStackingDrag = before;
}

void SendSelectedCardMoves(std::int16_t dragged) {
    // The cards that followed, each asked for its control again: the sends let events run.
    std::vector<int> followed;
    for (const Follow& f : FollowersOf(dragged))
        followed.push_back(f.card);
    EndGroupDrag();
    for (int card : followed) {
        const controls::TranspImg* image = Cards[card].selectionMark == -1 ? nullptr : LiveControl(card);
        if (!image) continue;
        SendCardMove(Cards[card].controlIndex, image->Surface().Left(), image->Surface().Top());
    }
}

void EndGroupDrag() {
    ForgetFollowers();
}
