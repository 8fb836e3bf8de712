// The in-hand test every part of the engine asks, and the opening move of the ON_HAND cards into
// their hands. In a game whose hands lie on the table a card is in a hand when its control lies
// inside its owner's area; the table window tells where its card controls are.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

// A card control's picture as drawn (after zoom and rotation), in twips.
struct CardPictureRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Set by the table window: the picture rectangle of table card control `control`, or nothing when
// that control does not exist. Without a table window no card lies on the table.
inline std::function<std::optional<CardPictureRect>(int control)> CardControlPicture;

// True when the card lies in its owner's hand: the in-hand flag in a hand-window game, otherwise
// the card's control lies strictly inside the area of its owner (who must have one).
bool IsCardInHand(std::int16_t control, std::int16_t card);

// At the start of a game every ON_HAND card gets pile position -3 and its in-hand flag; it has no
// control yet.
void DealOnHandCards();
