// The definition reader on any .game file together with any globals.dat, as a new game reads
// them; a definition taken in fills the tables within their limits. Input: the game's text, then
// globals.dat's after a line "~~globals.dat~~".
#include "FuzzSupport.h"

#include "state/GameMgmt.h"
#include "state/MarkersMgmt.h"
#include "state/Model.h"
#include "state/OptionMgmt.h"
#include "state/PlayerMgmt.h"
#include "state/TableState.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::Start(false);
    // Image files that definitions of the seeds name, so that their loads go the whole way.
    for (const char* name : {"back.gif", "discard.gif", "c1.gif", "c2.gif", "m1.gif"})
        fuzzsupport::WriteFile(std::string("images/") + name, "GIF89a");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzzsupport::Split(data, size, "\n~~globals.dat~~\n", 2);
    fuzzsupport::WriteFile("fuzz.game", parts[0]);
    fuzzsupport::WriteFile("globals.dat", parts.size() > 1 ? parts[1] : "");
    platform::IniClearCache();
    Model().Reset();
    const std::string file = platform::ProgramFolder() + "\\fuzz.game";
    try {
        CurrentGameFile = file;
        InitGameOptions();
        LoadPlayerNames(file);
        if (LoadGameDefinition(file)) {
            // A definition taken in fills the tables within their limits only.
            fuzzsupport::Check(Game.totalCards >= 0 && Game.totalCards <= kMaxCards, "card count");
            fuzzsupport::Check(Game.deckCount >= 0 && Game.deckCount <= kMaxDecks, "deck count");
            for (int card = 1; card <= Game.totalCards; ++card)
                fuzzsupport::Check(Cards[card].deck >= 0 && Cards[card].deck < Game.deckCount,
                                   "a card's deck");
        }
    } catch (const fuzzsupport::ProgramEnded&) {
        // One of the few faults that end the program, reached with its message.
    }
    return 0;
}
