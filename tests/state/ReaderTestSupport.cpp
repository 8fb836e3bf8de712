#include "ReaderTestSupport.h"

#include "platform/Ini.h"
#include "state/EffectMgmt.h"
#include "state/GameMgmt.h"
#include "state/Helpers.h"
#include "state/MarkersMgmt.h"
#include "state/Model.h"
#include "state/OptionMgmt.h"
#include "state/PlayerMgmt.h"
#include "state/TableState.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace readertest {

void ResetReaderState() {
    Model().Reset();
}

std::string FixtureText(const std::string& name) {
    std::ifstream in(testsupport::FixturePath("reader/" + name), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string DefinitionFolder::Write(const std::string& name, const std::string& text, bool withImages) const {
    folder_.Write(name, text);
    if (withImages) {
        std::smatch dir;
        std::string directory = "images";
        if (std::regex_search(text, dir, std::regex(R"(directory\s*=\s*([^\r\n]*))")))
            directory = dir[1].str();
        const std::regex image(R"([A-Za-z0-9_\-]+\.(bmp|gif|jpg))", std::regex::icase);
        for (auto it = std::sregex_iterator(text.begin(), text.end(), image); it != std::sregex_iterator();
             ++it)
            folder_.Write(directory + "/" + it->str(), "");
    }
    platform::IniClearCache();
    return folder_.Path() + "\\" + name;
}

bool DefinitionFolder::Load(const std::string& path) const {
    CurrentGameFile = path;
    InitGameOptions();
    LoadPlayerNames(path);
    return LoadGameDefinition(path);
}

bool DefinitionFolder::LoadText(const std::string& text, bool withImages) const {
    return Load(Write("test.game", text, withImages));
}

std::vector<int> DrawPile(int deck) {
    std::vector<int> pile;
    for (int card = 1; card <= Game.totalCards; ++card)
        if (Cards[card].deck == deck && !Cards[card].inDiscardPile && Cards[card].pilePosition >= 1)
            pile.push_back(card);
    std::sort(pile.begin(), pile.end(),
              [](int a, int b) { return Cards[a].pilePosition < Cards[b].pilePosition; });
    return pile;
}

std::vector<std::string> CardPlaceFaults() {
    std::vector<std::string> faults;
    auto fault = [&](const std::string& text) { faults.push_back(text); };
    if (Game.totalCards != CardsCreated)
        fault("total " + std::to_string(Game.totalCards) + " but " + std::to_string(CardsCreated) + " made");
    std::map<int, int> perDeck;
    std::map<int, std::vector<int>> positions;
    for (int card = 1; card <= Game.totalCards; ++card) {
        const CardRecord& c = Cards[card];
        const std::string name = "card " + std::to_string(card);
        if (c.deck < 0 || c.deck >= Game.deckCount) {
            fault(name + " in deck " + std::to_string(c.deck) + " beyond the deck count");
            continue;
        }
        ++perDeck[c.deck];
        const bool drawPile = !c.inDiscardPile && c.pilePosition >= 1 && !c.inHand && !c.eliminated;
        const bool discardPile = c.inDiscardPile && c.pilePosition >= 1 && !c.inHand && !c.eliminated;
        const bool hand = c.inHand && c.pilePosition == kPileInPlay && !c.inDiscardPile && !c.eliminated;
        const bool awaitsTable = !c.inDiscardPile && c.pilePosition == 0 && !c.inHand && !c.eliminated &&
                                 CardHasEffect(static_cast<std::int16_t>(card), kOnPlay);
        const bool eliminated = c.eliminated && c.pilePosition == kPileEliminated;
        const int places = drawPile + discardPile + hand + awaitsTable + eliminated;
        if (places != 1)
            fault(name + " lies in " + std::to_string(places) + " places (position " +
                  std::to_string(c.pilePosition) + ")");
        if (drawPile) positions[c.deck].push_back(c.pilePosition);
    }
    for (int deck = 0; deck < Game.deckCount; ++deck) {
        if (perDeck[deck] != Game.deckSizes[deck])
            fault("deck " + std::to_string(deck) + " has size " + std::to_string(Game.deckSizes[deck]) +
                  " but " + std::to_string(perDeck[deck]) + " cards");
        std::vector<int>& pile = positions[deck];
        std::sort(pile.begin(), pile.end());
        for (std::size_t i = 0; i < pile.size(); ++i)
            if (pile[i] != static_cast<int>(i) + 1) {
                fault("deck " + std::to_string(deck) + " draw pile is not numbered 1.." +
                      std::to_string(pile.size()));
                break;
            }
    }
    for (int card = std::max<int>(Game.totalCards, 0) + 1; card <= kMaxCards; ++card)
        if (!Cards[card].key.empty() || !Cards[card].image.empty()) {
            fault("card " + std::to_string(card) + " beyond the total is not blank");
            break;
        }
    return faults;
}

} // namespace readertest
