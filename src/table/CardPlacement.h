// What the card actions need of the table beyond their own bodies: the markers that lie on a
// card following what happens to it, a card put into a seat's hand, a card taken from a pile into
// a seat's area, and the card information window.
#pragma once

#include <cstdint>

// What happens to the markers lying on a card's control.
enum MarkerFollow : int {
    kMarkersMove = 0,
    kMarkersRaise = 1,
    kMarkersShow = 2,
    kMarkersHide = 3,
    kMarkersDelete = 4,
    kMarkersLower = 7,
};

// The markers lying on control `element` move by dx, dy twips or follow the card as `mode` says.
// The table places no markers on cards yet, so nothing lies on one to follow it.
void MoveAttachedMarkers(std::int16_t element, int dx, int dy, int mode);

// The record side of a card going into a seat's hand in the hand window: in play, held, at the
// window's first place, its face shown. The card has no table control.
void PutCardInHandWindow(std::int16_t card, std::int16_t player);

// A card taken from a pile into a seat's table area, k-th in a row (k from 1): a new control (or
// the card's own, when it already lies on the table), its face for its new owner and its back for
// the others, placed by the deck's cardOffset. The control's index.
std::int16_t TakeCardToPlayer(std::int16_t card, std::int16_t player, std::int16_t k);

// The card information window: the card's [CARD INFO] name and text, not modal.
void ShowCardInfoWindow(std::int16_t card);
// Closes the card information window (the table window goes).
void CloseCardInfoWindow();
