#include "GameFixture.h"

#include "services/LogMgmt.h"
#include "state/LogStore.h"
#include "state/Model.h"

#include <gtest/gtest.h>

#include <functional>

#include <string>
#include <utility>
#include <vector>

namespace {

class LogMgmtTest : public GameFixture {
  protected:
    void TearDown() override {
        SetLogObserver(nullptr);
        GameFixture::TearDown();
    }

    // A game with the given [LOG] keys, two seats and a card 3 "ace" in deck 0.
    void UseGame(const std::string& logKeys) {
        WriteGame("[GAME]\nplayers=2\n[LOG]\n" + logKeys + "\n[CARD INFO]\nace=Ace of Spades|the best\n");
        InitLog();
        Game.players[1].name = "Ann";
        Game.players[2].name = "Bo";
        Game.CurrentPlayer = 2;
        Game.decks[0].section = "COMMON 1";
        Cards[3].key = "ace";
        Cards[3].image = "ace.bmp";
        Cards[3].deck = 0;
    }
};

struct RecordingObserver : LogObserver {
    std::vector<std::pair<std::string, bool>> stored;
    int emptied = 0;
    void LogEntryStored(const std::string& entry, bool dropped) override {
        stored.emplace_back(entry, dropped);
    }
    void LogEmptied() override { ++emptied; }
};

} // namespace

TEST_F(LogMgmtTest, AFullLogDropsItsOldestEntry) {
    UseGame("max_log_items=3");
    RecordingObserver observer;
    SetLogObserver(&observer);
    for (const char* text : {"one", "two", "three", "four", "five"})
        StoreLogItem(text);
    EXPECT_EQ(LogEntries(), (std::vector<std::string>{"three", "four", "five"}));
    ASSERT_EQ(observer.stored.size(), 5u);
    EXPECT_FALSE(observer.stored[2].second);
    EXPECT_TRUE(observer.stored[3].second);
    EXPECT_EQ(observer.stored[4], std::make_pair(std::string("five"), true));
}

TEST_F(LogMgmtTest, WithoutAUsableMaximumTheLogHolds200Entries) {
    for (const char* keys : {"", "max_log_items=0", "max_log_items=-4"}) {
        UseGame(keys);
        for (int n = 1; n <= 201; ++n)
            StoreLogItem("entry " + std::to_string(n));
        EXPECT_EQ(LogCount, 200) << keys;
        EXPECT_EQ(LogEntry(1), "entry 2") << keys;
        EXPECT_EQ(LogEntry(200), "entry 201") << keys;
    }
}

TEST_F(LogMgmtTest, CardEntriesAreWordedAsTheTableWritesThem) {
    struct Case {
        const char* what;
        std::string keys;
        std::function<void()> act;
        std::vector<std::string> entries;
    };
    const std::vector<Case> cases = {
        {"flip to back",
         "log_card_actions=PLAY,FLIP",
         [] {
             Cards[3].faceShown = kFalse;
             LogCardFlipped(3);
         },
         {"Card Flipped to back: Ace of Spades"}},
        {"flip to front",
         "log_card_actions=FLIP",
         [] {
             Cards[3].faceShown = kTrue;
             LogCardFlipped(3);
         },
         {"Card Flipped to front: Ace of Spades"}},
        {"discard not asked for", "log_card_actions=PLAY,FLIP", [] { LogCardDiscarded(3); }, {}},
        {"discard",
         "log_card_actions=DISCARD",
         [] { LogCardDiscarded(3); },
         {"Card Discarded: Ace of Spades"}},
        {"eliminate",
         "log_card_actions=ELIMINATE",
         [] { LogCardEliminated(3); },
         {"Card Eliminated: Ace of Spades"}},
        {"played face down with its number",
         "log_card_actions=PLAY\nadd_card_ID=true",
         [] { LogCardPlayed(3); },
         {"Card Played: <facedown>"}},
        {"played face up with its number",
         "log_card_actions=PLAY\nadd_card_ID=TRUE",
         [] {
             Cards[3].faceShown = kTrue;
             LogCardPlayed(3);
         },
         {"Card Played: Ace of Spades (#3)"}},
        {"played from the discard pile",
         "log_card_actions=PLAY",
         [] { LogCardPlayedFromDiscard(3); },
         {"Card Played from discard pile of common 1: Ace of Spades"}},
        {"rotated",
         "log_card_actions=ROTATE",
         [] {
             Cards[3].faceShown = kTrue;
             Cards[3].rotation = 90;
             LogCardRotated(3);
             Cards[3].rotation = 0;
             LogCardRotated(3);
         },
         {"Card rotated (90) : Ace of Spades", "Card rotated to normal position: Ace of Spades"}},
        {"drawn",
         "log_card_actions=DRAW",
         [] {
             Game.decks[0].name = "Tavern";
             LogCardDrawn(3, false);
             LogCardDrawn(3, true);
         },
         {"Draw from Tavern", "Draw from discard pile of Tavern"}},
        {"in a hand",
         "log_card_actions=DISCARD",
         [] {
             Game.external_hand = kTrue;
             Cards[3].inHand = kTrue;
             LogCardDiscarded(3);
         },
         {"Card Discarded: <on hand>"}},
        {"a card without key is named by its image",
         "log_card_actions=DISCARD",
         [] {
             Cards[3].key.clear();
             LogCardDiscarded(3);
         },
         {"Card Discarded: ace.bmp"}},
        {"a card number outside the table",
         "log_card_actions=PLAY,FLIP,DISCARD,DRAW",
         [] {
             LogCardDiscarded(0);
             LogCardFlipped(501);
             LogCardDrawn(-1, true);
         },
         {}},
    };
    for (const Case& c : cases) {
        Model().Reset();
        UseGame(c.keys);
        c.act();
        EXPECT_EQ(LogEntries(), c.entries) << c.what;
    }
}

TEST_F(LogMgmtTest, TheLogWindowNamesTheArbitratorWhileCardEntriesNameTheActingPlayer) {
    UseGame("add_player_name=true\nlog_card_actions=DISCARD");
    ArbitratorLoggedIn = kTrue;
    AddLogEntryToList("<the bridge is down>");
    LogCardDiscarded(3);
    AddLogEntry("Reshuffle");
    ArbitratorLoggedIn = kFalse;
    AddLogEntryToList("<mine>");
    EXPECT_EQ(LogEntries(), (std::vector<std::string>{"[Arbitrator] <the bridge is down>",
                                                      "[Bo] Card Discarded: Ace of Spades", "[Bo] Reshuffle",
                                                      "[Bo] <mine>"}));
}

TEST_F(LogMgmtTest, TheSwitchesReadTrueInAnyCaseAndNothingElse) {
    UseGame("use_log=True\nlog_all_dice_rolls=yes");
    EXPECT_TRUE(IsLogEnabled());
    EXPECT_FALSE(LogAllDiceRolls());
    UseGame("");
    EXPECT_FALSE(IsLogEnabled());
}

TEST_F(LogMgmtTest, AnEntryOfSeveralLinesIsListedWithItsFurtherLinesIndented) {
    for (const std::string entry :
         {"Attack: Hit\r\nMiss\r\nagain", "one line", "", "ends\r\n", "lone\rcr\nlf"}) {
        const auto lines = LogListLines(entry);
        ASSERT_EQ(LogListLineCount(entry), static_cast<int>(lines.size())) << entry;
        for (int n = 0; n < LogListLineCount(entry); ++n)
            EXPECT_EQ(LogListLine(entry, n), lines[static_cast<std::size_t>(n)]) << entry << " line " << n;
        EXPECT_EQ(LogListLine(entry, -1), "");
        EXPECT_EQ(LogListLine(entry, LogListLineCount(entry)), "");
    }
    EXPECT_EQ(LogListLines("Attack: Hit\r\nMiss\r\nagain"),
              (std::vector<std::string>{"Attack: Hit", "\tMiss", "\tagain"}));
    EXPECT_EQ(LogListLines("one line"), std::vector<std::string>{"one line"});
    EXPECT_EQ(LogListLines("ends\r\n"), (std::vector<std::string>{"ends", "\t"}));
}

TEST_F(LogMgmtTest, EmptyingTheStoreTellsTheObserver) {
    UseGame("max_log_items=5");
    StoreLogItem("before");
    RecordingObserver observer;
    SetLogObserver(&observer);
    InitLog();
    EXPECT_EQ(observer.emptied, 1);
    EXPECT_EQ(LogCount, 0);
    EXPECT_TRUE(observer.stored.empty());
}
