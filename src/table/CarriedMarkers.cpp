#include "table/CarriedMarkers.h"

#include "common/Helpers.h"
#include "common/Numbers.h"
#include "state/HandMgmt.h"
#include "state/MarkersMgmt.h"
#include "state/TableState.h"
#include "state/ZOrder.h"
#include "table/CardTags.h"
#include "table/MainForm.h"
#include "table/TableGraphics.h"
#include "table/TableMarkers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A control's rectangle in table twips.
struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
};

Box BoxOf(const platform::ControlSurface& s) {
    return Box{s.Left(), s.Top(), s.Width(), s.Height()};
}

// The card shown by a card control (its Tag), 0 when it shows none.
int CardOnControl(const controls::TranspImg& control) {
    return CardShownBy(&control);
}

// The card's rotation as a quarter turn 0, 90, 180 or 270; -1 for any other angle. A card turned
// to -90 lies as one turned to 270.
int QuarterTurn(const controls::TranspImg& control) {
    const int card = CardOnControl(control);
    const int angle = card ? ((Cards[card].rotation % 360) + 360) % 360 : 0;
    return angle % 90 == 0 ? angle : -1;
}

// Where a marker lies in the card's own frame, measured to the marker's edges that face the card's
// own top and left edges; nothing for a card standing at an angle other than a quarter turn.
void StoreOffset(MarkerOffset& offset, const Box& card, const Box& marker, int turn) {
    const auto at = [&](int along, int across) {
        offset.along = ClampToInt16(along);
        offset.across = ClampToInt16(across);
    };
    switch (turn) {
    case 0:
        at(marker.top - card.top, marker.left - card.left);
        break;
    case 90:
        at(card.Right() - marker.Right(), marker.top - card.top);
        break;
    case 180:
        at(card.Bottom() - marker.Bottom(), card.Right() - marker.Right());
        break;
    case 270:
        at(marker.left - card.left, card.Bottom() - marker.Bottom());
        break;
    default:
        break;
    }
}

// The topmost card control (by stacking order) that `holds` accepts; -1 when none.
template <class Holds> int TopmostCard(MainForm& table, Holds holds) {
    int best = -1;
    int chosen = -1;
    for (int c = 0; c < LoadedCardControls; ++c) {
        if (CardControlFree[c] != kFalse) continue;
        const controls::TranspImg* card = table.crd(c);
        if (!card || !holds(*card)) continue;
        const int position = FindCardInZOrder(static_cast<std::int16_t>(c));
        if (position > best) best = position, chosen = c;
    }
    return best < 0 ? -1 : chosen;
}

// The card control a marker's Tag names; -1 for none ("" or "-1"). An image marker's Tag is read
// up to its first ",".
int TaggedControl(const std::string& tag) {
    const std::string first = GetField(tag, 1, ",");
    if (first.empty()) return -1;
    const double value = LeadingNumber(first);
    return value >= 0 && value <= ControlFlags::kLast ? static_cast<int>(value) : -1;
}

// Puts a marker back on its turned card from the place kept in the card's own frame.
void PlaceOnTurnedCard(platform::ControlSurface& marker, const MarkerOffset& offset, const Box& card,
                       int turn) {
    const int w = marker.Width();
    const int h = marker.Height();
    int top = card.top + offset.along;
    int left = card.left + offset.across;
    switch (turn) {
    case 90:
        top = card.top + offset.across;
        left = card.left + card.width - offset.along - w;
        break;
    case 180:
        top = card.top + card.height - offset.along - h;
        left = card.left + card.width - offset.across - w;
        break;
    case 270:
        top = card.top + card.height - offset.across - h;
        left = card.left + offset.along;
        break;
    default:
        break;
    }
    marker.Move(left, top);
}

// One marker lying on the card: the mode's steps in their order.
void CarryMarker(platform::ControlSurface& marker, std::int16_t kind, std::int16_t number,
                 const MarkerOffset& offset, const controls::TranspImg* card, int dx, int dy, int mode) {
    if (mode == kMarkersMove) marker.Move(marker.Left() + dx, marker.Top() + dy);
    // A drag with Alt alone keeps the numerical markers where they stand among the others; image
    // markers rise with their card all the same.
    const bool raise = mode == kMarkersRaise || (mode == kMarkersMove && SendToBackDrag == kFalse);
    if (raise && (kind == kZImageMarker || KeepStackingDrag == kFalse)) {
        marker.BringToFront();
        BringToFrontZOrder(kind, number, 0);
    }
    if (mode == kMarkersLower) {
        marker.SendToBack();
        BringToFrontZOrder(kind, number, kTrue);
    }
    if (mode == kMarkersHide) marker.SetVisible(false);
    if (mode == kMarkersShow) marker.SetVisible(true);
    if (mode == kMarkersDelete) {
        if (kind == kZNumMarker)
            DeleteMarkerProc(static_cast<std::int16_t>(number));
        else
            DeleteGraphicalMarkerProc(static_cast<std::int16_t>(number));
        RemoveFromZOrder(kind, number);
        return;
    }
    if (mode == kMarkersTurn && card)
        PlaceOnTurnedCard(marker, offset, BoxOf(card->Surface()), QuarterTurn(*card));
}

// A marker in use whose Tag names something, with the card control it names: a numerical
// marker's whole Tag read as a number, an image marker's up to its first ",".
struct TaggedMarker {
    double on;
    platform::ControlSurface* surface;
    std::int16_t kind;
    std::int16_t number;
    MarkerOffset* offset;
    int order; // numerical markers first, then image markers, each by number
};

template <class Visit> void ForEachTaggedMarker(MainForm& table, Visit visit) {
    int order = 0;
    const int lastNum = std::min<int>(NextNumMarker - 2, MarkerFlags::kLast);
    for (int m = 0; m <= lastNum; ++m) {
        if (NumMarkerInUse[m] == kFalse) continue;
        controls::zLabelA* label = table.markerNum(m);
        if (!label) continue;
        const std::string tag = label->Surface().Tag();
        if (tag.empty()) continue;
        visit(TaggedMarker{LeadingNumber(tag), &label->Surface(), kZNumMarker, static_cast<std::int16_t>(m),
                           &NumMarkerOffsets[m + 1], order++});
    }
    const int lastImage = std::min<int>(GraphMarkerCount, MarkerInstanceTable::kLast);
    for (int n = 1; n <= lastImage; ++n) {
        controls::TranspImg* marker = table.mrk(n - 1);
        if (!marker || GraphMarkers[n].inUse == kFalse) continue;
        visit(TaggedMarker{static_cast<double>(TaggedControl(marker->Surface().Tag())), &marker->Surface(),
                           kZImageMarker, static_cast<std::int16_t>(n - 1), &GraphMarkerOffsets[n], order++});
    }
}

} // namespace

void AttachNumericalMarker(std::int16_t m) {
    MainForm* table = TableWindow();
    if (!table || !MarkerFlags::Contains(m)) return;
    controls::zLabelA* label = table->markerNum(m);
    if (!label) return;
    platform::ControlSurface& s = label->Surface();
    const Box marker = BoxOf(s);
    const int chosen = TopmostCard(*table, [&](const controls::TranspImg& card) {
        const Box c = BoxOf(card.Surface());
        return marker.top > c.top && marker.Bottom() < c.Bottom() && marker.left > c.left &&
               marker.Right() < c.Right();
    });
    if (chosen < 0) {
        s.SetTag("-1");
        return;
    }
    s.SetTag(std::to_string(chosen));
    s.SetVisible(true);
    const controls::TranspImg& card = *table->crd(chosen);
    const int number = CardOnControl(card);
    if (number && IsCardInHand(static_cast<std::int16_t>(chosen), static_cast<std::int16_t>(number)) &&
        Cards[number].owner != Game.CurrentPlayer)
        s.SetVisible(false);
    StoreOffset(NumMarkerOffsets[m + 1], BoxOf(card.Surface()), marker, QuarterTurn(card));
}

void AttachImageMarker(std::int16_t n) {
    MainForm* table = TableWindow();
    if (!table || !MarkerInstanceTable::Contains(n)) return;
    controls::TranspImg* image = table->mrk(n - 1);
    if (!image) return;
    platform::ControlSurface& s = image->Surface();
    const Box marker = BoxOf(s);
    // The centre in whole twips, not cut to 16 bits: a table picture wider than 32767 twips
    // (2184 pixels) holds cards and markers beyond that.
    const int x = RoundToInt32(marker.left + marker.width / 2.0);
    const int y = RoundToInt32(marker.top + marker.height / 2.0);
    const int chosen = TopmostCard(*table, [&](const controls::TranspImg& card) {
        // A see-through part of the card does not hold the marker.
        return PixelHitTest(ClampToInt16(x - card.Surface().Left()), ClampToInt16(y - card.Surface().Top()),
                            card);
    });
    if (chosen < 0) {
        s.SetTag("-1");
        return;
    }
    s.SetTag(std::to_string(chosen));
    const controls::TranspImg& card = *table->crd(chosen);
    StoreOffset(GraphMarkerOffsets[n], BoxOf(card.Surface()), marker, QuarterTurn(card));
}

void MoveAttachedMarkers(std::int16_t c, std::int16_t dx, std::int16_t dy, std::int16_t mode) {
    MainForm* table = TableWindow();
    if (!table) return;
    // Only a turn needs the card's control; the markers of a card whose control is gone can still
    // be deleted.
    const controls::TranspImg* card = table->crd(c);
    ForEachTaggedMarker(*table, [&](const TaggedMarker& marker) {
        if (marker.on == c)
            CarryMarker(*marker.surface, marker.kind, marker.number, *marker.offset, card, dx, dy, mode);
    });
}

void MoveMarkersOfCards(const std::vector<std::int16_t>& controls, std::int16_t dx, std::int16_t dy) {
    MainForm* table = TableWindow();
    if (!table || controls.empty()) return;
    // Kept between calls: a drag step allocates nothing once the first step has sized it.
    static std::vector<TaggedMarker> onCards;
    onCards.clear();
    ForEachTaggedMarker(*table, [&](const TaggedMarker& marker) {
        if (marker.on >= 0 && marker.on <= ControlFlags::kLast && marker.on == std::floor(marker.on))
            onCards.push_back(marker);
    });
    if (onCards.empty()) return;
    // By card, and on each card in the order MoveAttachedMarkers takes them: the markers rise
    // in that order.
    std::sort(onCards.begin(), onCards.end(), [](const TaggedMarker& a, const TaggedMarker& b) {
        return a.on != b.on ? a.on < b.on : a.order < b.order;
    });
    for (const std::int16_t control : controls) {
        auto it = std::lower_bound(onCards.begin(), onCards.end(), control,
                                   [](const TaggedMarker& marker, double on) { return marker.on < on; });
        for (; it != onCards.end() && it->on == control; ++it)
            CarryMarker(*it->surface, it->kind, it->number, *it->offset, nullptr, dx, dy, kMarkersMove);
    }
}
