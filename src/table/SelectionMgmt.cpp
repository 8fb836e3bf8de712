#include "table/SelectionMgmt.h"

#include "common/Numbers.h"
#include "common/Placement.h"
#include "state/HandMgmt.h"
#include "state/TableState.h"
#include "table/CardActions.h"
#include "table/CardTags.h"
#include "table/CarriedMarkers.h"
#include "table/MainForm.h"
#include "table/Outbox.h"

#include <algorithm>
#include <cstdint>
#include <optional>
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
// refusal is. A follower whose control was unloaded since stays behind: its image is forgotten.
struct Follow {
    int card;
    std::int16_t control;
    controls::TranspImg* image;
};
struct Followers {
    std::int16_t of = 0;
    std::vector<Follow> cards;
    // The card controls as they were when the images were last checked.
    const MainForm* table = nullptr;
    std::uint64_t generation = 0;
    // The controls moved by the last step, reused so that a step allocates nothing.
    std::vector<std::int16_t> moved;
};
Followers g_followers;

void ForgetFollowers() {
    g_followers.cards.clear();
    g_followers.of = 0;
}

std::vector<Follow>& FollowersOf(std::int16_t dragged) {
    Followers& f = g_followers;
    if (f.of == dragged) return f.cards;
    ForgetFollowers();
    f.of = dragged;
    MainForm* table = TableWindow();
    f.table = table;
    f.generation = table ? table->crd.Generation() : 0;
    for (int card = 1; card <= LastCard(); ++card)
        if (card != dragged)
            if (controls::TranspImg* image = Follower(card))
                f.cards.push_back({card, Cards[card].controlIndex, image});
    return f.cards;
}

// The followers' images, checked again only when card controls came or went since the last
// check: while none did, every image is still the control at its index, showing its card.
std::vector<Follow>& CheckedFollowersOf(std::int16_t dragged, const MainForm& table) {
    std::vector<Follow>& followers = FollowersOf(dragged);
    if (g_followers.table == &table && g_followers.generation == table.crd.Generation()) return followers;
    for (Follow& f : followers)
        if (g_followers.table != &table || LiveControl(f.card) != f.image) f.image = nullptr;
    g_followers.table = &table;
    g_followers.generation = table.crd.Generation();
    return followers;
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
    const std::int16_t card = CardShownBy(image);
    if (card == 0) return;
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
    std::vector<std::int16_t>& moved = g_followers.moved;
    moved.clear();
    for (const Follow& f : CheckedFollowersOf(dragged, *table)) {
        CardRecord& c = Cards[f.card];
        if (!f.image || c.controlIndex != f.control || c.selectionMark == -1 || c.eliminated != kFalse)
            continue;
        platform::ControlSurface& s = f.image->Surface();
        s.Move(s.Left() + dx, s.Top() + dy);
        moved.push_back(f.control);
        const bool inHand = IsCardInHand(f.control, static_cast<std::int16_t>(f.card), [&f] {
            return std::optional<CardPictureRect>(MainForm::CardPictureOf(*f.image));
        });
        if (!inHand && c.keptFaceDown == kFalse && c.faceShown == kFalse)
            c.faceShown = kTrue;
        else if (inHand && c.owner != Game.CurrentPlayer && c.faceShown != kFalse)
            c.faceShown = kFalse;
    }
    const Flag before = KeepStackingDrag;
    KeepStackingDrag = kTrue;
    MoveMarkersOfCards(moved, ClampToInt16(dx), ClampToInt16(dy));
    KeepStackingDrag = before;
}

platform::TwipRect FollowersExtent(std::int16_t dragged) {
    platform::TwipRect extent;
    MainForm* table = TableWindow();
    if (!table) return extent;
    for (const Follow& f : CheckedFollowersOf(dragged, *table))
        if (f.image && Cards[f.card].controlIndex == f.control && Cards[f.card].selectionMark != -1)
            extent = Enclosing(extent, MainForm::PictureRectOf(*f.image));
    return extent;
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
        Outbox().SendCardMove(Cards[card].controlIndex, image->Surface().Left(), image->Surface().Top());
    }
}

void EndGroupDrag() {
    ForgetFollowers();
}
