// Messages of faults that may repeat many times in one game: shown once, then logged.
#pragma once

#include <string>

// Shows the text the first time the fault it names (`fault`, a key of the caller's choosing) is met
// in a game; each later time the text goes to the debug log only. A broken picture on the table
// would otherwise raise a box every time it is drawn, and a definition one box per line it repeats.
void ShowMsgOnce(const std::string& fault, const std::string& text);
// A game starts: every fault may show its message once again.
void ForgetShownFaults();
