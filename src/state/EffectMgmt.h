// Card effects: the effect table read from [EFFECTS] with the two built-in effects ON_HAND and
// ON_PLAY, the effect flags of each card, and the first deal of the ON_HAND cards. The effect menu
// and the routines that open windows live with the table window.
#pragma once

#include "state/FixedTable.h"
#include "state/TableState.h"

#include <cstdint>
#include <string>

inline const std::string kOnHand = "ON_HAND";
inline const std::string kOnPlay = "ON_PLAY";

// The definition may add this many effects beside the two built-in ones.
constexpr int kMaxDefinedEffects = kEffectSlots - 2;

struct EffectSlot {
    std::string name; // also the name of its definition section
    std::string routine;
    std::string params;
    std::string label;
    Flag discard = kFalse;
};

// Slots 1 to 4; the effect count is kept in Game.effectCount.
using EffectTable = FixedTable<EffectSlot, 1, kEffectSlots>;
extern EffectTable& EffectDef;

// Fills the effect table from a definition (by default the game in use), emptying it first: the
// definition's effects, then ON_HAND and ON_PLAY. Effects beyond the room of the table are left
// out with a message.
void LoadEffects();
void LoadEffects(const std::string& file);

// Sets the card's four effect flags from a "+"-joined list of effect names; an empty list clears
// them. Gives the first name the game does not define ("" when every one is defined), which sets
// nothing: the definition reader refuses such a game.
std::string AssignCardEffects(std::int16_t card, const std::string& effects);

// The slot (1 to 4) whose effect name equals the name up to its first "=", without regard to
// case; -1 when none.
std::int16_t FindEffect(const std::string& name);

// True (-1) when the card carries an effect of that name (compared as FindEffect compares).
Flag CardHasEffect(std::int16_t card, const std::string& name);

// Deals every ON_HAND card into its receiver's hand after the opening deal, then reshuffles the
// decks those cards came from. A common card goes to the seat of its "$OWNER" property, or round
// the seats when that names no seat of the game; any other card to its owner. A card that no seat
// can take (a game without players) goes back into its deck's draw pile.
void ProcessOnHandCards();
