#include "state/ZOrder.h"
#include "RecordingView.h"
#include "state/Model.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

using Pairs = std::vector<std::pair<int, int>>;

void SetList(const Pairs& pairs) {
    Game = GameState{};
    Game.zOrderCount = static_cast<std::int16_t>(pairs.size());
    for (std::size_t i = 0; i < pairs.size(); ++i)
        Game.ZOrderList[static_cast<int>(i) + 1] = ZOrderEntry{static_cast<std::int16_t>(pairs[i].first),
                                                               static_cast<std::int16_t>(pairs[i].second)};
}

Pairs List() {
    Pairs pairs;
    for (int i = 1; i <= Game.zOrderCount; ++i)
        pairs.emplace_back(Game.ZOrderList[i].kind, Game.ZOrderList[i].index);
    return pairs;
}

Pairs FullList() {
    Pairs pairs;
    for (int i = 1; i <= kMaxZOrder; ++i)
        pairs.emplace_back(1, i);
    return pairs;
}

class ZOrderTest : public ::testing::Test {
  protected:
    void SetUp() override { Model().Reset(); }
    void TearDown() override { Model().Reset(); }
};

} // namespace

TEST_F(ZOrderTest, OperationsMoveAddAndRemovePairs) {
    const Pairs three = {{1, 5}, {2, 3}, {3, 7}};
    struct Case {
        const char* name;
        Pairs before;
        std::function<void()> op;
        Pairs after;
    } cases[] = {
        {"a listed pair goes on top", three, [] { BringToFrontZOrder(1, 5, 0); }, {{2, 3}, {3, 7}, {1, 5}}},
        {"a new pair is appended on top",
         three,
         [] { BringToFrontZOrder(2, 9, 0); },
         {{1, 5}, {2, 3}, {3, 7}, {2, 9}}},
        {"the top pair stays on top", three, [] { BringToFrontZOrder(3, 7, 0); }, three},
        {"a listed pair goes to the bottom",
         three,
         [] { BringToFrontZOrder(3, 7, -1); },
         {{3, 7}, {1, 5}, {2, 3}}},
        {"any toBack but 0 means the bottom",
         three,
         [] { BringToFrontZOrder(2, 3, 1); },
         {{2, 3}, {1, 5}, {3, 7}}},
        {"a new pair is put at the bottom",
         three,
         [] { BringToFrontZOrder(3, 8, -1); },
         {{3, 8}, {1, 5}, {2, 3}, {3, 7}}},
        {"the first pair into an empty list", {}, [] { BringToFrontZOrder(1, 1, -1); }, {{1, 1}}},
        {"removing a middle pair closes the gap", three, [] { RemoveFromZOrder(2, 3); }, {{1, 5}, {3, 7}}},
        {"removing the top pair only lowers the count",
         three,
         [] { RemoveFromZOrder(3, 7); },
         {{1, 5}, {2, 3}}},
        {"removing an unlisted pair changes nothing", three, [] { RemoveFromZOrder(2, 5); }, three},
        {"one index under two kinds is two pairs",
         {{1, 4}, {2, 4}},
         [] { RemoveFromZOrder(2, 4); },
         {{1, 4}}},
        {"replace renumbers the first match of its kind",
         {{2, 3}, {3, 3}, {2, 3}},
         [] { ReplaceInZOrder(3, 0, 2); },
         {{2, 0}, {3, 3}, {2, 3}}},
        {"replace without a match changes nothing", three, [] { ReplaceInZOrder(3, 1, 1); }, three},
    };
    for (const auto& c : cases) {
        SetList(c.before);
        c.op();
        EXPECT_EQ(List(), c.after) << c.name;
    }
}

TEST_F(ZOrderTest, AFullListKeepsItsTopTwoHundred) {
    SetList(FullList());
    BringToFrontZOrder(2, 0, 0);
    ASSERT_EQ(Game.zOrderCount, kMaxZOrder);
    EXPECT_EQ(List().front(), std::make_pair(1, 2)) << "the bottom entry gave way";
    EXPECT_EQ(List().back(), std::make_pair(2, 0));

    SetList(FullList());
    BringToFrontZOrder(1, 50, 0); // listed: moves, nothing is lost
    EXPECT_EQ(Game.zOrderCount, kMaxZOrder);
    EXPECT_EQ(List().back(), std::make_pair(1, 50));
    EXPECT_EQ(List().front(), std::make_pair(1, 1));

    SetList(FullList());
    BringToFrontZOrder(3, 1, -1); // a new bottom pair would be the one dropped
    EXPECT_EQ(List(), FullList());
    BringToFrontZOrder(1, 200, -1);
    EXPECT_EQ(List().front(), std::make_pair(1, 200));
    EXPECT_EQ(Game.zOrderCount, kMaxZOrder);
}

TEST_F(ZOrderTest, ACountOutsideTheTableIsKeptInside) {
    SetList({{1, 1}, {1, 2}});
    Game.zOrderCount = 900;
    BringToFrontZOrder(2, 2, 0);
    EXPECT_EQ(Game.zOrderCount, kMaxZOrder);
    Game.zOrderCount = -4;
    EXPECT_EQ(FindCardInZOrder(0), -1);
    BringToFrontZOrder(2, 2, 0);
    EXPECT_EQ(List(), (Pairs{{2, 2}}));
}

TEST_F(ZOrderTest, FindsCardsByTheirControlIndex) {
    EXPECT_EQ(FindCardInZOrder(0), -1) << "empty list";
    Cards[5].controlIndex = 2;
    Cards[9].controlIndex = 0;
    SetList({{2, 2}, {1, 5}, {1, 9}, {1, 700}});
    EXPECT_EQ(FindCardInZOrder(2), 2) << "not the marker with index 2";
    EXPECT_EQ(FindCardInZOrder(0), 3);
    EXPECT_EQ(FindCardInZOrder(5), -1) << "matched by control, not by card number";
}

TEST_F(ZOrderTest, ApplyRestacksExistingControlsInListOrder) {
    RecordingView view;
    view.missing = {{3, 8}};
    Cards[1].controlIndex = 4;
    Cards[2].controlIndex = 6;
    Cards[2].inDiscardPile = kTrue; // gone to its pile
    Cards[3].controlIndex = -1;     // no control
    SetList({{1, 1}, {2, 0}, {1, 2}, {3, 8}, {1, 3}, {7, 1}, {1, 0}, {1, 999}, {3, 1}});
    ApplyZOrder();
    EXPECT_EQ(view.broughtToFront, (Pairs{{1, 4}, {2, 0}, {3, 1}}));
    EXPECT_EQ(Game.zOrderCount, 9) << "applying leaves the list alone";
}

TEST_F(ZOrderTest, ApplyWithoutATableWindowDoesNothing) {
    SetList({{2, 0}});
    ApplyZOrder();
    EXPECT_EQ(Game.zOrderCount, 1);
}
