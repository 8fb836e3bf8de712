#include "state/GameMgmt.h"

#include "common/FaultMessages.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Codec.h"
#include "platform/Files.h"
#include "platform/Ini.h"
#include "state/DecksMgmt.h"
#include "state/DiceRecords.h"
#include "state/EffectMgmt.h"
#include "state/HandMgmt.h"
#include "state/Helpers.h"
#include "state/MarkersMgmt.h"
#include "state/OptionMgmt.h"
#include "state/PlayerMgmt.h"
#include "state/PropertyMgmt.h"
#include "state/TableState.h"
#include "state/TableView.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace fs = std::filesystem;

namespace {

std::string CommonSection(int n) {
    return "COMMON " + std::to_string(n);
}

std::string PlayerSection(int p) {
    return "PLAYER " + std::to_string(p);
}

std::string BadCopyCount(int k, const std::string& section, const std::string& text) {
    return "card " + std::to_string(k) + " of [" + section +
           "] has an invalid copy count: " + GetField(text, 1, ",");
}

// Counts what a definition asks of the tables without changing anything, so that a definition
// that does not fit is refused before the previous state is touched. "" when it fits.
std::string CheckDefinitionLimits(const std::string& file) {
    // Checked as the reader reads them: rounded to whole numbers.
    const std::string playersText = GetIni("GAME", "players", file);
    const int playerCount = LeadingInt16(playersText);
    if (playerCount < 0 || playerCount > kMaxPlayers)
        return "it has " + FormatNumber(LeadingNumber(playersText)) + " players, at most " +
               std::to_string(kMaxPlayers) + " are possible";
    const std::string commonsText = GetIni("GAME", "common_decks", file);
    const int commonCount = LeadingInt16(commonsText);
    if (commonCount < 0 || commonCount > kMaxDecks)
        return "it has " + FormatNumber(LeadingNumber(commonsText)) + " common decks, at most " +
               std::to_string(kMaxDecks) + " decks are possible";

    // A picture the game names outside the program folder would be shown and saved, and the save
    // then refused: the game is refused at once instead.
    const auto leaves = [](const std::string& path) { return !IsPlainRelativePath(path); };
    if (const std::string directory = GetIni("GAME", "directory", file); leaves(directory))
        return "its image folder " + directory + " leaves the program folder";
    if (const std::string desktop = GetIni("GAME", "desktop", file); leaves(desktop))
        return "its desktop picture " + desktop + " leaves the program folder";

    long long cards = 0;
    const auto count = [&](const std::shared_ptr<const DeckLines>& deck, const std::string& section) {
        for (const DeckLines::Entry& entry : deck->entries) {
            if (leaves(entry.line.image))
                return "the picture " + entry.line.image + " of card " + std::to_string(entry.number) +
                       " of [" + section + "] leaves the program folder";
            cards += entry.line.copies;
        }
        return deck->refusal;
    };
    for (int n = 1; n <= commonCount; ++n) {
        std::string refusal = count(CommonDeckLines(n, file), CommonSection(n));
        if (!refusal.empty()) return refusal;
    }
    long long decks = commonCount;
    for (int p = 1; p <= playerCount; ++p) {
        const int own = LeadingInt16(GetIni(PlayerSection(p), "decks", file));
        if (own < 1) continue;
        decks += own;
        if (decks > kMaxDecks) break;
        for (int k = 1; k <= own; ++k) {
            const std::string section =
                DeckSectionFor(static_cast<std::int16_t>(k), static_cast<std::int16_t>(p), file);
            std::string refusal = count(PlayerDeckLines(section, file), section);
            if (!refusal.empty()) return refusal;
        }
    }
    if (decks > kMaxDecks)
        return "it has more than " + std::to_string(kMaxDecks) + " decks, at most " +
               std::to_string(kMaxDecks) + " are possible";
    if (cards > kMaxCards)
        return "it has " + std::to_string(cards) + " cards, at most " + std::to_string(kMaxCards) +
               " are possible";
    return "";
}

// Every table a definition fills starts empty, so that nothing of the previous game stays.
// The seat names and IDs, the acting seat and the options the seat login set are kept.
void ClearDefinitionTables() {
    ClearCardTable();
    CardsCreated = 0;
    Game.backImages.Fill("");
    Game.discardImages.Fill("");
    Game.deckSizes.Fill(0);
    Game.lastCardLines.Fill(-1);
    Game.decks.Fill(DeckRecord{});
    Game.ZOrderList.Fill(ZOrderEntry{});
    for (PlayerRecord& seat : Game.players) {
        seat.deckCount = 0;
        seat.decks.fill(0);
        seat.hasTableArea = kFalse;
    }
    ResetReports();
}

// While a definition is read, the program folder and the names in the game's image folder are
// looked up once rather than once per card: a definition of 500 cards would otherwise spend
// most of its load finding the same folders again.
// The names of a folder's files, looked up without regard to case.
class NameSet {
  public:
    void Assign(std::vector<std::string> names) {
        names_ = std::move(names);
        index_.Reserve(names_.size());
        for (std::size_t i = 0; i < names_.size(); ++i)
            index_.Put(platform::AnsiNoCaseHash{}(names_[i]), i);
    }
    bool Contains(std::string_view name) const {
        return index_.Find(platform::AnsiNoCaseHash{}(name), [&](std::size_t i) {
            return platform::AnsiNoCaseEqual{}(names_[i], name);
        }) != std::string::npos;
    }

  private:
    std::vector<std::string> names_;
    platform::NoCaseIndex index_;
};
std::optional<std::string> g_readingFolder;
const NameSet* g_imageNames = nullptr;
// Each deck's card lines, cut once: the limits are checked on the very lines the cards come from.
std::optional<std::map<std::string, std::shared_ptr<const DeckLines>>> g_deckLines;
// The first fault found while the cards are made that refuses the definition once it is read.
std::optional<std::string> g_cardRefusal;

class ReadingScope {
  public:
    ReadingScope() {
        g_readingFolder = platform::ProgramFolder();
        g_deckLines.emplace();
        g_cardRefusal.reset();
    }
    ~ReadingScope() {
        g_readingFolder.reset();
        g_imageNames = nullptr;
        g_deckLines.reset();
        g_cardRefusal.reset();
    }
    ReadingScope(const ReadingScope&) = delete;
    ReadingScope& operator=(const ReadingScope&) = delete;

  private:
    platform::IniReadScope ini_;
};

// The visible regular files of the image folder, matched without regard to case: the files
// FileExists finds. Kept between reads together with the folder's modification time, which
// changes whenever a file is added to the folder, removed from it or renamed in it.
struct FolderListing {
    std::string folder;
    fs::file_time_type time{};
    NameSet names;
};

const NameSet& ImageFolderNames() {
    static FolderListing listing;
    static const NameSet none;
    const auto folder = platform::ResolvePath(*g_readingFolder + "\\" + Game.directory);
    if (!folder) return none;
    std::error_code error;
    const auto time = fs::last_write_time(*folder, error);
    if (error) return none;
    if (listing.folder == *folder && listing.time == time) return listing.names;
    listing.folder = *folder;
    listing.time = time;
    listing.names.Assign(platform::RegularFileNames(*folder));
    return listing.names;
}

// A card image exists: a plain file name is looked up among the image folder's files (listed
// once, after [GAME] directory is known); anything else goes to the file system.
bool ImageExists(const std::string& name) {
    // One pass over the name: find_first_of looks each byte up in the set with a call of its own.
    const bool plain = !name.empty() && name[0] != '.' && std::none_of(name.begin(), name.end(), [](char c) {
        return c == '\\' || c == '/' || c == '*' || c == '?';
    });
    if (!g_readingFolder || !plain) return FileExists(GameImagePath(name));
    if (!g_imageNames) g_imageNames = &ImageFolderNames();
    return g_imageNames->Contains(name);
}

} // namespace

std::string GameImagePath(const std::string& name) {
    const std::string folder = g_readingFolder ? *g_readingFolder : platform::ProgramFolder();
    return folder + "\\" + Game.directory + "\\" + name;
}

bool ParseCardLine(const std::string& text, CardLine& line) {
    // The five fields as GetField cuts them (one past the text's end reads ""), taken as views and
    // found by a plain scan: hundreds of short lines are cut per definition.
    std::string_view fields[5];
    std::string_view rest = text;
    for (std::string_view& field : fields) {
        std::size_t comma = 0;
        while (comma < rest.size() && rest[comma] != ',')
            ++comma;
        field = rest.substr(0, comma);
        if (comma == rest.size()) break;
        rest.remove_prefix(comma + 1);
    }
    const std::string_view first = fields[0];
    // Made whole rather than assigned field by field, which takes the strings' slower path.
    line = CardLine{std::string(first),     std::string(fields[1]), std::string(fields[2]),
                    std::string(fields[3]), std::string(fields[4]), 1};
    if (!first.starts_with("(x")) return true;
    const auto close = first.find(')');
    if (close == std::string_view::npos) return false;
    const double copies = std::floor(LeadingNumber(std::string(first.substr(2, close - 2))));
    if (!(copies <= kMaxCards)) return false;
    line.copies = std::max(1, static_cast<int>(copies));
    line.image = StripBlanks(std::string(first.substr(close + 1)));
    return true;
}

namespace {

// Cuts `count` lines of a deck section. With skipMissing a missing line makes nothing; with
// filterOptions a line whose options nobody selected makes nothing.
DeckLines CutDeckLines(const std::string& section, const std::string& file, int count, bool skipMissing,
                       bool filterOptions) {
    DeckLines deck;
    deck.entries.reserve(static_cast<std::size_t>(std::max(count, 0)));
    // The key "card" k is made in one buffer and each line is cut straight into its entry: a
    // deck of hundreds of lines would otherwise build and move every text several times.
    std::string key = "card";
    char digits[16];
    for (int k = 1; k <= count; ++k) {
        key.resize(4);
        key.append(digits, std::to_chars(digits, digits + sizeof digits, k).ptr);
        const std::string text = GetIni(section, key, file);
        if (text.empty() && skipMissing) continue;
        DeckLines::Entry& entry = deck.entries.emplace_back();
        if (!ParseCardLine(text, entry.line)) {
            deck.entries.pop_back();
            deck.refusal = BadCopyCount(k, section, text);
            break;
        }
        if (filterOptions && IsOptionExprActive(entry.line.options)) {
            deck.entries.pop_back();
            continue;
        }
        entry.number = k;
        entry.missing = text.empty();
    }
    return deck;
}

std::shared_ptr<const DeckLines> KeptDeckLines(const std::string& section,
                                               const std::function<DeckLines()>& cut) {
    if (!g_deckLines) return std::make_shared<const DeckLines>(cut()); // outside a read nothing is kept
    auto kept = g_deckLines->find(section);
    if (kept == g_deckLines->end())
        kept = g_deckLines->emplace(section, std::make_shared<const DeckLines>(cut())).first;
    return kept->second;
}

} // namespace

std::shared_ptr<const DeckLines> CommonDeckLines(int n, const std::string& file) {
    const std::string section = CommonSection(n);
    return KeptDeckLines(section, [&] {
        const int lastCard = LeadingInt16(GetIni(section, "lastCard", file));
        if (lastCard != 0) return CutDeckLines(section, file, lastCard, true, true);
        return CutDeckLines(section, file, LeadingInt16(GetIni(section, "deckSize", file)), false, true);
    });
}

std::shared_ptr<const DeckLines> PlayerDeckLines(const std::string& section, const std::string& file) {
    return KeptDeckLines(section, [&] {
        return CutDeckLines(section, file, LeadingInt16(GetIni(section, "decksize", file)), false, false);
    });
}

int CreateCardsFromLine(std::int16_t deck, std::int16_t owner, const CardLine& line) {
    if (CardsCreated >= kMaxCards) return 0;
    const std::int16_t first = ++CardsCreated;
    CardRecord& card = Cards[first];
    card = NewCardRecord(deck);
    card.owner = owner;
    card.key = line.key;
    card.image = line.image;
    if (!ImageExists(line.image))
        ShowMsgOnce("card picture missing",
                    "File: " + line.image + " not found on directory " + Game.directory);
    if (const std::string unknown = AssignCardEffects(first, line.effects);
        !unknown.empty() && !g_cardRefusal)
        g_cardRefusal = "Effect " + unknown + " for card " + std::to_string(first) + " not found";
    SetCardProperties(first, line.properties);
    int made = 1;
    for (; made < line.copies && CardsCreated < kMaxCards; ++made)
        Cards[++CardsCreated] = Cards[first];
    return made;
}

void ReadDeckDirectives(std::int16_t deck, const std::string& section, const std::string& file,
                        std::int16_t owner) {
    DeckRecord& r = Game.decks[deck];
    r.section = section;
    r.owner = owner;
    const auto text = [&](const char* key) { return GetIni(section, key, file); };
    const auto directive = [&](const char* key, bool fallback) {
        return ToFlag(GetBoolDirective(section, key, fallback, file));
    };
    r.name = text("name");
    r.only_visible_to_owner = ToFlag(platform::AnsiUpper(text("only_visible_to_owner")) == "TRUE");
    r.cards_can_be_put_back = directive("cards_can_be_put_back", false);
    r.viewDiscard = directive("viewDiscard", true);
    r.resize = directive("resize", false);
    r.zoom = DeckZoom(LeadingInt16(text("zoom")));
    r.split = directive("split", true);
    r.draw_facedown = directive("draw_facedown", false);
    r.draw_last_discard = directive("draw_last_discard", false);
    r.move_discard_to_bottom = directive("move_discard_to_bottom", false);
    r.count_cards_in_draw_pile = directive("count_cards_in_draw_pile", false);
    r.count_cards_in_discard_pile = directive("count_cards_in_discard_pile", false);
    const std::string taken = platform::AnsiUpper(text("played_cards_can_be_taken"));
    if (taken.empty() || taken == "ALWAYS")
        r.played_cards_can_be_taken = 2;
    else if (taken == "FACEUP")
        r.played_cards_can_be_taken = 1;
    else if (taken == "NEVER")
        r.played_cards_can_be_taken = 0;
    r.restricted_actions = platform::AnsiUpper(text("restricted_actions"));
    r.locked = directive("locked", false);
    r.openDrawDeck = directive("openDrawDeck", false);
    r.openDiscardPile = directive("openDiscardPile", false);
    r.chooseCardFromDrawDeck = directive("chooseCardFromDrawDeck", false);
    r.chooseCardFromDiscardPile = directive("chooseCardFromDiscardPile", false);
    r.enableReshuffleDrawDeck = directive("enableReshuffleDrawDeck", false);
    r.deal = LeadingInt16(text("deal"));
    r.hideDiscardPile = directive("hideDiscardPile", false);
    r.shuffleAndRotate = directive("shuffleAndRotate", false);
    if (r.shuffleAndRotate && Game.external_hand) {
        r.shuffleAndRotate = kFalse;
        ShowMsg("When using the External Hand the directive shuffleAndRotate cannot be used: \n" + section +
                " reset to default");
    }
    r.cardTooltipFormat = text("cardTooltipFormat");
    const std::string rotate = text("rotate");
    r.rotate = rotate.empty() ? "0,90" : rotate;
    r.transparentColor = text("transparentColor");
    r.drawToHand = directive("drawToHand", false);
    r.drawToTable = directive("drawToTable", false);
    r.viewDrawDeck = directive("viewDrawDeck", false);
    r.noReshuffle = directive("noReshuffle", false);
    const std::string splitDecks = text("split_decks");
    r.splitCount = LeadingInt16(GetField(splitDecks, 1, ","));
    r.splitText = GetField(splitDecks, 2, ",");
    LoadReports(file);
}

bool LoadGameDefinition(const std::string& file) {
    // A message shown while reading lets other events run; a second read started by one of them
    // would empty the tables under the first.
    if (g_readingFolder) {
        ShowMsg("The game cannot be loaded: another game is being read");
        return false;
    }
    const ReadingScope reading;
    const std::string refusal = CheckDefinitionLimits(file);
    if (!refusal.empty()) {
        ShowMsg("The game cannot be loaded: " + refusal);
        return false;
    }

    Game.GamePhase = kPhaseGameList;
    ForgetDirectiveMessages();
    ClearDefinitionTables();
    LoadEffects(file);
    Game.zOrderCount = 0;
    Game.turnCounter = 0;
    Game.deckCount = 0;
    Game.totalCards = 0;
    Game.diceLogPosition = 0;
    Game.diceSerial = 0;
    // The roll history lists the ring backwards until an unused entry: no roll of the previous
    // game may stay in it.
    DiceLog.Fill(DiceLogEntry{});

    Game.common_decks = LeadingInt16(GetIni("GAME", "common_decks", file));
    Game.playerCount = LeadingInt16(GetIni("GAME", "players", file));
    Game.directory = GetIni("GAME", "directory", file);
    Game.transparentColor = GetIni("GAME", "transparentColor", file);
    Game.handSize = LeadingInt16(GetIni("GAME", "handSize", file));
    Game.external_hand = ToFlag(GetBoolDirective("GAME", "external_hand", false, file));
    Game.card_info = ToFlag(platform::AnsiUpper(GetIni("GAME", "card_info", file)) == "TRUE");

    for (int n = 1; n <= Game.common_decks; ++n) {
        const int d = n - 1;
        const std::string section = CommonSection(n);
        Game.deckCount = static_cast<std::int16_t>(Game.deckCount + 1);
        const std::int16_t lastCard = LeadingInt16(GetIni(section, "lastCard", file));
        Game.lastCardLines[d] = lastCard == 0 ? std::int16_t{-1} : lastCard;
        Game.backImages[d] = GameImagePath(GetIni(section, "img_back", file));
        Game.discardImages[d] = GameImagePath(GetIni(section, "img_discard", file));
        ReadDeckDirectives(static_cast<std::int16_t>(d), section, file, 0);
    }

    Game.desktop = GetIni("GAME", "desktop", file);
    const std::string baseMarker = GetIni("GAME", "baseMarker", file);
    Game.baseMarker = baseMarker.empty() ? std::int16_t{1} : LeadingInt16(baseMarker);

    Game.nextDrawPositions.Fill(1);
    Game.nextDiscardPositions.Fill(1);
    Game.lastDiscarded.Fill(-1);

    // The deck sizes and the total count only the cards that were made: a line left out by the
    // options or missing under lastCard makes none.
    CardsCreated = 0;
    for (int n = 1; n <= Game.common_decks; ++n) {
        const auto d = static_cast<std::int16_t>(n - 1);
        Game.decks[d].firstCard = static_cast<std::int16_t>(CardsCreated + 1);
        int made = 0;
        const auto lines = CommonDeckLines(n, file);
        for (const DeckLines::Entry& entry : lines->entries) {
            if (entry.missing)
                ShowMsg("Card " + std::to_string(entry.number) + " on common deck #" + std::to_string(n) +
                        " not found");
            made += CreateCardsFromLine(d, 0, entry.line);
        }
        Game.deckSizes[d] = static_cast<std::int16_t>(made);
        Game.totalCards = static_cast<std::int16_t>(Game.totalCards + made);
    }

    LoadPlayerDecks(file);
    LoadMarkerDefinitions(file);
    DealOnHandCards();
    for (int d = 0; d < Game.deckCount; ++d)
        ShuffleDeck(static_cast<std::int16_t>(d), false, false);
    SplitDeckAmongPlayers();
    SplitDecks();
    LoadedCardControls = 0;

    // A card whose effects cannot be told is not played with: nothing of the game stays.
    if (g_cardRefusal) {
        ClearDefinitionTables();
        Game.deckCount = 0;
        Game.totalCards = 0;
        ShowMsg("The game cannot be loaded: " + *g_cardRefusal);
        return false;
    }
    return true;
}

std::string MissingDeckPicture(const GameState& game) {
    const std::string folder = platform::ProgramFolder() + "\\" + game.directory + "\\";
    for (int d = 0; d < std::clamp<int>(game.deckCount, 0, kMaxDecks); ++d) {
        const std::string deck = std::to_string(d);
        const std::string& back = game.backImages[d];
        if (game.deckSizes[d] >= 1 && (back == folder || !FileExists(back)))
            return "Back image for deck " + deck + " not found:" + ShownPath(back);
        if (game.decks[d].resize == kFalse) continue;
        const std::string& discard = game.discardImages[d];
        if (discard == folder) return "Discard image for deck " + deck + " not defined";
        if (!FileExists(discard))
            return "Discard image for deck " + deck + " not found:\r\n" + ShownPath(discard);
    }
    return {};
}

void ShowGameCopyright() {
    const std::string picture = GetIni("GAME", "copyright", CurrentGameFile);
    if (picture.empty()) return;
    const std::string path = GameImagePath(picture);
    if (FileExists(path)) View().ShowCopyrightPicture(path);
}

bool CardsCanBeGiven() {
    return platform::AnsiUpper(GetField(GetIni("GAME", "cards_can_be_given", CurrentGameFile), 1, ",")) ==
           "TRUE";
}

bool GivenCardsGoToHand() {
    return platform::AnsiUpper(GetField(GetIni("GAME", "cards_can_be_given", CurrentGameFile), 2, ",")) ==
               "TRUE" &&
           Game.external_hand;
}
