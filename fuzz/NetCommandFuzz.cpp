// The other side's commands on a table being played, as a hostile or buggy peer would send them.
// Input: the first byte's low seven bits set the size of the pieces the bytes arrive in (1 to
// 128), its top bit the game (set: hands in the hand window; clear: hands on the table); the rest
// is the byte stream, cut into messages and dispatched one by one. Whatever arrives, the receiver
// sends nothing back and every card lies in one place: a table card is shown by its control and
// by no other, is in no pile and in the game; a card out of the game or in a discard pile has no
// control and is in no other pile or hand; no two cards share a place of a pile; and the stacking
// order names only objects that exist.
#include "TableFuzzSupport.h"

#include "net/MultiplayerMgmt.h"
#include "net/NetCommands.h"
#include "net/NetSocket.h"
#include "platform/Application.h"
#include "platform/Picture.h"
#include "state/MarkersMgmt.h"
#include "state/Model.h"
#include "state/TableState.h"
#include "table/CardActions.h"
#include "table/MainForm.h"
#include "table/Outbox.h"
#include "table/TableSetup.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace {

// Two seats with areas, one common deck of six cards, and an image marker kind with a back.
const char* const kGame =
    "[GAME]\nplayers=2\ncommon_decks=1\ndirectory=img\n"
    "[PLAYER 1]\nname=Ann\nlayout=3000,1500,2400,6000\nmarkers=1\n"
    "marker1=coin.png,Coin,cback.png,90,\n"
    "[PLAYER 2]\nname=Bob\nlayout=6500,1500,1500,6000\n"
    "[COMMON 1]\nname=Stock\ndeckSize=6\nimg_back=back.png\nimg_discard=empty.png\n"
    "split=FALSE\ndeal=1\nrotate=0,90,180\n"
    "card1=f1.png,,,key1,\ncard2=f2.png,,,key2,\ncard3=f3.png,,,key3,\n"
    "card4=f4.png,,,key4,\ncard5=f5.png,,,key5,\ncard6=f6.png,,,key6,\n"
    "[Setup Default]\nmarkers=2\nmarker1=NUM,5,x,1200,3400,HP\nmarker2=IMG,1,1,600,900\n";

// The same game with its hands in the hand window.
std::string HandWindowGame() {
    std::string game = kGame;
    game.insert(game.find("[GAME]\n") + 7, "external_hand=TRUE\n");
    return game;
}

MainForm* g_table = nullptr;
bool g_sentBack = false;

// A fresh table for each input, so that an input found does the same when replayed.
void NewTable(bool handWindow) {
    Model().Reset();
    GameMode = kModeLocal;
    Game.CurrentPlayer = 1;
    const char* file = handWindow ? "hand.game" : "net.game";
    if (!SetUpNewGame(*g_table, (fuzzsupport::Folder() / file).string()))
        fuzzsupport::Check(false, "the game sets up");
    Game.GamePhase = kPhasePlaying;
    GameMode = kModeDirect;
    NetPlayerData[1].seatId = "2";
}

void CheckTable() {
    CardActions* actions = Actions();
    fuzzsupport::Check(actions != nullptr, "the table stays open");
    std::set<std::pair<int, int>> drawPlaces, discardPlaces;
    std::set<int> controls;
    const bool handWindow = Game.external_hand != kFalse;
    for (int n = 1; n <= Game.totalCards; ++n) {
        const auto card = static_cast<std::int16_t>(n);
        const CardRecord& c = Cards[card];
        const bool held = handWindow && c.inHand != kFalse;
        if (c.eliminated != kFalse) {
            fuzzsupport::Check(c.pilePosition == kPileEliminated, "an eliminated card is in no pile");
            fuzzsupport::Check(c.controlIndex == -1, "an eliminated card is not on the table");
            fuzzsupport::Check(c.inDiscardPile == kFalse && c.inHand == kFalse,
                               "an eliminated card is in no discard pile and no hand");
        }
        if (c.inDiscardPile != kFalse) {
            fuzzsupport::Check(c.controlIndex == -1, "a discarded card is not on the table");
            fuzzsupport::Check(c.inHand == kFalse, "a discarded card is in no hand");
            fuzzsupport::Check(c.pilePosition >= 1, "a discarded card has a place in its pile");
        }
        if (held) {
            fuzzsupport::Check(c.pilePosition == kPileInPlay, "a card held in the hand window is in no pile");
        } else if (c.controlIndex != -1) {
            // On the table: its control shows it (a hand's slot number is no control), and no other.
            fuzzsupport::Check(actions->CardOfElement(c.controlIndex) == card, "a card's control shows it");
            fuzzsupport::Check(controls.insert(c.controlIndex).second, "no two cards share a control");
            fuzzsupport::Check(c.pilePosition < 1, "a card on the table is in no pile");
        }
        if (c.pilePosition >= 1 && c.controlIndex == -1)
            fuzzsupport::Check((c.inDiscardPile != kFalse ? discardPlaces : drawPlaces)
                                   .insert({c.deck, c.pilePosition})
                                   .second,
                               "no two cards share a place of a pile");
    }
    for (int z = 1; z <= Game.zOrderCount; ++z) {
        const ZOrderEntry& entry = Game.ZOrderList[z];
        if (entry.kind == kZCard)
            fuzzsupport::Check(entry.index >= 1 && entry.index <= Game.totalCards, "a stacked card exists");
        else if (entry.kind == kZNumMarker)
            fuzzsupport::Check(entry.index >= 0 && entry.index < kMaxMarkers, "a stacked marker exists");
        else if (entry.kind == kZImageMarker)
            fuzzsupport::Check(entry.index >= 0 && entry.index < kMaxMarkers,
                               "a stacked image marker exists");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::Start(false);
    g_table = &fuzzsupport::StartTable();
    fuzzsupport::WriteFile("net.game", kGame);
    fuzzsupport::WriteFile("hand.game", HandWindowGame());
    // As while the connection dialog is loaded: whatever a received command made the table announce
    // would go back to the other side.
    SetTableOutbox(&NetOutbox());
    SetNetSendHook([](const std::string&, const std::vector<std::string>&) { g_sentBack = true; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::size_t piece = 1 + (data[0] & 0x7F);
    const std::string_view stream(reinterpret_cast<const char*>(data) + 1, size - 1);
    NewTable((data[0] & 0x80) != 0);
    g_sentBack = false;
    NetFrameReader reader;
    for (std::size_t at = 0; at < stream.size(); at += piece) {
        reader.Feed(stream.substr(at, std::min(piece, stream.size() - at)));
        while (reader.HasMessage()) {
            try {
                DispatchNetCommand(ParseNetMessage(reader.TakeMessage()));
            } catch (const fuzzsupport::ProgramEnded&) {
                fuzzsupport::Check(false, "a received command never ends the program");
            }
            CheckTable();
        }
    }
    fuzzsupport::Check(!g_sentBack, "the receiver sends nothing back");
    return 0;
}
