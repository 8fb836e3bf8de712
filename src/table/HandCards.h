// Cards entering a hand: into the local player's hand window, into another seat's hand (records
// only), the faces of the cards lying in the table's hand areas after a load, and a hand card
// laid on the table by a drop.
#pragma once

#include <cstdint>

// The pile position of a card a pile viewer took out of a draw pile, until the pile closes up.
constexpr std::int16_t kPileTaken = -30;

namespace controls {
class TranspImg;
}
namespace platform {
struct NativeWidget;
}

// A card goes into a seat's hand without the hand window (the other side's move to hand, a
// given card): its control index becomes the seat's hand count plus one, it is in play and in
// hand, out of the discard pile, unselected, and whatever table control showed it goes with its
// markers. The owner stays as it is.
void PutCardInHand(std::int16_t card, std::int16_t control, std::int16_t player);

// The hand-window side of a draw: the deck moves on and the card appears in the window.
void DrawCardToHandWindow(std::int16_t deck, std::int16_t card);

// A card from the table (control: its table element) or from a pile (control -1) enters the local
// player's hand window face up, at the window's first place.
void MoveCardToHandWindow(std::int16_t card, std::int16_t control);

// Shows the card's face on a hand window element, zoomed as the game asks.
void LoadHandCardPicture(controls::TranspImg& element, std::int16_t card);

// After a load, the cards in the table's hand areas show their faces to their owner only.
void ShowOwnHandFaces();

// A drag dropped on the table at (x, y), twips of the table surface: when it is the drag of a
// hand card (its source the card's element), the card leaves the hand and lies there face up or
// face down, grabbed at the hand window's grab point.
void BasePict_DragDrop(platform::NativeWidget* source, double x, double y);

// The bodies both sides run.
// A held card leaves its hand for a new table control at (left, top), face up or face down, and
// becomes the owner's; returns the control, -1 when the card is not held.
std::int16_t DropCardFromHand_body(std::int16_t card, int top, int left, std::int16_t owner, bool faceDown);
// The other side drew the top card of the deck into its hand window: the card becomes the seat's
// and is held, with no control here.
void DrawCardToOtherHand(std::int16_t deck, std::int16_t player);
// A card taken from a pile goes onto the table in front of the seat as the k-th card of one take
// (a held card already on the table only changes hands); returns its control.
std::int16_t TakePileCardToTable(std::int16_t card, std::int16_t player, std::int16_t k);
// The other side took a card from a pile onto the table in front of the seat, at (left, top).
void TakeCardToTableHand(std::int16_t card, int top, int left, std::int16_t player);
// The cards a pile viewer took out of the deck's draw pile (marked -30 until the pile closed up)
// are in play.
void SettlePileTakes(std::int16_t deck);
