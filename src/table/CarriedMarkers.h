// Markers lying on cards: on which card a dropped marker lies, and carrying every marker that lies
// on a card along with it when the card is dragged, raised, lowered, shown, hidden, turned or
// taken off the table. A marker lies on the card control its Tag names; nothing here sends.
#pragma once

#include <cstdint>
#include <vector>

class MainForm;

// What MoveAttachedMarkers does to each marker lying on the card.
enum MarkerMoveMode : std::int16_t {
    kMarkersMove = 0,   // moved by (dx, dy), and raised unless the drag sends the card back
    kMarkersRaise = 1,  // to the top of the stacking order
    kMarkersShow = 2,   // made visible
    kMarkersHide = 3,   // hidden
    kMarkersDelete = 4, // deleted: the card left the table
    kMarkersTurn = 5,   // put back in place on the turned card
    kMarkersLower = 7,  // to the bottom of the stacking order
};

// Numerical marker m lies on the topmost card control whose rectangle holds it strictly inside
// ("-1" when none); its place on that card is kept for later turns. A marker on a card in another
// seat's hand is hidden.
void AttachNumericalMarker(std::int16_t marker);

// Image marker record n (control mrk(n - 1)) lies on the topmost card control that shows a
// pixel of its picture under the marker's centre (-1 when none); its place is kept as above.
void AttachImageMarker(std::int16_t record);

// Applies the mode to every marker lying on card control `control`; dx and dy (twips) count only
// when moving.
void MoveAttachedMarkers(std::int16_t control, std::int16_t dx, std::int16_t dy, std::int16_t mode);

// Moves the markers lying on each of the card controls by (dx, dy) as MoveAttachedMarkers does,
// card by card in the order given; one pass over the markers serves every card.
void MoveMarkersOfCards(const std::vector<std::int16_t>& controls, std::int16_t dx, std::int16_t dy);
