#include "TableRecords.h"

#include "common/Helpers.h"
#include "platform/Codec.h"
#include "state/SaveRecord.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <utility>

namespace e2e {
namespace {

std::string Show(std::int16_t v) {
    return std::to_string(v);
}
std::string Show(float v) {
    std::ostringstream out;
    out << v;
    return out.str();
}
std::string Show(const std::string& text) {
    std::string out = "\"";
    for (char c : platform::Utf8FromAnsi(text)) {
        if (c == '"' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) < 32) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    if (out.size() > 120) out = out.substr(0, 117) + "...";
    return out + "\"";
}

// Collects the members that differ, each under a readable name. Each side's paths lie in its own
// program folder (the folder of the record's game file): they are compared below it.
class Differ {
  public:
    Differ(std::vector<std::string>& lines, std::string serverFolder, std::string clientFolder)
        : lines_(lines), folders_{std::move(serverFolder), std::move(clientFolder)} {}
    template <class T> void operator()(const std::string& what, const T& server, const T& client) {
        if (!(server == client))
            lines_.push_back(what + ": server " + Show(server) + ", client " + Show(client));
    }
    void operator()(const std::string& what, const std::string& server, const std::string& client) {
        const std::string a = BelowFolder(server, folders_[0]), b = BelowFolder(client, folders_[1]);
        if (a != b) lines_.push_back(what + ": server " + Show(a) + ", client " + Show(b));
    }

  private:
    static std::string BelowFolder(const std::string& text, const std::string& folder) {
        if (folder.empty() || text.rfind(folder, 0) != 0) return text;
        return "<program folder>" + text.substr(folder.size());
    }

    std::vector<std::string>& lines_;
    std::string folders_[2];
};

#define SAME(label, member) same(std::string(label) + " " #member, a.member, b.member)

void CompareDeck(Differ& same, const std::string& label, const DeckRecord& a, const DeckRecord& b) {
    SAME(label, draw_facedown);
    SAME(label, viewDiscard);
    SAME(label, resize);
    SAME(label, section);
    SAME(label, owner);
    SAME(label, draw_last_discard);
    SAME(label, move_discard_to_bottom);
    SAME(label, split);
    SAME(label, name);
    SAME(label, reserved);
    SAME(label, locked);
    SAME(label, deal);
    SAME(label, firstCard);
    SAME(label, zoom);
    SAME(label, cards_can_be_put_back);
    SAME(label, only_visible_to_owner);
    SAME(label, count_cards_in_draw_pile);
    SAME(label, count_cards_in_discard_pile);
    SAME(label, played_cards_can_be_taken);
    SAME(label, restricted_actions);
    SAME(label, openDrawDeck);
    SAME(label, openDiscardPile);
    SAME(label, chooseCardFromDrawDeck);
    SAME(label, chooseCardFromDiscardPile);
    SAME(label, enableReshuffleDrawDeck);
    SAME(label, hideDiscardPile);
    SAME(label, rotate);
    SAME(label, cardTooltipFormat);
    SAME(label, shuffleAndRotate);
    SAME(label, transparentColor);
    SAME(label, drawToHand);
    SAME(label, drawToTable);
    SAME(label, viewDrawDeck);
    SAME(label, noReshuffle);
    SAME(label, splitCount);
    SAME(label, splitText);
}

std::string CardLabel(const SaveRecord& r, int card) {
    const CardRecord& c = r.cards[card];
    return "card " + std::to_string(card) + " (deck " + std::to_string(c.deck) + " " + Show(c.key) + ")";
}

// A seat's area of the table, in twips, as the definition lays it ([PLAYER n] layout: top, left,
// height, width).
struct Area {
    int top = 0, left = 0, height = 0, width = 0;
    bool Holds(int y, int x) const { return y > top && x > left && y < top + height && x < left + width; }
};

Area SeatArea(const SaveRecord& r, int seat) {
    const std::string layout = GetIni("PLAYER " + std::to_string(seat), "layout", r.gameFile);
    Area area;
    int* fields[] = {&area.top, &area.left, &area.height, &area.width};
    std::size_t start = 0;
    for (int* field : fields) {
        const std::size_t comma = layout.find(',', start);
        *field = std::atoi(
            layout.substr(start, comma == std::string::npos ? std::string::npos : comma - start).c_str());
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return area;
}

// Which faces a side shows of a seat's card in a hand is the side's own: its own seat's hand shows
// faces, the other seat's backs. A card is in a hand for this when it lies in the hand window, or
// on the table where its corner lies inside its owner's area (the record does not hold the card's
// size, so a card across the area's edge counts as in the hand too).
bool FaceIsTheSidesOwn(const SaveRecord& r, int card) {
    const CardRecord& c = r.cards[card];
    if (c.owner < 1 || c.owner > kMaxPlayers) return false;
    if (c.inHand != kFalse) return true;
    if (r.game.external_hand != kFalse || r.game.players[c.owner].hasTableArea == kFalse ||
        !IsTableCard(c, r.game))
        return false;
    const Area area = SeatArea(r, c.owner);
    return area.width <= 0 || area.Holds(r.cardPositions[card].top, r.cardPositions[card].left);
}

bool InHandWindow(const SaveRecord& r, const CardRecord& c) {
    return r.game.external_hand != kFalse && c.inHand != kFalse;
}

void CompareCards(Differ& same, const SaveRecord& ra, const SaveRecord& rb) {
    const int last = std::min<int>({ra.game.totalCards, rb.game.totalCards, kMaxCards});
    for (int card = 1; card <= last; ++card) {
        const CardRecord& a = ra.cards[card];
        const CardRecord& b = rb.cards[card];
        const std::string label = CardLabel(ra, card);
        SAME(label, key);
        SAME(label, image);
        // A card in the hand window is shown by an element of that window: which one is the side's
        // own (each side's window holds only what it has shown).
        if (!InHandWindow(ra, a) && !InHandWindow(rb, b)) SAME(label, controlIndex);
        if (!FaceIsTheSidesOwn(ra, card) && !FaceIsTheSidesOwn(rb, card)) SAME(label, faceShown);
        SAME(label, keptFaceDown);
        SAME(label, inDiscardPile);
        same(label + " pile position", a.pilePosition, b.pilePosition);
        SAME(label, eliminated);
        SAME(label, reserved1);
        SAME(label, reserved2);
        SAME(label, rotation);
        SAME(label, owner);
        SAME(label, deck);
        for (int e = 0; e < kEffectSlots; ++e)
            same(label + " effect " + std::to_string(e), a.effects[static_cast<std::size_t>(e)],
                 b.effects[static_cast<std::size_t>(e)]);
        SAME(label, properties);
        SAME(label, inHand);
        // Where the card lies: only for a card on the table on both sides (a card elsewhere keeps
        // the last place its control had).
        if (IsTableCard(a, ra.game) && IsTableCard(b, rb.game)) {
            same(label + " top", ra.cardPositions[card].top, rb.cardPositions[card].top);
            same(label + " left", ra.cardPositions[card].left, rb.cardPositions[card].left);
        }
    }
}

void CompareGame(Differ& same, const GameState& a, const GameState& b) {
    for (int d = 0; d < kMaxDecks; ++d) {
        const std::string deck = "deck " + std::to_string(d);
        same(deck + " back image", a.backImages[d], b.backImages[d]);
        same(deck + " discard image", a.discardImages[d], b.discardImages[d]);
        same(deck + " size", a.deckSizes[d], b.deckSizes[d]);
        same(deck + " last card line", a.lastCardLines[d], b.lastCardLines[d]);
        same(deck + " next draw position", a.nextDrawPositions[d], b.nextDrawPositions[d]);
        same(deck + " next discard position", a.nextDiscardPositions[d], b.nextDiscardPositions[d]);
        same(deck + " last discarded", a.lastDiscarded[d], b.lastDiscarded[d]);
        if (d < a.deckCount || d < b.deckCount) CompareDeck(same, "game's " + deck, a.decks[d], b.decks[d]);
    }
    SAME("game", desktop);
    SAME("game", baseMarker);
    SAME("game", transparentColor);
    SAME("game", totalCards);
    SAME("game", deckCount);
    SAME("game", common_decks);
    SAME("game", directory);
    for (int p = 1; p <= kMaxSeats; ++p) {
        const PlayerRecord& pa = a.players[p];
        const PlayerRecord& pb = b.players[p];
        const std::string seat = "seat " + std::to_string(p);
        same(seat + " name", pa.name, pb.name);
        same(seat + " ID", pa.seatId, pb.seatId);
        same(seat + " deck count", pa.deckCount, pb.deckCount);
        for (int k = 0; k < kMaxDecks; ++k)
            same(seat + " deck " + std::to_string(k), pa.decks[static_cast<std::size_t>(k)],
                 pb.decks[static_cast<std::size_t>(k)]);
        same(seat + " reserved", pa.reserved, pb.reserved);
        same(seat + " has a table area", pa.hasTableArea, pb.hasTableArea);
    }
    SAME("game", playerCount);
    // The stacking order: the same objects, in whatever order each side's clicks left them.
    SAME("game", zOrderCount);
    auto entries = [](const GameState& g) {
        std::vector<std::string> list;
        for (int z = 1; z <= std::min<int>(g.zOrderCount, kMaxZOrder); ++z)
            list.push_back((g.ZOrderList[z].kind == kZCard        ? "card "
                            : g.ZOrderList[z].kind == kZNumMarker ? "numerical marker "
                            : g.ZOrderList[z].kind == kZImageMarker
                                ? "image marker "
                                : "kind " + std::to_string(g.ZOrderList[z].kind) + " ") +
                           std::to_string(g.ZOrderList[z].index));
        std::sort(list.begin(), list.end());
        return list;
    };
    const std::vector<std::string> za = entries(a), zb = entries(b);
    for (const std::string& e : za)
        if (!std::binary_search(zb.begin(), zb.end(), e))
            same("stacking order holds " + e, std::string("yes"), std::string("no"));
    for (const std::string& e : zb)
        if (!std::binary_search(za.begin(), za.end(), e))
            same("stacking order holds " + e, std::string("no"), std::string("yes"));
    SAME("game", turnCounter);
    SAME("game", diceLogPosition);
    SAME("game", diceSerial);
    SAME("game", effectCount);
    SAME("game", reserved);
    SAME("game", GamePhase);
    SAME("game", external_hand);
    SAME("game", card_info);
    SAME("game", arbitrator);
    SAME("game", handSize);
}

void CompareMarkers(Differ& same, const SaveRecord& ra, const SaveRecord& rb) {
    same("numerical marker count", ra.numMarkerCount, rb.numMarkerCount);
    for (int k = 1; k <= std::min<int>({ra.numMarkerCount, rb.numMarkerCount, kMaxMarkers}); ++k) {
        const std::string label = "numerical marker " + std::to_string(k);
        same(label + " top", ra.numMarkerPositions[k].top, rb.numMarkerPositions[k].top);
        same(label + " left", ra.numMarkerPositions[k].left, rb.numMarkerPositions[k].left);
        same(label + " caption", ra.numMarkerCaptions[k], rb.numMarkerCaptions[k]);
        same(label + " card", ra.numMarkerCards[k], rb.numMarkerCards[k]);
    }
    same("image marker count", ra.imageMarkerCount, rb.imageMarkerCount);
    for (int k = 1; k <= std::min<int>({ra.imageMarkerCount, rb.imageMarkerCount, kMaxMarkers}); ++k) {
        const MarkerInstanceRecord& a = ra.imageMarkers[k];
        const MarkerInstanceRecord& b = rb.imageMarkers[k];
        const std::string label = "image marker " + std::to_string(k);
        SAME(label, top);
        SAME(label, left);
        SAME(label, reserved1);
        SAME(label, card);
        SAME(label, reserved2);
        SAME(label, rotation);
        SAME(label, flipped);
        SAME(label, inUse);
        SAME(label, kind);
        SAME(label, owner);
        SAME(label, face);
        SAME(label, dicePlaced);
    }
}

#undef SAME

std::string FolderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::unique_ptr<SaveRecord> Read(const std::string& bytes, std::string& error) {
    auto record = NewSaveRecord();
    if (!DecodeSaveRecord(bytes, *record, error)) return nullptr;
    return record;
}

} // namespace

std::vector<std::string> TableDifferences(const std::string& serverSave, const std::string& clientSave) {
    std::vector<std::string> lines;
    std::string error;
    const auto a = Read(serverSave, error);
    if (!a) lines.push_back("the server's save does not read: " + error);
    const auto b = Read(clientSave, error);
    if (!b) lines.push_back("the client's save does not read: " + error);
    if (!a || !b) return lines;
    Differ same(lines, FolderOf(a->gameFile), FolderOf(b->gameFile));
    same("version", a->version, b->version);
    same("game file", a->gameFile, b->gameFile);
    CompareGame(same, a->game, b->game);
    CompareCards(same, *a, *b);
    CompareMarkers(same, *a, *b);
    for (int k = 1; k <= kDiceLogSize; ++k) {
        const std::string label = "dice log entry " + std::to_string(k);
        same(label + " serial", a->diceLog[k].serial, b->diceLog[k].serial);
        same(label + " die", a->diceLog[k].die, b->diceLog[k].die);
        same(label + " text", a->diceLog[k].text, b->diceLog[k].text);
    }
    for (int p = 1; p <= kMaxPlayers; ++p)
        same("seat " + std::to_string(p) + " option", a->options[p], b->options[p]);
    for (int d = 0; d < std::max(a->game.deckCount, b->game.deckCount) && d < kMaxDecks; ++d)
        CompareDeck(same, "deck " + std::to_string(d), a->decks[d], b->decks[d]);
    return lines;
}

std::string DifferenceReport(const std::vector<std::string>& lines, std::size_t most) {
    std::string out;
    for (std::size_t i = 0; i < lines.size() && i < most; ++i)
        out += "  " + lines[i] + "\n";
    if (lines.size() > most) out += "  ... and " + std::to_string(lines.size() - most) + " more\n";
    return out;
}

std::string DealOf(const std::string& save) {
    std::string error;
    const auto r = Read(save, error);
    if (!r) return "";
    std::string deal;
    for (int card = 1; card <= std::min<int>(r->game.totalCards, kMaxCards); ++card) {
        const CardRecord& c = r->cards[card];
        deal += std::to_string(card) + ":" + std::to_string(c.pilePosition) + "/" + std::to_string(c.owner) +
                (c.inHand != kFalse ? "h" : "") + (IsTableCard(c, r->game) ? "t" : "") + " ";
    }
    for (int k = 1; k <= kDiceLogSize; ++k)
        if (r->diceLog[k].serial != 0) deal += "roll " + r->diceLog[k].text + " ";
    return deal;
}

} // namespace e2e
