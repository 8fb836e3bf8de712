// The debug log: "hh:mm:ss [kind] text" lines appended to debug.log in the program folder while the
// game in use sets [GAME] debug, and the faults the program survived.
#pragma once

#include "platform/Controls.h"

#include <string>

// [GAME] debug of the game in use (TRUE/FALSE directive, default FALSE).
bool IsDebugMode();

// Appends one line in debug mode; nothing otherwise. The game transfer of direct play (a text
// starting "DECKDATA") is never written, and a text longer than kDebugTextLimit bytes is cut to
// that many, followed by its whole length, so a flood of received data cannot fill the disk. A
// log that cannot be written loses the line: the log must never stop the game.
void DebugLog(const std::string& kind, const std::string& text);

constexpr std::size_t kDebugTextLimit = 256;

// In debug mode, shows in `label` the line of the card under the mouse: card control `element`,
// the card number its Tag holds, whether the card lies in a hand, shows its face or is selected,
// and the mouse position (x, y as the control reports them). Outside debug mode the label is left
// alone.
void CardDebugText(platform::Label& label, int element, const std::string& tag, int x, int y);

// Points the platform's error logger at the debug log: a fault that escaped a handler is written
// as an "error" line in debug mode and goes to the logger it replaced otherwise.
void InstallDebugErrorLogger();
