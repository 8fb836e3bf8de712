#include "CardActionsSupport.h"

#include "net/NetCommands.h"
#include "state/DecksMgmt.h"
#include "state/GameMgmt.h"
#include "state/HandMgmt.h"
#include "state/TableState.h"
#include "table/HandForm.h"

#include <map>
#include <set>
#include <sstream>
#include <utility>

namespace cardtest {

SendRecorder::SendRecorder()
    : previous_(SetNetSendHook([this](const std::string& command, const std::vector<std::string>& fields) {
          sent.push_back({command, fields});
          if (onSend) onSend(command);
      })) {}

SendRecorder::~SendRecorder() {
    SetNetSendHook(previous_);
}

std::vector<std::string> SendRecorder::Commands() const {
    std::vector<std::string> commands;
    for (const Sent& s : sent)
        commands.push_back(s.command);
    return commands;
}

std::string TwoSeatGame(const std::string& deckExtra, const std::string& gameExtra, const std::string& tail,
                        int deal) {
    std::string text = "[GAME]\nplayers=2\ncommon_decks=1\ndirectory=img\n" + gameExtra +
                       "\n[PLAYER 1]\nname=Ann\nlayout=3000,1500,2400,6000\n"
                       "[PLAYER 2]\nname=Bob\nlayout=6500,1500,1500,6000\n"
                       "[COMMON 1]\nname=Stock\ndeckSize=8\nimg_back=back.png\nimg_discard=empty.png\n"
                       "split=FALSE\ndeal=" +
                       std::to_string(deal) + "\n" + deckExtra + "\n";
    for (int k = 1; k <= 8; ++k)
        text +=
            "card" + std::to_string(k) + "=f" + std::to_string(k) + ".png,,,key" + std::to_string(k) + ",\n";
    return text + tail + "\n";
}

CardTableTest::CardTableTest() = default;

CardTableTest::~CardTableTest() {
    GameMode = kModeLocal;
}

bool CardTableTest::Start(const std::string& definition, std::int16_t seat) {
    AllCardsVisible = kFalse;
    ArbitratorLoggedIn = kFalse;
    DesignMode = kFalse;
    GameMode = kModeLocal;
    // A file of its own per game: the definition reader keeps what it read of a file.
    const std::string name = "game" + std::to_string(++games_) + ".game";
    fixture.Folder().Write(name, definition);
    Game.CurrentPlayer = seat;
    const bool started = SetUpNewGame(table(), fixture.Folder().Path() + "\\" + name);
    Game.GamePhase = kPhasePlaying;
    GameMode = kModeDirect;
    recorder.sent.clear();
    messages.Clear();
    // A new table, as over a new connection: what does not fit is told afresh.
    ResetNetNotices();
    return started;
}

std::pair<std::int16_t, std::int16_t> CardTableTest::DrawOne() {
    const std::int16_t card = FindCard(0, Game.nextDrawPositions[0], false);
    actions().DeckImg_DblClick(0);
    recorder.sent.clear();
    return {card, Cards[card].controlIndex};
}

void CardTableTest::Receive(const std::string& word, const std::vector<std::string>& fields) {
    DispatchNetCommand(NetCommand{word, fields});
}

std::string CardTableTest::Snapshot() {
    std::ostringstream out;
    for (int card = 1; card <= Game.totalCards; ++card) {
        const CardRecord& c = Cards[card];
        out << card << ':' << c.controlIndex << ',' << c.faceShown << ',' << c.keptFaceDown << ','
            << c.inDiscardPile << ',' << c.pilePosition << ',' << c.eliminated << ',' << c.rotation << ','
            << c.owner << ',' << c.selectionMark << ',' << c.inHand << ';';
    }
    for (int d = 0; d < Game.deckCount; ++d)
        out << 'd' << d << ':' << Game.nextDrawPositions[d] << ',' << Game.nextDiscardPositions[d] << ','
            << Game.lastDiscarded[d] << ';';
    for (int z = 1; z <= Game.zOrderCount; ++z)
        out << 'z' << Game.ZOrderList[z].kind << '/' << Game.ZOrderList[z].index;
    return out.str();
}

void CardTableTest::MoveOutOfAreas(std::int16_t element, int below) {
    // Between the two areas and right of them, where the window shows it.
    if (controls::TranspImg* image = table().crd(element)) image->Surface().Move(8500, 5600 + below);
}

void CardTableTest::DiscardDealtCards() {
    for (std::int16_t seat : {1, 2}) {
        const std::int16_t card = DealtCardOf(seat);
        actions().DiscardCardProcedure_body(card, Cards[card].controlIndex);
    }
}

std::int16_t CardTableTest::DealtCardOfControl() {
    return actions().CardOfElement(static_cast<std::int16_t>(LoadedCardControls - 1));
}

std::string CardTableTest::FacePathOf(std::int16_t card) {
    return GameImagePath(Cards[card].image);
}

void CardTableTest::ExpectEveryCardInOnePlace() {
    std::set<std::pair<int, int>> drawPlaces;
    std::set<std::pair<int, int>> discardPlaces;
    std::set<int> controls;
    std::set<int> handElements;
    for (int n = 1; n <= Game.totalCards; ++n) {
        SCOPED_TRACE("card " + std::to_string(n));
        const auto card = static_cast<std::int16_t>(n);
        const CardRecord& c = Cards[card];
        int places = 0;
        if (c.eliminated != kFalse) ++places;
        if (c.inDiscardPile != kFalse) {
            ++places;
            EXPECT_GE(c.pilePosition, 1);
            EXPECT_LT(c.pilePosition, Game.nextDiscardPositions[c.deck]);
            EXPECT_TRUE(discardPlaces.insert({c.deck, c.pilePosition}).second);
        }
        if (c.inDiscardPile == kFalse && c.pilePosition >= 1) {
            ++places;
            EXPECT_GE(c.pilePosition, Game.nextDrawPositions[c.deck]);
            EXPECT_LE(c.pilePosition, Game.deckSizes[c.deck]);
            EXPECT_TRUE(drawPlaces.insert({c.deck, c.pilePosition}).second);
        }
        if (Game.external_hand != kFalse && c.inHand != kFalse) {
            // Held: in the hand window when it is this seat's hand and the window is loaded, else
            // only a record.
            ++places;
            EXPECT_EQ(c.pilePosition, kPileInPlay);
            const HandForm* hand = LoadedHandWindow();
            if (hand && c.owner == Game.CurrentPlayer) {
                EXPECT_EQ(hand->CardOfElement(c.controlIndex), card);
                EXPECT_TRUE(handElements.insert(c.controlIndex).second);
            }
        } else if (c.controlIndex != -1) {
            ++places;
            EXPECT_EQ(actions().CardOfElement(c.controlIndex), card);
            EXPECT_TRUE(controls.insert(c.controlIndex).second);
        } else if (c.pilePosition == kPileInPlay) {
            ADD_FAILURE() << "in play without a control or a hand";
        }
        EXPECT_EQ(places, 1);
    }
    // No element of the hand window shows a card that is not held there.
    if (const HandForm* hand = LoadedHandWindow())
        for (int element : hand->crd.Indexes()) {
            const std::int16_t card = hand->CardOfElement(element);
            if (card == 0) continue;
            SCOPED_TRACE("hand element " + std::to_string(element));
            EXPECT_EQ(Cards[card].inHand, kTrue);
            EXPECT_EQ(Cards[card].controlIndex, element);
        }
}

} // namespace cardtest
