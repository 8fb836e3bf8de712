// The saved-game reader on any bytes, as a save file or a game received in direct play reaches
// it: a record it takes holds only counts and indexes within the tables, and reads back to the
// same bytes.
#include "FuzzSupport.h"

#include "state/SaveRecord.h"

#include <string>
#include <string_view>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::Start(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto record = NewSaveRecord();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string error;
    if (!DecodeSaveRecord(bytes, *record, error)) {
        fuzzsupport::Check(!error.empty(), "a refusal says why");
        return 0;
    }
    const GameState& g = record->game;
    fuzzsupport::Check(g.totalCards >= 0 && g.totalCards <= kMaxCards, "card count");
    fuzzsupport::Check(g.deckCount >= 0 && g.deckCount <= kMaxDecks, "deck count");
    fuzzsupport::Check(g.zOrderCount >= 0 && g.zOrderCount <= kMaxZOrder, "stacking count");
    for (int c = 1; c <= g.totalCards; ++c)
        fuzzsupport::Check(record->cards[c].deck >= 0 && record->cards[c].deck < g.deckCount,
                           "a card's deck");
    std::string again;
    fuzzsupport::Check(EncodeSaveRecord(*record, again, error), "a record read can be written");
    fuzzsupport::Check(
        again == bytes || again.size() == bytes.size() + 8,
        "a record reads back to its bytes (an empty log's bare form is written with its 8 further bytes)");
    return 0;
}
