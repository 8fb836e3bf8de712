// The engine's own common helpers: the TRUE/FALSE directive reader of the game in use, random
// numbers and the reset of the per-game interaction state. The helpers the editor shares (INI,
// fields, paths) come with them.
#pragma once

#include "common/Helpers.h"

#include <cstdint>
#include <string>
#include <string_view>

// A TRUE/FALSE key of a definition, by default the game in use. "" gives the default; anything
// else but TRUE or FALSE counts as false and shows a message, once per key and game.
bool GetBoolDirective(const std::string& section, const std::string& key, bool defaultValue);
bool GetBoolDirective(const std::string& section, const std::string& key, bool defaultValue,
                      const std::string& file);

// A whole number from 1 to n, each equally likely; n of 0 or below gives 1.
std::int16_t RandomInt(int n);

// The next value in [0, 1) of the program's one generator, and its seed.
double NextRandom();
void SeedRandom(double seed);
// Seeds the generator from the system's entropy and the clock: what a running program deals and
// rolls is then nobody's to foresee, whichever way a game started and however close in time two
// programs started.
void SeedRandomFromEntropy();
// Seeds the generator from the bytes given: two programs given the same bytes draw the same
// numbers (both sides of direct play deal one opening from the game sent).
void SeedRandomFromBytes(std::string_view bytes);

struct CalendarDate {
    int year;
    int month; // 1..12
    int day;   // 1..31
};

// The date as CYYDDD: century minus 19, two-digit year, day of the year.
std::int32_t DateCode(const CalendarDate& date);

// The seed the game list gives the generator: today's date code × 10 plus the seconds of the day.
double GetTimeStamp();

// Forgets the interaction state of the table before a game is set up, the shown directive
// messages too.
void ResetTableState();
// A game starts: every invalid directive value may show its message again.
void ForgetDirectiveMessages();
