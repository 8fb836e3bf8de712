// The in-hand test every part of the engine asks, and the opening move of the ON_HAND cards into
// their hands. In a game whose hands lie on the table a card is in a hand when its control lies
// inside its owner's area; the view tells where the table's card controls are.
#pragma once

#include "state/TableView.h"

#include <cstdint>
#include <optional>

// True when the card lies in its owner's hand: the in-hand flag in a hand-window game, otherwise
// the card's control lies strictly inside the area of its owner (who must have one).
bool IsCardInHand(std::int16_t control, std::int16_t card);

// The answer when it does not depend on where the control lies (a hand-window game, no control,
// an owner without an area); nothing when it does.
std::optional<bool> CardInHandWherever(std::int16_t control, std::int16_t card);
// Whether a control's picture lies strictly inside the area of the card's owner.
bool PictureInOwnersArea(std::int16_t card, const CardPictureRect& picture);

// IsCardInHand for a caller that holds the card's control and can tell its picture rectangle
// more cheaply than the view: `picture()` is asked only when the control's place decides.
template <class PictureOf> bool IsCardInHand(std::int16_t control, std::int16_t card, PictureOf picture) {
    if (const std::optional<bool> known = CardInHandWherever(control, card)) return *known;
    const std::optional<CardPictureRect> rect = picture();
    return rect && PictureInOwnersArea(card, *rect);
}

// At the start of a game every ON_HAND card gets pile position -3 and its in-hand flag; it has no
// control yet.
void DealOnHandCards();
