// Game options: the player count, the arbitrator switch and the options of [OPTIONS] with each
// player's selection, and the questions the definition reader asks of them (which card lines take
// part, which section a player's deck is read from). The option window lives with the seat login.
#pragma once

#include "state/FixedTable.h"
#include "state/TableState.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int kMaxOptions = 15;

struct GameOptionRecord {
    std::int16_t num_options = 0;
    FixedTable<std::string, 1, kMaxOptions> optionNames;
    // 0: the player has no option selected. Saved with a game.
    FixedTable<std::int16_t, 1, kMaxPlayers> selectedOption;
};

extern GameOptionRecord& GameOptionTable;

// Reads [Game] players (kept within 0 to 7) and arbitrator, the seat names and the options of a
// definition (by default the game in use). The option names and selections are emptied first,
// also when the game has no options; each player then gets the default option.
void InitGameOptions();
void InitGameOptions(const std::string& file);

// True (-1) when the game has at least one option.
Flag HasOptions();

// The index of the player's option marked "TRUE" in the game in use, or in a definition (the
// last such); 0 when none.
std::int16_t DefaultOptionOf(std::int16_t player);
std::int16_t DefaultOptionOf(std::int16_t player, const std::string& file);

// The label of the option the player selected; "" when none.
std::string SelectedOptionLabel(std::int16_t player);

// The index (1 to 15) of the first option whose name equals the name exactly; -1 when none.
std::int16_t FindOptionByName(const std::string& name);

// Whether a card line with this "+"-joined option expression is left out: false (0) for an empty
// expression, in a game without options ([OPTIONS] num_options 0 or missing), or when a player from
// 1 to the player count selected one of its names; true (-1) otherwise.
Flag IsOptionExprActive(const std::string& expr);

// The section to read for player p's deck k: "DECK k PLAYER p", or, when that section has
// num_variants, "DECK " + the id of the last var<i> naming the player's selected option. "" when
// no variant matches: the caller reports that the deck has no section. Shows no message.
std::string DeckSectionFor(std::int16_t deck, std::int16_t player, const std::string& file);

// The labels of a player's options in a definition file, in option order, and the position
// (from 0) of the one marked "TRUE" (the last such); -1 when none is marked.
struct OptionList {
    std::vector<std::string> labels;
    int selected = -1;
};
void FillOptionList(const std::string& file, std::int16_t player, OptionList& list);

// The name (and index) of the player's option with that label in a definition file, the last
// match; "" (and 0) when none.
std::string OptionNameFromLabel(const std::string& file, std::int16_t player, const std::string& label);
std::int16_t OptionIndexFromLabel(const std::string& file, std::int16_t player, const std::string& label);
