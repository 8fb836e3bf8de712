// Every table command from end to end: the exact bytes a sender puts on the wire, and what those
// bytes, received, do to the table.
#include "CardActionsSupport.h"

#include "net/NetCommands.h"
#include "net/NetSocket.h"
#include "state/DecksMgmt.h"
#include "state/MarkersMgmt.h"
#include "state/TableState.h"
#include "table/TableMarkers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

using testing::IsEmpty;

namespace {

// A message as the tests write it: "|" stands for the field separator, and {name} for a number
// of the table at hand.
std::string Wire(std::string text, const std::map<std::string, int>& values) {
    for (const auto& [name, value] : values)
        for (std::size_t at; (at = text.find("{" + name + "}")) != std::string::npos;)
            text.replace(at, name.size() + 2, std::to_string(value));
    for (char& ch : text)
        if (ch == '|') ch = kNetSeparator;
    return text;
}

const std::string kMarkerKinds = "[MARKER GROUPS]\ngroups=1\ngroup1=Orc band,ORCS,1\n"
                                 "[ORCS MARKERS]\nmarkers=1\nmarker1=orc.png,Orc,oback.png,90,\n";

class ReceivedCommandsWireTest : public cardtest::CardTableTest {
  public:
    // The cases of the table reach the table through these.
    using CardTableTest::actions;
    using CardTableTest::table;

    // A game with a card of seat 1 on the table ({c} on control {e}), deck 0's next card ({top}),
    // the two dealt cards on the discard pile (seat 2's on top: {pile}), a numerical marker {m}
    // and an image marker on control {g} of kind {k}.
    void SetUpTable() {
        fixture.WritePicture("orc.png", 20, 20);
        fixture.WritePicture("oback.png", 20, 20);
        ASSERT_TRUE(Start(cardtest::TwoSeatGame("", "", kMarkerKinds)));
        DiscardDealtCards();
        const std::int16_t card = FindCard(0, Game.nextDrawPositions[0], false);
        actions().DeckImg_DblClick(0);
        v["c"] = card;
        v["e"] = Cards[card].controlIndex;
        v["top"] = FindCard(0, Game.nextDrawPositions[0], false);
        v["pile"] = Game.lastDiscarded[0];
        v["m"] = NewMarkerNumProc("5", 300, 300, "");
        for (int kind = 1; kind <= MarkerKindCount; ++kind)
            if (MarkerKinds[kind].label == "Orc") v["k"] = kind;
        v["g"] = AddGraphMarker(static_cast<std::int16_t>(v["k"]), 1, 600, 600, false) - 1;
        ASSERT_GE(v["e"], 0);
        ASSERT_GE(v["m"], 0);
        ASSERT_GE(v["g"], 0);
        recorder.sent.clear();
    }

    std::int16_t N(const std::string& name) { return static_cast<std::int16_t>(v.at(name)); }

    std::map<std::string, int> v;
};

struct WireCase {
    const char* bytes;
    std::function<void(ReceivedCommandsWireTest&)> send;
    std::function<void(ReceivedCommandsWireTest&)> expect;
};

TEST_F(ReceivedCommandsWireTest, EachSentCommandRepeatsItsActionOnTheReceivingTable) {
    using T = ReceivedCommandsWireTest;
    const auto lastZ = [] { return Game.ZOrderList[Game.zOrderCount]; };
    const std::vector<WireCase> cases = {
        {"CLOAD|0", [](T&) { NetOutbox().SendDrawCard(0); },
         [&](T& t) {
             const CardRecord& c = Cards[t.N("top")];
             EXPECT_EQ(c.owner, 2);
             EXPECT_EQ(t.actions().CardOfElement(c.controlIndex), t.N("top"));
             EXPECT_EQ(lastZ().index, t.N("top"));
         }},
        {"CMOVE|{e}|12.4666666666667|200|{c}", [](T& t) { NetOutbox().SendCardMove(t.N("e"), 187, 3000); },
         [](T& t) {
             // 187 twips are 12.47 pixels; the control lies on whole pixels.
             EXPECT_EQ(t.table().crd(t.N("e"))->Surface().Left(), 180);
             EXPECT_EQ(t.table().crd(t.N("e"))->Surface().Top(), 3000);
         }},
        {"CDISCARD|{c}|{e}", [](T& t) { NetOutbox().SendCardDiscard(t.N("c"), t.N("e")); },
         [](T& t) { EXPECT_EQ(Game.lastDiscarded[0], t.N("c")); }},
        {"CELIM|{c}|{e}", [](T& t) { NetOutbox().SendCardEliminate(t.N("c"), t.N("e")); },
         [](T& t) { EXPECT_EQ(Cards[t.N("c")].eliminated, kTrue); }},
        {"CFLIP|{c}|{e}", [](T& t) { NetOutbox().SendCardFlip(t.N("c"), t.N("e")); },
         [](T& t) { EXPECT_EQ(Cards[t.N("c")].faceShown, kFalse); }},
        {"CTAKE|{c}|{e}|2", [](T& t) { NetOutbox().SendCardTake(t.N("c"), t.N("e"), 2); },
         [](T& t) { EXPECT_EQ(Cards[t.N("c")].owner, 2); }},
        {"CROTATE|{e}|{c}", [](T& t) { NetOutbox().SendCardRotate(t.N("e")); },
         [](T& t) { EXPECT_NE(Cards[t.N("c")].rotation, 0); }},
        {"C2BTMDD| {c}", [](T& t) { NetOutbox().SendToBottomOfDrawDeck(t.N("c")); },
         [](T& t) { EXPECT_EQ(DrawPileInOrder(0).back(), t.N("c")); }},
        {"DKMD2B|0", [](T&) { NetOutbox().SendDiscardToBottom(0); },
         [](T& t) { EXPECT_NE(Game.lastDiscarded[0], t.N("pile")); }},
        {"CDSC2PLAY|0", [](T&) { NetOutbox().SendDiscardToPlay(0); },
         [](T& t) {
             const CardRecord& c = Cards[t.N("pile")];
             EXPECT_EQ(c.owner, 2);
             EXPECT_EQ(t.actions().CardOfElement(c.controlIndex), t.N("pile"));
         }},
        {"CINVERT|{e}|{c}", [](T& t) { NetOutbox().SendCardInvert(t.N("e")); },
         [](T& t) { EXPECT_EQ(Cards[t.N("c")].rotation, 180); }},
        {"CGIVE|{c}|{e}|2", [](T& t) { NetOutbox().SendCardGive(t.N("c"), t.N("e"), 2); },
         [](T& t) { EXPECT_EQ(Cards[t.N("c")].owner, 2); }},
        {"CPUTBACK|{c}|{e}", [](T& t) { NetOutbox().SendPutBackAndReshuffle(t.N("c"), t.N("e")); },
         [](T& t) {
             // Under the draw pile until the shuffle that follows gives it its place.
             EXPECT_EQ(Cards[t.N("c")].controlIndex, -1);
             EXPECT_EQ(DrawPileInOrder(0).back(), t.N("c"));
             EXPECT_EQ(t.actions().CardOfElement(t.N("e")), 0);
         }},
        {"GAMEEND", [](T&) { NetOutbox().SendEndGame(); },
         [](T&) {
             EXPECT_EQ(Game.GamePhase, kPhaseEnded);
             EXPECT_EQ(AllCardsVisible, kTrue);
         }},
        {"MRKLOAD|7|", [](T&) { NetOutbox().SendMarkerNew("7"); },
         [](T& t) { EXPECT_EQ(t.table().markerNum(t.N("m") + 1)->caption(), "7"); }},
        {"MRKMV|{m}|{m}|30|60", [](T& t) { NetOutbox().SendMarkerMove(t.N("m"), t.N("m"), 450, 900); },
         [&](T& t) {
             EXPECT_EQ(t.table().markerNum(t.N("m"))->Surface().Left(), 450);
             EXPECT_EQ(t.table().markerNum(t.N("m"))->Surface().Top(), 900);
             EXPECT_EQ(lastZ().kind, kZNumMarker);
             EXPECT_EQ(lastZ().index, t.N("m"));
         }},
        {"MRKUPD|{m}|Gold: 4", [](T& t) { NetOutbox().SendMarkerUpdate(t.N("m"), "Gold: 4"); },
         [](T& t) { EXPECT_EQ(t.table().markerNum(t.N("m"))->caption(), "Gold: 4"); }},
        {"MRKDEL|{m}", [](T& t) { NetOutbox().SendMarkerDelete(t.N("m")); },
         [](T& t) { EXPECT_EQ(NumMarkerInUse[t.N("m")], kFalse); }},
        {"MRKROT|{g}|L", [](T& t) { NetOutbox().SendMarkerRotate(t.N("g"), true); },
         [](T& t) { EXPECT_EQ(GraphMarkers[t.N("g") + 1].rotation, -90); }},
        {"GPHMRKLOAD|{k}|2|10|2", [](T& t) { NetOutbox().SendGraphMarkerNew(t.N("k"), 2, 150, 30); },
         [](T& t) {
             const MarkerInstanceRecord& made = GraphMarkers[t.N("g") + 2];
             EXPECT_EQ(made.inUse, kTrue);
             EXPECT_EQ(made.owner, 2);
             EXPECT_EQ(made.kind, t.N("k"));
         }},
        {"GPHMRKMV|{g}|{g}|100|100",
         [](T& t) { NetOutbox().SendGraphMarkerMove(t.N("g"), t.N("g"), 1500, 1500); },
         [&](T& t) {
             EXPECT_EQ(t.table().mrk(t.N("g"))->Surface().Left(), 1500);
             EXPECT_EQ(lastZ().kind, kZImageMarker);
         }},
        {"GPHMRKDEL|{g}", [](T& t) { NetOutbox().SendGraphMarkerDelete(t.N("g")); },
         [](T& t) { EXPECT_EQ(GraphMarkers[t.N("g") + 1].inUse, kFalse); }},
        {"GPHMRKFLP|{g}", [](T& t) { NetOutbox().SendGraphMarkerFlip(t.N("g")); },
         [](T& t) { EXPECT_EQ(GraphMarkers[t.N("g") + 1].flipped, kTrue); }},
    };
    for (const WireCase& c : cases) {
        SCOPED_TRACE(c.bytes);
        SetUpTable();
        if (HasFatalFailure()) return;
        c.send(*this);
        ASSERT_EQ(recorder.sent.size(), 1u);
        const std::optional<std::string> bytes =
            BuildNetMessage(recorder.sent[0].command, recorder.sent[0].fields);
        ASSERT_TRUE(bytes);
        EXPECT_EQ(*bytes, Wire(c.bytes, v));
        recorder.sent.clear();
        DispatchNetCommand(ParseNetMessage(*bytes));
        c.expect(*this);
        EXPECT_THAT(recorder.sent, IsEmpty()) << "the receiver sends nothing back";
        EXPECT_THAT(messages.Messages(), IsEmpty());
    }
}

} // namespace
