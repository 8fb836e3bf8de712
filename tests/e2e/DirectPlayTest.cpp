// One game on two tables: two real Karvel processes, server and client, connected over the
// loopback, for each bundled game. Right after both tables open, and after each of a round of
// card, deck, pile, marker and dice actions from each side, the two quick saves hold the same
// table, and neither side is told that a command of the other does not fit its table.
#include "DirectPlay.h"
#include "Table.h"
#include "TableRecords.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <iostream>
#include <set>
#include <thread>

using namespace e2e;

namespace {

using Clock = std::chrono::steady_clock;

std::string Short(const std::string& game) {
    return game.substr(0, game.find(' '));
}

// The card controls of the window, those a click reaches.
std::vector<const WidgetInfo*> CardsIn(Session& s, const Scene& scene, const WindowInfo* window) {
    std::vector<const WidgetInfo*> cards;
    if (!window) return cards;
    for (const WidgetInfo* card : scene.NamedLike("crd("))
        if (card->window == window->id && !card->tag.empty() && Reachable(s, scene, *card))
            cards.push_back(card);
    return cards;
}

const WidgetInfo* TableCard(Session& s, const Scene& scene, const std::string& tag) {
    for (const WidgetInfo* card : CardsIn(s, scene, TableWindow(scene)))
        if (card->tag == tag) return card;
    return nullptr;
}

// The first item of the open menus whose text starts with the prefix, enabled.
const ItemInfo* MenuItem(const Scene& scene, const std::string& prefix) {
    for (const WindowInfo* menu : scene.Menus())
        for (const ItemInfo* item : scene.ItemsOf(menu->id))
            if (item->text.rfind(prefix, 0) == 0 && item->Enabled() && !item->Separator()) return item;
    return nullptr;
}

void CloseMenus(Session& s) {
    for (int i = 0; i < 4 && !s.Now().Menus().empty(); ++i)
        s.Input().Key("Escape");
    s.Until([](const Scene& now) { return now.Menus().empty(); }, "the menus to close");
}

// Right-clicks at the point and chooses the item starting with the prefix; false (the menu
// closed again) when the menu has no such item enabled.
// An item with a submenu (the seats to give a card to) chooses the submenu's item at `inner`
// (counted from 0 among its items).
bool ChooseAt(Session& s, Point at, const std::string& prefix, int inner = 0) {
    if (!at.Valid()) return false;
    const Scene menu = s.OpenMenuAt(at);
    const ItemInfo* item = MenuItem(menu, prefix);
    if (!item) {
        if (!menu.Menus().empty()) CloseMenus(s);
        return false;
    }
    if (!item->Submenu()) {
        s.Choose(item->text);
        return true;
    }
    const std::string outer = item->text;
    s.Input().MoveTo(item->click);
    const Scene sub =
        s.Until([&](const Scene& now) { return now.SubmenuOf(outer) != nullptr; }, "the submenu " + outer);
    std::vector<const ItemInfo*> items;
    for (const ItemInfo* i : sub.ItemsOf(sub.SubmenuOf(outer)->id))
        if (!i->Separator()) items.push_back(i);
    std::sort(items.begin(), items.end(),
              [](const ItemInfo* a, const ItemInfo* b) { return a->position < b->position; });
    if (inner >= static_cast<int>(items.size()) || !items[static_cast<std::size_t>(inner)]->Enabled() ||
        items[static_cast<std::size_t>(inner)]->Submenu()) {
        CloseMenus(s);
        return false;
    }
    s.Choose(outer + "/" + items[static_cast<std::size_t>(inner)]->text);
    return true;
}

// Where a player plays one side: the seat's hand and the table as this side shows them.
class Player {
  public:
    Player(DirectGame& g, int side) : g_(g), side_(side), s_(g.Side(side)) {}

    Session& S() { return s_; }
    bool HandWindowGame() const { return g_.Game() == "Spice Harbour.game"; }

    // A card of the seat's hand: in its area of the table, or in the hand window.
    Point HandCard() {
        if (HandWindowGame()) {
            OpenHand();
            const Scene now = s_.Now();
            const std::vector<const WidgetInfo*> cards = CardsIn(s_, now, now.Window("Hand"));
            return cards.empty() ? Point{} : cards.back()->click;
        }
        const Scene now = s_.Now();
        const WidgetInfo* area = now.Named("PlayerArea(" + std::to_string(g_.Seat(side_) - 1) + ")");
        const WidgetInfo* found = nullptr;
        for (const WidgetInfo* card : CardsIn(s_, now, TableWindow(now)))
            if (area && area->rect.Contains(card->click)) found = card;
        return found ? found->click : Point{};
    }

    void OpenHand() {
        if (s_.Now().Window("Hand")) return;
        FocusTable(s_);
        s_.Input().Key("F9");
        s_.UntilWindow("Hand");
    }
    void CloseHand() {
        if (s_.Input().Close("Hand")) s_.UntilGone("Hand");
    }

    // Draws from the deck's draw pile by a double click.
    bool Draw(int deck) {
        CloseHand();
        const Scene now = s_.Now();
        const WidgetInfo* pile = now.Named("DeckImg(" + std::to_string(deck) + ")");
        if (!pile || !Reachable(s_, now, *pile)) return false;
        s_.Input().DoubleClick(pile->click);
        return true;
    }

    // Lays a card of the hand on the open table; the card's number ("" when there was none).
    // Lays a card of the hand on the open table (a card drawn for it when the hand is empty); the
    // card's number ("" when there was none).
    std::string LayCard() {
        auto tableTags = [&] {
            std::set<std::string> tags;
            const Scene now = s_.Now();
            for (const WidgetInfo* card : CardsIn(s_, now, TableWindow(now)))
                tags.insert(card->tag);
            return tags;
        };
        Point from = HandCard();
        std::string tag;
        if (!from.Valid()) {
            // Where hands lie on the table, a drawn card lies on its deck: that one is laid.
            const std::set<std::string> before = tableTags();
            Draw(0);
            Settle();
            from = HandCard();
            const Scene now = s_.Now();
            if (!from.Valid() && !HandWindowGame())
                for (const WidgetInfo* card : CardsIn(s_, now, TableWindow(now)))
                    if (!before.count(card->tag)) {
                        from = card->click;
                        tag = card->tag;
                    }
        }
        if (!from.Valid()) return "";
        const Scene before = s_.Now();
        if (HandWindowGame()) {
            // "Move to desktop" lifts the card: it follows the mouse to the table, where a click lays it.
            for (const WidgetInfo* card : CardsIn(s_, before, before.Window("Hand")))
                if (card->click.x == from.x && card->click.y == from.y) tag = card->tag;
            if (!ChooseAt(s_, from, "Move to desktop")) return "";
            const Point at = OpenSpot(s_, s_.Now(), 70);
            s_.Input().MoveTo(Point{at.x - 20, at.y - 20});
            s_.Input().Click(at);
        } else {
            for (const WidgetInfo* card : CardsIn(s_, before, TableWindow(before)))
                if (card->click.x == from.x && card->click.y == from.y) tag = card->tag;
            s_.Input().Drag(from, OpenSpot(s_, before, 70));
        }
        s_.Until(
            [&](const Scene& now) {
                return TableCard(s_, now, tag) && !InAnyArea(now, TableCard(s_, now, tag)->click);
            },
            "card " + tag + " laid on the open table");
        CloseHand();
        return tag;
    }

    bool CardItem(const std::string& tag, const std::string& item, int inner = 0) {
        CloseHand();
        const Scene now = s_.Now();
        const WidgetInfo* card = TableCard(s_, now, tag);
        return card && ChooseAt(s_, card->click, item, inner);
    }

    bool DragCard(const std::string& tag) {
        const Scene now = s_.Now();
        const WidgetInfo* card = TableCard(s_, now, tag);
        if (!card) return false;
        const Rect was = card->rect;
        s_.Input().Drag(card->click, OpenSpot(s_, now, 70));
        s_.Until(
            [&](const Scene& after) {
                const WidgetInfo* c = TableCard(s_, after, tag);
                return !c || c->rect.x != was.x || c->rect.y != was.y;
            },
            "card " + tag + " to move");
        return true;
    }

    // Drags a pile to an open spot of this table; the other side keeps its pile where it was.
    bool DragPile(const std::string& name) {
        CloseHand();
        const Scene now = s_.Now();
        const WidgetInfo* pile = now.Named(name);
        if (!pile || !Reachable(s_, now, *pile)) return false;
        const Rect was = pile->rect;
        s_.Input().Drag(pile->click, OpenSpot(s_, now, 70));
        s_.Until(
            [&](const Scene& after) {
                const WidgetInfo* p = after.Named(name);
                return p && (p->rect.x != was.x || p->rect.y != was.y);
            },
            name + " to move");
        return true;
    }

    // A named control of the table (a pile, a marker) that a click reaches.
    Point Control(const std::string& name) {
        CloseHand();
        const Scene now = s_.Now();
        const WidgetInfo* w = now.Named(name);
        return w && Reachable(s_, now, *w) ? w->click : Point{};
    }

    // The last control whose name starts with the prefix ("mrk(", "markerNum(").
    Point Last(const std::string& prefix) {
        CloseHand();
        const Scene now = s_.Now();
        Point found;
        for (const WidgetInfo* w : now.NamedLike(prefix))
            if (Reachable(s_, now, *w)) found = w->click;
        return found;
    }

    // M opens the picker; a double click on the first kind of the open group lays a marker. A
    // group without kinds (a game of no markers of its own) gives way to the next group, the
    // dice faces every game has.
    // Chooses the item on the first of the markers (the last laid first) whose menu offers it.
    bool AnyMarkerItem(const std::string& prefix, const std::string& item) {
        CloseHand();
        std::vector<Point> markers;
        {
            const Scene now = s_.Now();
            for (const WidgetInfo* w : now.NamedLike(prefix))
                if (Reachable(s_, now, *w)) markers.insert(markers.begin(), w->click);
        }
        for (std::size_t i = 0; i < markers.size() && i < 8; ++i)
            if (ChooseAt(s_, markers[i], item)) return true;
        return false;
    }

    bool PlaceImageMarker() {
        FocusTable(s_);
        const std::size_t markers = s_.Now().NamedLike("mrk(").size();
        s_.Input().Key("m");
        s_.UntilWindow("Markers");
        for (int group = 0; group < 2; ++group) {
            const Scene scene = s_.Now();
            const WindowInfo* picker = scene.Window("Markers");
            if (!picker) break;
            const WidgetInfo* items = nullptr;
            const WidgetInfo* lowerHeader = nullptr;
            for (const WidgetInfo* w : scene.In(picker->id, "Surface")) {
                if (w->rect.h > 100 && w->rect.w < picker->inner.w - 4) items = w;
                if (w->rect.h < 25 && w->rect.w > picker->inner.w / 2 &&
                    w->rect.y > picker->inner.y + picker->inner.h / 2)
                    lowerHeader = w;
            }
            if (items) {
                s_.Input().DoubleClick(Point{items->rect.Centre().x, items->rect.y + 25});
                const auto until = Clock::now() + std::chrono::seconds(3);
                while (Clock::now() < until) {
                    const Scene now = s_.Now();
                    if (now.NamedLike("mrk(").size() > markers || now.Dialog()) {
                        s_.Input().Close("Markers");
                        s_.UntilGone("Markers");
                        return true;
                    }
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                }
            }
            if (!lowerHeader) break;
            s_.Input().Click(lowerHeader->click);
        }
        s_.Input().Close("Markers");
        s_.UntilGone("Markers");
        return false;
    }

    bool DragLast(const std::string& prefix) {
        const Point from = Last(prefix);
        if (!from.Valid()) return false;
        s_.Input().Drag(from, OpenSpot(s_, s_.Now(), 40));
        return true;
    }

    bool Roll(const std::string& key) {
        FocusTable(s_);
        s_.Input().Key(key);
        s_.Until([](const Scene& now) { return now.Named("QuickMsg") != nullptr || now.Dialog(); },
                 "the roll's result");
        return true;
    }

    bool QuickResultToMarker() {
        const Scene now = s_.Now();
        const WidgetInfo* quick = now.Named("QuickMsg");
        if (!quick || !Reachable(s_, now, *quick)) return false;
        const std::size_t markers = now.NamedLike("markerNum(").size();
        s_.Input().Click(quick->click, 3);
        s_.Until(
            [&](const Scene& after) {
                return after.NamedLike("markerNum(").size() > markers || after.Dialog();
            },
            "the quick result to become a numerical marker");
        return true;
    }

    // Whatever the last gesture left waiting (a refusal, a question): answered.
    std::vector<std::string> Settle() { return s_.AnswerDialogs(250); }

  private:
    DirectGame& g_;
    int side_;
    Session& s_;
};

// Compares the two sides after every action; reports the differences an action brought, and any
// message that tells that a command of the other side did not fit.
class Referee {
  public:
    explicit Referee(DirectGame& g) : g_(g) {}

    void Check(const std::string& action) {
        std::vector<std::string> messages[2];
        // The receiving side handles the command a moment later: a difference is waited out.
        std::vector<std::string> lines, fresh;
        const auto deadline = Clock::now() + std::chrono::seconds(4);
        do {
            for (int side = 0; side < 2; ++side)
                for (const std::string& m : g_.Side(side).AnswerDialogs(150))
                    messages[side].push_back(m);
            const std::string server = QuickSave(g_.Server(), g_.Game());
            const std::string client = QuickSave(g_.Client(), g_.Game());
            lines = TableDifferences(server, client);
            fresh = News(lines);
        } while (!fresh.empty() && Clock::now() < deadline);
        for (int side = 0; side < 2; ++side)
            for (const std::string& m : messages[side]) {
                if (m.find("does not fit") != std::string::npos)
                    ADD_FAILURE() << "After \"" << action << "\" the " << DirectGame::SideName(side)
                                  << " said: " << m;
                else
                    std::cout << "  (" << action << ") the " << DirectGame::SideName(side) << " said: " << m
                              << "\n";
            }
        if (!fresh.empty())
            ADD_FAILURE() << "The tables differ after \"" << action << "\" (" << fresh.size() << " new of "
                          << lines.size() << " members):\n"
                          << DifferenceReport(fresh);
        last_ = lines;
    }

  private:
    // The members that differ now and did not before: a member that differed before and differs
    // still is no news, whatever its values now.
    std::vector<std::string> News(const std::vector<std::string>& lines) const {
        auto member = [](const std::string& line) { return line.substr(0, line.find(": server ")); };
        std::vector<std::string> fresh;
        for (const std::string& line : lines)
            if (std::none_of(last_.begin(), last_.end(),
                             [&](const std::string& old) { return member(old) == member(line); }))
                fresh.push_back(line);
        return fresh;
    }

    DirectGame& g_;
    std::vector<std::string> last_;
};

// One side's round: each action of the table once, the tables compared after each.
void PlayRound(DirectGame& g, int side, Referee& referee) {
    Player p(g, side);
    const std::string who = std::string(DirectGame::SideName(side)) + ": ";
    std::vector<std::string> notOffered;
    // An action the table does not offer (the game has no such item, the pile is empty) is left
    // out; those every game has must be there.
    auto act = [&](const std::string& what, const std::function<bool()>& body, bool essential = false) {
        const bool done = body();
        p.Settle();
        p.S().Step(Short(g.Game()) + "-" + std::string(DirectGame::SideName(side)) + "-" + what);
        if (!done) {
            notOffered.push_back(what);
            if (essential) ADD_FAILURE() << who << "could not " << what;
        }
        referee.Check(who + what);
    };
    const int ownDeck = g.Seat(side);
    auto pileItem = [&](const std::string& item) {
        for (int d = 0; d < 12; ++d)
            if (ChooseAt(p.S(), p.Control("DiscardImg(" + std::to_string(d) + ")"), item)) return true;
        return false;
    };
    std::string card;
    auto lay = [&] {
        card = p.LayCard();
        return !card.empty();
    };

    act(
        "draw from the common deck", [&] { return p.Draw(0); }, true);
    // Piles are dragged on one table alone: a card drawn beside a pile lies where the drawer sees it.
    act("drag the seat's draw pile", [&] { return p.DragPile("DeckImg(" + std::to_string(ownDeck) + ")"); });
    act("draw from the seat's deck", [&] { return p.Draw(ownDeck); });
    act("lay a card of the hand on the table", lay, true);
    act(
        "drag the card", [&] { return p.DragCard(card); }, true);
    act(
        "flip the card", [&] { return p.CardItem(card, "Flip"); }, true);
    act("rotate the card", [&] { return p.CardItem(card, "Rotate"); });
    act("invert the card", [&] { return p.CardItem(card, "Invert"); });
    act("flip the card back", [&] { return p.CardItem(card, "Flip"); });
    act("move the card to the hand", [&] { return p.CardItem(card, "Move To Hand"); });
    act("lay a card again", lay, true);
    act(
        "discard the card", [&] { return p.CardItem(card, "Discard"); }, true);
    act("drag the common discard pile", [&] { return p.DragPile("DiscardImg(0)"); });
    act("play the last discard", [&] { return pileItem("Play  last card"); });
    act("lay a card to give", lay, true);
    // The seats are listed in their order: the other side's seat.
    act("give the card to the other seat",
        [&] { return p.CardItem(card, "Give to player", g.Seat(1 - side) - 1); });
    act("take the card", [&] { return p.CardItem(card, "Take the card"); });
    act("lay a card to discard", lay, true);
    act(
        "discard it", [&] { return p.CardItem(card, "Discard"); }, true);
    act("move the last discard to the bottom", [&] { return pileItem("Move to bottom"); });
    act("lay a card for the draw deck", lay);
    act("move it to the bottom of its draw deck",
        [&] { return p.CardItem(card, "Move to bottom of Draw deck"); });
    act("lay a card to put back", lay);
    act("put it back in its deck", [&] { return p.CardItem(card, "Put it in the deck and reshuffle"); });
    act("lay a card to eliminate", lay);
    act("eliminate it", [&] { return p.CardItem(card, "Eliminate"); });
    act("reshuffle the common deck", [&] { return ChooseAt(p.S(), p.Control("DeckImg(0)"), "Reshuffle"); });
    act("reshuffle the seat's deck",
        [&] { return ChooseAt(p.S(), p.Control("DeckImg(" + std::to_string(ownDeck) + ")"), "Reshuffle"); });
    if (p.HandWindowGame())
        act(
            "discard from the hand window", [&] { return ChooseAt(p.S(), p.HandCard(), "Discard"); }, true);
    act(
        "place an image marker", [&] { return p.PlaceImageMarker(); }, true);
    act(
        "drag the image marker", [&] { return p.DragLast("mrk("); }, true);
    act("flip an image marker", [&] { return p.AnyMarkerItem("mrk(", "Flip"); });
    act("rotate an image marker", [&] { return p.AnyMarkerItem("mrk(", "Rotate to right"); });
    act(
        "delete the image marker", [&] { return ChooseAt(p.S(), p.Last("mrk("), "Delete"); }, true);
    act(
        "roll the first die", [&] { return p.Roll("1"); }, true);
    act(
        "keep the roll as a numerical marker", [&] { return p.QuickResultToMarker(); }, true);
    act(
        "drag the numerical marker", [&] { return p.DragLast("markerNum("); }, true);
    act(
        "increase the numerical marker",
        [&] { return ChooseAt(p.S(), p.Last("markerNum("), "Increase by 1"); }, true);
    act(
        "delete the numerical marker", [&] { return ChooseAt(p.S(), p.Last("markerNum("), "Delete"); }, true);
    act(
        "roll the second die", [&] { return p.Roll("2"); }, true);
    for (const std::string& what : notOffered)
        std::cout << "  " << Short(g.Game()) << ", " << who << "not offered: " << what << "\n";
}

} // namespace

class DirectPlay : public testing::TestWithParam<const char*> {};

TEST_P(DirectPlay, BothSidesKeepOneTableThroughARoundOfActions) {
    const std::string game = GetParam();
    DirectGame g("direct-" + Short(game), game);
    Referee referee(g);
    referee.Check("both tables opened");
    for (int side = 0; side < 2; ++side)
        PlayRound(g, side, referee);
    g.Finish();
}

// Every session deals anew: two sessions of the game, each server and client started afresh, do
// not deal the same cards (two deals of the same order by chance are out of reach for these decks).
TEST_P(DirectPlay, TwoSessionsDealDifferently) {
    const std::string game = GetParam();
    std::string deals[2];
    for (int session = 0; session < 2; ++session) {
        DirectGame g("direct-deal-" + Short(game) + "-" + std::to_string(session + 1), game);
        deals[session] = DealOf(QuickSave(g.Server(), game));
        g.Finish();
        ASSERT_FALSE(deals[session].empty())
            << "the quick save of session " << session + 1 << " does not read";
    }
    EXPECT_TRUE(deals[0] != deals[1]) << "two sessions dealt the same cards:\n" << deals[0];
}

// A common deck split among seats that have no decks of their own makes a deck for each seat: the
// client takes the game as the server set it up, and both tables open equal.
TEST(DirectPlaySplit, ADeckSplitAmongSeatsWithoutDecksOpensEqualOnBothTables) {
    DirectGame g("direct-split", "Split Pack.game", 1, 2, {KARVEL_FIXTURES "/direct/Split Pack.game"});
    Referee referee(g);
    referee.Check("both tables opened");
    g.Finish();
}

// When one player closes the table, the other is told and keeps the table it shows, to save it or
// close it: the client leaving, and the server leaving.
TEST(DirectPlayEnd, TheSideThatStaysKeepsItsTable) {
    for (int leaving = 1; leaving >= 0; --leaving) {
        const int staying = 1 - leaving;
        DirectGame g(std::string("direct-end-") + DirectGame::SideName(leaving) + "-leaves",
                     "Parlour Cards.game");
        Session& leaver = g.Side(leaving);
        leaver.Input().Close(TableWindow(leaver.Now())->title);
        leaver.AnswerDialogs(600, "No");
        leaver.Until([](const Scene& now) { return !TableShown(now); }, "the table to close");
        Session& stayer = g.Side(staying);
        stayer.Until([](const Scene& now) { return now.Dialog() != nullptr || !TableShown(now); },
                     "the other side to be told");
        stayer.Step("told");
        stayer.AnswerDialogs(600);
        const Scene after = stayer.Now();
        EXPECT_TRUE(TableShown(after))
            << "the " << DirectGame::SideName(staying) << "'s table closed when the other side left:\n"
            << after.Summary();
        if (TableShown(after)) {
            EXPECT_FALSE(QuickSave(stayer, g.Game()).empty());
        }
        g.Finish();
    }
}

// Closing the connection dialog goes back to where the player came from (the game type window), also
// once Client was pressed; the address the dialog offers first is one that can answer.
TEST(DirectPlayEnd, ClosingTheConnectionDialogGoesBack) {
    Session s("direct-dialog", "Karvel");
    WriteDirectIni(s.Home(), FreePort(), "Parlour Cards.game", "Guest");
    OpenConnectionDialog(s);
    Scene scene = s.Now();
    const WidgetInfo* address = DialogControl(scene, "Address", "QLineEdit");
    ASSERT_NE(address, nullptr);
    // 127.0.0.1, or an address of this machine: never one of the documentation ranges, which no
    // machine answers at.
    const std::string& offered = address->text;
    EXPECT_FALSE(offered.empty() || offered.rfind("192.0.2.", 0) == 0 ||
                 offered.rfind("198.51.100.", 0) == 0 || offered.rfind("203.0.113.", 0) == 0)
        << "the address first offered, " << offered << ", answers nowhere";
    s.ClickInto(*address);
    s.Input().Key("Control_L+a");
    s.Input().Type("127.0.0.1");
    s.ClickText("Direct Play options", "Client");
    scene = s.UntilWindow("Connect as Client");
    s.AnswerDialogs(300);
    s.Step("client-pressed");
    s.Input().Close("Connect as Client");
    try {
        s.Until([](const Scene& now) { return now.Window("Game Type") != nullptr; }, "the game type window");
        s.Step("back");
    } catch (const Ended&) {
        ADD_FAILURE() << "closing the connection dialog ended Karvel";
        return;
    }
    s.Finish();
}

// A game of every action a deck can offer (played back from the discard pile, sent to the bottom of
// a pile, put back, inverted, taken from the other seat), which the bundled games do not offer.
TEST(DirectPlayEveryAction, BothSidesKeepOneTableThroughARoundOfActions) {
    DirectGame g("direct-open", "Open Table.game", 1, 2, {KARVEL_FIXTURES "/direct/Open Table.game"});
    Referee referee(g);
    referee.Check("both tables opened");
    for (int side = 0; side < 2; ++side)
        PlayRound(g, side, referee);
    g.Finish();
}

// A server of the test's own on the loopback: it takes one connection and speaks the protocol's
// messages (a word, a field separator before each field, the terminator) byte for byte.
class RawServer {
  public:
    explicit RawServer(int port) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        const int yes = 1;
        setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(listener_, 1) != 0)
            throw Failure("the test's server cannot listen on port " + std::to_string(port));
    }
    ~RawServer() {
        if (peer_ >= 0) close(peer_);
        close(listener_);
    }
    RawServer(const RawServer&) = delete;
    RawServer& operator=(const RawServer&) = delete;

    // The next message from the client, without its terminator; "" when none came in time.
    std::string Receive(int timeoutMs) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < deadline) {
            if (const std::size_t end = received_.find(kTerminator); end != std::string::npos) {
                const std::string message = received_.substr(0, end);
                received_.erase(0, end + std::strlen(kTerminator));
                return message;
            }
            pollfd waiting{peer_ >= 0 ? peer_ : listener_, POLLIN, 0};
            if (poll(&waiting, 1, 100) <= 0) continue;
            if (peer_ < 0) {
                peer_ = accept(listener_, nullptr, nullptr);
                continue;
            }
            char buffer[4096];
            const ssize_t got = read(peer_, buffer, sizeof buffer);
            if (got <= 0) return "";
            received_.append(buffer, static_cast<std::size_t>(got));
        }
        return "";
    }

    void Send(const std::string& word, const std::vector<std::string>& fields) {
        std::string message = word;
        for (const std::string& field : fields)
            message += "\xA7" + field;
        message += kTerminator;
        for (std::size_t sent = 0; sent < message.size();) {
            const ssize_t n = write(peer_, message.data() + sent, message.size() - sent);
            if (n <= 0) throw Failure("the test's server could not send " + word);
            sent += static_cast<std::size_t>(n);
        }
    }

  private:
    static constexpr const char* kTerminator = "@#EnD!";
    int listener_ = -1;
    int peer_ = -1;
    std::string received_;
};

// A server that sends a game already dealt as the new game (DECKDATA): the client refuses it with
// a message, or takes it as the saved game it is; it never deals over it (which made cards share a
// control, a table no save can hold).
TEST(DirectPlayPeer, AGameAlreadyDealtSentAsANewGameIsRefusedOrTakenWhole) {
    std::string dealt;
    {
        Session source("direct-peer-source", "Karvel", {"Parlour Cards.game"});
        source.Until([](const Scene& now) { return TableShown(now) && TableWindow(now)->Is("active"); },
                     "the dealt table");
        dealt = QuickSave(source, "Parlour Cards.game");
        source.Finish();
    }
    const int port = FreePort();
    RawServer server(port);
    Session client("direct-peer-client", "Karvel");
    WriteDirectIni(client.Home(), port, "Parlour Cards.game", "Guest");
    OpenConnectionDialog(client);
    AskAsClient(client, 2);
    const std::string setup = server.Receive(30000);
    ASSERT_EQ(setup.rfind("SETUP", 0), 0u) << "the client's request: " << setup;
    server.Send("SRVDATA", {"Host", "Parlour Cards.game", " 1", ""});
    server.Send("DECKDATA", {dealt});
    const Scene answer = client.Until([](const Scene& now) { return TableShown(now) || now.Dialog(); },
                                      "the client to take the game or refuse it");
    client.Step("answer");
    if (answer.Dialog()) {
        // Refused with a message: the client is still there, and nothing was dealt.
        client.AnswerDialogs(400);
        EXPECT_FALSE(TableShown(client.Now()))
            << "the client refused the game and shows a table all the same";
    } else {
        std::optional<std::string> saved;
        try {
            saved = TryQuickSave(client, "Parlour Cards.game", 60000);
        } catch (const Failure& f) {
            ADD_FAILURE() << "the client's table cannot be saved: " << f.what();
        }
        if (saved) {
            const std::vector<std::string> lines = TableDifferences(dealt, *saved);
            EXPECT_TRUE(lines.empty()) << "the client's table is not the game sent (server: the game sent):\n"
                                       << DifferenceReport(lines);
        }
    }
    client.AnswerDialogs(300);
    client.Finish();
}

INSTANTIATE_TEST_SUITE_P(BundledGames, DirectPlay,
                         testing::Values("Parlour Cards.game", "Spice Harbour.game"),
                         [](const testing::TestParamInfo<const char*>& info) { return Short(info.param); });
