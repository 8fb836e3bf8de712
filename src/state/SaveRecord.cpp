#include "state/SaveRecord.h"

#include "common/Helpers.h"
#include "platform/Files.h"
#include "state/CaptionMgmt.h"
#include "state/OptionMgmt.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

namespace {

constexpr std::size_t kMaxTextBytes = 0xFFFF;

// Appends members in their stored form. Once a member cannot be written, the rest is skipped
// and the first reason stays.
class Writer {
  public:
    explicit Writer(std::string& out) : out_(out) {}

    void Int(std::int16_t value) {
        const auto bits = static_cast<std::uint16_t>(value);
        out_.push_back(static_cast<char>(bits & 0xFF));
        out_.push_back(static_cast<char>(bits >> 8));
    }
    void Int32(std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8)
            out_.push_back(static_cast<char>((bits >> shift) & 0xFF));
    }
    void Float(float value) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        Int32(static_cast<std::int32_t>(bits));
    }
    void Text(const std::string& text) {
        if (text.size() > kMaxTextBytes) {
            Fail("a text of " + std::to_string(text.size()) + " bytes is longer than a saved game can hold");
            return;
        }
        Int(static_cast<std::int16_t>(static_cast<std::uint16_t>(text.size())));
        out_ += text;
    }
    void CutText(const std::string& text, std::size_t) { Text(text); }
    void Fail(const std::string& why) {
        if (error_.empty()) error_ = why;
    }
    bool Ok() const { return error_.empty(); }
    const std::string& Error() const { return error_; }

  private:
    std::string& out_;
    std::string error_;
};

// Takes members from the bytes in their stored form. Reading past the end fails once and gives
// zeros from then on, so the caller checks once at the end.
class Reader {
  public:
    explicit Reader(std::string_view in) : in_(in) {}

    void Int(std::int16_t& value) {
        std::uint8_t b[2] = {};
        if (!Take(b, 2)) {
            value = 0;
            return;
        }
        value = static_cast<std::int16_t>(static_cast<std::uint16_t>(b[0] | (b[1] << 8)));
    }
    void Int32(std::int32_t& value) {
        std::uint8_t b[4] = {};
        if (!Take(b, 4)) {
            value = 0;
            return;
        }
        const std::uint32_t bits =
            static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
            (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
        value = static_cast<std::int32_t>(bits);
    }
    void Float(float& value) {
        std::int32_t bits = 0;
        Int32(bits);
        std::memcpy(&value, &bits, sizeof value);
    }
    void Text(std::string& text) { CutText(text, std::string::npos); }
    // A text of which only the first `longest` bytes are kept: the rest is passed over uncopied.
    void CutText(std::string& text, std::size_t longest) {
        std::int16_t length = 0;
        Int(length);
        const std::size_t n = static_cast<std::uint16_t>(length);
        if (!ok_ || n > Left()) {
            Fail("the record ends inside a text");
            text.clear();
            return;
        }
        text.assign(in_.substr(pos_, std::min(n, longest)));
        pos_ += n;
    }

    std::size_t Left() const { return in_.size() - pos_; }
    void Fail(const std::string& why) {
        if (ok_) error_ = why;
        ok_ = false;
    }
    bool Ok() const { return ok_; }
    const std::string& Error() const { return error_; }

  private:
    bool Take(std::uint8_t* out, std::size_t n) {
        if (!ok_ || Left() < n) {
            Fail("the record ends early");
            return false;
        }
        std::memcpy(out, in_.data() + pos_, n);
        pos_ += n;
        return true;
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    bool ok_ = true;
    std::string error_;
};

// The members of each record in their declared order. One list serves the writer and the
// reader: `IO` is a Writer (the record const) or a Reader.
template <typename IO, typename Card> void CardMembers(IO& io, Card& c) {
    io.Text(c.key);
    io.Text(c.image);
    io.Int(c.controlIndex);
    io.Int(c.faceShown);
    io.Int(c.keptFaceDown);
    io.Int(c.inDiscardPile);
    io.Int(c.pilePosition);
    io.Int(c.eliminated);
    io.Int(c.reserved1);
    io.Int(c.reserved2);
    io.Int(c.rotation);
    io.Int(c.owner);
    io.Int(c.deck);
    for (auto& effect : c.effects)
        io.Int(effect);
    io.Int(c.selectionMark);
    io.Text(c.properties);
    io.Int(c.inHand);
    io.Int(c.handLeft);
    io.Int(c.handTop);
}

template <typename IO, typename Deck> void DeckMembers(IO& io, Deck& d) {
    io.Int(d.draw_facedown);
    io.Int(d.viewDiscard);
    io.Int(d.resize);
    io.Text(d.section);
    io.Int(d.owner);
    io.Int(d.draw_last_discard);
    io.Int(d.move_discard_to_bottom);
    io.Int(d.split);
    io.Text(d.name);
    io.Text(d.reserved);
    io.Int(d.locked);
    io.Int(d.deal);
    io.Int(d.firstCard);
    io.Float(d.zoom);
    io.Int(d.cards_can_be_put_back);
    io.Int(d.only_visible_to_owner);
    io.Int(d.count_cards_in_draw_pile);
    io.Int(d.count_cards_in_discard_pile);
    io.Int(d.played_cards_can_be_taken);
    io.Text(d.restricted_actions);
    io.Int(d.openDrawDeck);
    io.Int(d.openDiscardPile);
    io.Int(d.chooseCardFromDrawDeck);
    io.Int(d.chooseCardFromDiscardPile);
    io.Int(d.enableReshuffleDrawDeck);
    io.Int(d.hideDiscardPile);
    io.Text(d.rotate);
    io.Text(d.cardTooltipFormat);
    io.Int(d.shuffleAndRotate);
    io.Text(d.transparentColor);
    io.Int(d.drawToHand);
    io.Int(d.drawToTable);
    io.Int(d.viewDrawDeck);
    io.Int(d.noReshuffle);
    io.Int(d.splitCount);
    io.Text(d.splitText);
}

template <typename IO, typename Player> void PlayerMembers(IO& io, Player& p) {
    io.Text(p.name);
    io.Text(p.seatId);
    io.Int(p.deckCount);
    for (auto& deck : p.decks)
        io.Int(deck);
    io.Int(p.reserved);
    io.Int(p.hasTableArea);
}

template <typename IO, typename Table> void Ints(IO& io, Table& table) {
    for (auto& value : table)
        io.Int(value);
}

template <typename IO, typename Table> void Texts(IO& io, Table& table) {
    for (auto& text : table)
        io.Text(text);
}

template <typename IO, typename Table> void Positions(IO& io, Table& table) {
    for (auto& p : table) {
        io.Int(p.top);
        io.Int(p.left);
    }
}

template <typename IO, typename State> void GameMembers(IO& io, State& g) {
    Texts(io, g.backImages);
    Texts(io, g.discardImages);
    Ints(io, g.deckSizes);
    io.Text(g.desktop);
    io.Int(g.baseMarker);
    io.Text(g.transparentColor);
    io.Int(g.totalCards);
    Ints(io, g.lastCardLines);
    io.Int(g.deckCount);
    for (auto& deck : g.decks)
        DeckMembers(io, deck);
    Ints(io, g.windowGeometry);
    io.Int(g.common_decks);
    io.Text(g.directory);
    Ints(io, g.nextDrawPositions);
    Ints(io, g.nextDiscardPositions);
    Ints(io, g.lastDiscarded);
    for (auto& player : g.players)
        PlayerMembers(io, player);
    io.Int(g.playerCount);
    for (auto& entry : g.ZOrderList) {
        io.Int(entry.kind);
        io.Int(entry.index);
    }
    io.Int(g.zOrderCount);
    io.Int(g.turnCounter);
    io.Int(g.CurrentPlayer);
    io.Int(g.diceLogPosition);
    io.Int(g.diceSerial);
    io.Int(g.effectCount);
    io.Int(g.reserved);
    io.Int(g.GamePhase);
    io.Int(g.external_hand);
    io.Int(g.card_info);
    io.Int(g.arbitrator);
    io.Int(g.handSize);
}

template <typename IO, typename Marker> void ImageMarkerMembers(IO& io, Marker& m) {
    io.Int(m.top);
    io.Int(m.left);
    io.Text(m.reserved1);
    io.Int(m.card);
    io.Text(m.reserved2);
    io.Int(m.rotation);
    io.Int(m.flipped);
    io.Int(m.inUse);
    io.Int(m.kind);
    io.Int(m.owner);
    io.Int(m.face);
    io.Int(m.dicePlaced);
}

// Every member up to the log lines, in the file's order. A reader that failed stops at the next
// member: nothing after a fault is worth reading.
template <typename IO, typename Record> void LeadingMembers(IO& io, Record& r) {
    io.Text(r.version);
    GameMembers(io, r.game);
    for (auto& card : r.cards) {
        if (!io.Ok()) return;
        CardMembers(io, card);
    }
    Positions(io, r.cardPositions);
    Positions(io, r.pilePositions);
    Positions(io, r.numMarkerPositions);
    // Only what a marker shows is kept of a caption.
    for (auto& caption : r.numMarkerCaptions)
        io.CutText(caption, kMaxCaptionLength);
    Ints(io, r.numMarkerCards);
    for (auto& marker : r.imageMarkers) {
        if (!io.Ok()) return;
        ImageMarkerMembers(io, marker);
    }
    io.Int(r.numMarkerCount);
    io.Int(r.imageMarkerCount);
    io.Text(r.gameFile);
    for (auto& entry : r.diceLog) {
        io.Int(entry.serial);
        io.Int(entry.die);
        io.Text(entry.text);
    }
    io.Text(r.notes);
    Ints(io, r.options);
    for (auto& deck : r.decks)
        DeckMembers(io, deck);
}

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}

// The checks of one deck record, in the game state or in the record's copy.
std::string DeckProblem(const DeckRecord& d, int totalCards) {
    if (!InRange(d.owner, 0, kMaxSeats)) return "a deck's owner is out of range";
    if (!std::isfinite(d.zoom) || d.zoom < 1.0f || d.zoom > 32767.0f) return "a deck's zoom is out of range";
    if (!InRange(d.firstCard, 0, totalCards + 1)) return "a deck's first card is out of range";
    if (!InRange(d.played_cards_can_be_taken, 0, 2))
        return "a deck's played_cards_can_be_taken is out of range";
    return {};
}

} // namespace

std::string SaveRecordProblem(const SaveRecord& r) {
    const GameState& g = r.game;
    if (!InRange(g.deckCount, 0, kMaxDecks)) return "the deck count is out of range";
    if (!InRange(g.totalCards, 0, kMaxCards)) return "the card count is out of range";
    if (!InRange(g.playerCount, 0, kMaxPlayers)) return "the player count is out of range";
    if (!InRange(g.zOrderCount, 0, kMaxZOrder)) return "the stacking order's count is out of range";
    if (!InRange(g.common_decks, 0, g.deckCount)) return "the common deck count is out of range";
    if (!InRange(g.CurrentPlayer, std::numeric_limits<std::int16_t>::min(), kMaxSeats))
        return "the current player is out of range";
    if (!InRange(g.diceLogPosition, 0, kDiceLogSize)) return "the dice log position is out of range";
    if (!InRange(g.effectCount, 0, kEffectSlots)) return "the effect count is out of range";
    if (!IsPlainRelativePath(g.directory) || !IsPlainRelativePath(g.desktop))
        return "the image folder or the desktop leaves the program folder";
    for (int d = 0; d < kMaxDecks; ++d) {
        if (!InRange(g.deckSizes[d], 0, kMaxCards)) return "a deck size is out of range";
        if (g.lastDiscarded[d] > g.totalCards) return "a deck's last discarded card is out of range";
        if (d >= g.deckCount) continue;
        if (std::string problem = DeckProblem(g.decks[d], g.totalCards); !problem.empty()) return problem;
        if (std::string problem = DeckProblem(r.decks[d], g.totalCards); !problem.empty()) return problem;
    }
    for (const PlayerRecord& p : g.players) {
        if (!InRange(p.deckCount, 0, kMaxDecks)) return "a seat's deck count is out of range";
        for (int k = 0; k < p.deckCount; ++k)
            if (!InRange(p.decks[static_cast<std::size_t>(k)], 0, g.deckCount - 1))
                return "a seat's deck is out of range";
    }
    if (!InRange(r.numMarkerCount, 0, kMaxMarkers)) return "the numerical marker count is out of range";
    if (!InRange(r.imageMarkerCount, 0, kMaxMarkers)) return "the image marker count is out of range";
    for (int z = 1; z <= g.zOrderCount; ++z) {
        const ZOrderEntry& e = g.ZOrderList[z];
        const bool sound = (e.kind == kZCard && InRange(e.index, 1, g.totalCards)) ||
                           (e.kind == kZNumMarker && InRange(e.index, 0, r.numMarkerCount - 1)) ||
                           (e.kind == kZImageMarker && InRange(e.index, 0, r.imageMarkerCount - 1));
        if (!sound) return "an entry of the stacking order names nothing";
    }
    std::vector<bool> controlTaken;
    for (int c = 1; c <= g.totalCards; ++c) {
        const CardRecord& card = r.cards[c];
        if (!InRange(card.deck, 0, g.deckCount - 1)) return "a card's deck is out of range";
        if (!InRange(card.owner, 0, kMaxSeats)) return "a card's owner is out of range";
        if (!InRange(card.controlIndex, -1, ControlFlags::kLast)) return "a card's control is out of range";
        if (!IsPlainRelativePath(card.image)) return "a card's image leaves the program folder";
        if (!IsTableCard(card, g)) continue;
        const auto control = static_cast<std::size_t>(card.controlIndex);
        if (controlTaken.size() <= control) controlTaken.resize(control + 1, false);
        if (controlTaken[control]) return "two cards share a control";
        controlTaken[control] = true;
    }
    for (int k = 1; k <= r.numMarkerCount; ++k)
        if (r.numMarkerCards[k] != -1 && !InRange(r.numMarkerCards[k], 1, g.totalCards))
            return "a numerical marker's card is out of range";
    for (int k = 1; k <= r.imageMarkerCount; ++k) {
        const MarkerInstanceRecord& m = r.imageMarkers[k];
        if (m.card != -1 && !InRange(m.card, 1, g.totalCards))
            return "an image marker's card is out of range";
        if (!InRange(m.kind, 1, kMaxMarkerKinds)) return "an image marker's kind is out of range";
        if (!InRange(m.owner, 0, kMaxSeats)) return "an image marker's owner is out of range";
        if (!InRange(m.face, 0, std::numeric_limits<std::int16_t>::max()))
            return "an image marker's face is out of range";
    }
    for (const DiceLogEntry& entry : r.diceLog)
        if (!InRange(entry.die, 0, kMaxDice)) return "a roll's die is out of range";
    for (std::int16_t option : r.options)
        if (!InRange(option, 0, kMaxOptions)) return "a selected option is out of range";
    if (!InRange(r.logCount, 0, std::numeric_limits<std::int16_t>::max()))
        return "the log count is out of range";
    if (static_cast<std::size_t>(r.logCount) != r.logLines.size())
        return "the log count does not match its lines";
    return {};
}

namespace {

std::string LastComponent(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

} // namespace

bool IsTableCard(const CardRecord& card, const GameState& game) {
    return card.controlIndex >= 0 && card.inDiscardPile == kFalse &&
           !(card.inHand != kFalse && game.external_hand != kFalse);
}

bool HoldsPlayedTable(const SaveRecord& record) {
    const GameState& g = record.game;
    for (int c = 1; c <= std::clamp<int>(g.totalCards, 0, kMaxCards); ++c) {
        const CardRecord& card = record.cards[c];
        if (IsTableCard(card, g) || card.inDiscardPile != kFalse || card.eliminated != kFalse) return true;
    }
    return record.numMarkerCount > 0 || record.imageMarkerCount > 0;
}

SaveRecord::SaveRecord() {
    numMarkerCards.Fill(-1);
}

std::unique_ptr<SaveRecord> NewSaveRecord() {
    return std::make_unique<SaveRecord>();
}

bool EncodeSaveRecord(const SaveRecord& record, std::string& bytes, std::string& error) {
    bytes.clear();
    Writer w(bytes);
    LeadingMembers(w, record);
    // The descriptor of the log lines: one dimension, the count, the lower bound 1.
    w.Int(1);
    w.Int32(static_cast<std::int32_t>(record.logLines.size()));
    w.Int32(1);
    for (const std::string& line : record.logLines)
        w.Text(line);
    w.Int(record.logCount);
    if (w.Ok() && bytes.size() > kMaxSaveRecordBytes) w.Fail("the game is larger than a saved game can hold");
    error = w.Error();
    if (!w.Ok()) bytes.clear();
    return w.Ok();
}

namespace {

// Reads a record; `layoutFits` tells whether the bytes held the members of this program's record
// whole (a refusal then comes from what they say, not from their form).
bool DecodeRecord(std::string_view bytes, SaveRecord& record, std::string& error, bool& layoutFits) {
    error.clear();
    layoutFits = false;
    if (bytes.size() > kMaxSaveRecordBytes) {
        error = "the file is larger than any saved game";
        return false;
    }
    Reader r(bytes);
    LeadingMembers(r, record);
    std::int16_t dimensions = 0;
    r.Int(dimensions);
    record.logLines.clear();
    if (dimensions == 1) {
        std::int32_t count = 0;
        std::int32_t lowerBound = 0;
        r.Int32(count);
        r.Int32(lowerBound);
        // Every text takes two bytes at least: a larger count cannot be in the bytes left.
        if (r.Ok() && (count < 0 || count > std::numeric_limits<std::int16_t>::max() ||
                       static_cast<std::size_t>(count) > r.Left() / 2))
            r.Fail("the log line count is out of range");
        if (r.Ok() && lowerBound != 1) r.Fail("the log lines do not start at 1");
        if (r.Ok()) {
            record.logLines.resize(static_cast<std::size_t>(count));
            for (std::string& line : record.logLines)
                r.Text(line);
        }
    } else if (dimensions != 0) {
        r.Fail("the log lines are not a list");
    }
    r.Int(record.logCount);
    if (r.Ok() && r.Left() != 0) r.Fail("bytes follow the record");
    if (!r.Ok()) {
        error = r.Error();
        return false;
    }
    layoutFits = true;
    error = SaveRecordProblem(record);
    return error.empty();
}

// The version text a save begins with, when its first member reads as a text.
std::string LeadingVersion(std::string_view bytes) {
    if (bytes.size() < 2) return {};
    const std::size_t length =
        static_cast<unsigned char>(bytes[0]) | (static_cast<unsigned char>(bytes[1]) << 8);
    if (bytes.size() - 2 < length) return {};
    return std::string(bytes.substr(2, length));
}

} // namespace

bool DecodeSaveRecord(std::string_view bytes, SaveRecord& record, std::string& error) {
    bool layoutFits = false;
    return DecodeRecord(bytes, record, error, layoutFits);
}

std::string SaveFolder() {
    return platform::ProgramFolder() + "\\save";
}

std::string SaveFilePath(const std::string& fileName) {
    return SaveFolder() + "\\" + fileName;
}

SaveReadResult ReadSaveFile(const std::string& fileName, SaveRecord& record, std::string& error) {
    const std::string path = SaveFilePath(fileName);
    const auto facts = platform::FileStatus(path);
    if (!facts) {
        error = "the file cannot be read";
        return SaveReadResult::unreadable;
    }
    if (facts->size > kMaxSaveRecordBytes) {
        error = "the file is larger than any saved game";
        return SaveReadResult::unreadable;
    }
    const auto bytes = platform::ReadFileBytes(path);
    if (!bytes) {
        error = "the file cannot be read";
        return SaveReadResult::unreadable;
    }
    bool layoutFits = false;
    if (DecodeRecord(*bytes, record, error, layoutFits)) return SaveReadResult::ok;
    // A file of this version that does not read whole is a damaged save, not an old one.
    if (layoutFits || LeadingVersion(*bytes) == ProgramVersion()) return SaveReadResult::refused;
    return SaveReadResult::malformed;
}

std::string RerootedGameFile(const std::string& storedPath) {
    const std::string name = LastComponent(storedPath);
    // A name a file may have: no control character (a NUL would cut the name where the file
    // system reads it), no wildcard (the lookup would take any file), nothing that names a drive.
    const bool plain = std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 ||
               std::string_view("<>:\"|?*").find(c) != std::string_view::npos;
    });
    if (name.empty() || name == "." || name == ".." || !plain) return {};
    return platform::ProgramFolder() + "\\" + name;
}

std::string ReadSaveHeader(const std::string& saveName) {
    const auto record = NewSaveRecord();
    std::string error;
    if (ReadSaveFile(saveName + ".save", *record, error) != SaveReadResult::ok) return {};
    return RerootedGameFile(record->gameFile);
}

std::vector<SavedGameEntry> ListSavedGames() {
    std::vector<SavedGameEntry> entries;
    const auto record = NewSaveRecord();
    for (const std::string& file : platform::ListFiles(SaveFolder(), "*.save")) {
        SavedGameEntry entry;
        entry.fileName = file;
        entry.saveName = file.substr(0, file.size() - 5);
        std::string error;
        const SaveReadResult read = ReadSaveFile(file, *record, error);
        if (read == SaveReadResult::ok)
            entry.gameFile = RerootedGameFile(record->gameFile);
        else if (read != SaveReadResult::malformed)
            entry.damage = error;
        if (!entry.gameFile.empty()) {
            entry.gameName = GetIni("GAME", "name", entry.gameFile);
            entry.description = GetIni("GAME", "description", entry.gameFile);
        }
        if (const auto facts = platform::FileStatus(SaveFilePath(file))) entry.modified = facts->modified;
        entries.push_back(std::move(entry));
    }
    return entries;
}

int DeleteOldFormatSaves() {
    int deleted = 0;
    const auto record = NewSaveRecord();
    for (const std::string& file : platform::ListFiles(SaveFolder(), "*.save")) {
        std::string error;
        // Only a file that is no record of this program's form goes: a save of this version that
        // is refused for what it holds, or that could not be read, stays.
        if (ReadSaveFile(file, *record, error) == SaveReadResult::malformed &&
            platform::RemoveFile(SaveFilePath(file)))
            ++deleted;
    }
    return deleted;
}

std::string SavedGameListText(const SavedGameEntry& entry) {
    if (!entry.damage.empty()) return entry.saveName + " (** Damaged saved game **) - " + entry.modified;
    if (entry.gameFile.empty()) return entry.saveName + " (** Old savegame format **) - " + entry.modified;
    return entry.saveName + " (" + entry.gameName + ") - " + entry.modified;
}
