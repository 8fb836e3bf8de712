// The game log: the lines of the shared log kept with the game.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Lines 1 to LogCount are in use; the store holds the game's [LOG] max_log_items lines.
extern std::vector<std::string>& LogLines;
extern std::int16_t& LogCount;

// Sizes the log store for the game in use ([LOG] max_log_items, 200 when below 1) and empties it.
void InitLog();
