// The effects a card offers from its menu on the table: the menu's effect items, and the two
// routines that look at the next cards of a deck or at a player's hand through the pile viewer.
#pragma once

#include <cstdint>
#include <string>

// Fills the card menu's effect items for the card: only its owner sees its effects, and the two
// built-in ones are never offered.
void BuildEffectMenu(std::int16_t card);

// Runs the effect of a slot for the card of table control `element`; when the routine was not
// cancelled and the effect says so, the card is then discarded as the Discard item does it.
void RunEffect(std::int16_t element, std::int16_t slot);

// The routines; each sets the cancelled flag when the user cancels or there is nothing to show.
void ShowDeckEffect(const std::string& params);
void ShowHandEffect(const std::string& params);
bool EffectCancelled();
