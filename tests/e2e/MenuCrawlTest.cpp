// Every kind of pop-up menu of the table, opened with a real right-click and each item chosen
// once, answering whatever the item asks, with no card selected and again with two selected. The
// program must stay alive and its sanitizers silent through all of it.
#include "Table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

using namespace e2e;

namespace {

// The card controls of the window titled so, those that can be reached on screen.
std::vector<const WidgetInfo*> CardsOf(const Scene& scene, Session& s, const std::string& title) {
    std::vector<const WidgetInfo*> cards;
    const WindowInfo* window = scene.Window(title);
    if (!window) return cards;
    for (const WidgetInfo* card : scene.NamedLike("crd("))
        if (card->window == window->id && !card->tag.empty() && Reachable(s, scene, *card))
            cards.push_back(card);
    return cards;
}

// The card controls of the table window, those that can be reached on screen. (A window's number
// holds for one scene only: menus coming and going renumber the windows.)
std::vector<const WidgetInfo*> Cards(const Scene& scene, Session& s) {
    std::vector<const WidgetInfo*> cards;
    const WindowInfo* table = TableWindow(scene);
    if (!table) return cards;
    const int window = table->id;
    for (const WidgetInfo* card : scene.NamedLike("crd("))
        if (card->window == window && !card->tag.empty() && Reachable(s, scene, *card)) cards.push_back(card);
    return cards;
}

// A place on the table: finds what to right-click, or an invalid point when there is none now.
struct Target {
    std::string name;
    std::function<Point(Session&, const Scene&)> locate;
    // Brings one about when there is none (draws a card, discards one); may do nothing.
    std::function<void(Session&)> prepare = nullptr;
    // Finishes what an item began (a card moved out of the hand follows the mouse until a click
    // on the table lays it there); may do nothing.
    std::function<void(Session&, const std::string& path)> finish = nullptr;
};

std::string FileName(std::string text) {
    for (char& c : text)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '-';
    return text;
}

std::set<std::string> Titles(const Scene& scene) {
    std::set<std::string> titles;
    for (const WindowInfo& w : scene.windows)
        if (w.kind != "tip" && w.kind != "menu") titles.insert(w.title);
    return titles;
}

// Closes the windows an item opened (a card's information, a pile's viewer), answering what they
// ask on the way, until only the windows of before are left.
void CloseNewWindows(Session& s, const std::set<std::string>& before) {
    for (int round = 0; round < 20; ++round) {
        s.AnswerDialogs(300);
        Scene scene = s.Now();
        std::vector<std::string> extra;
        for (const std::string& title : Titles(scene))
            if (!before.count(title)) extra.push_back(title);
        if (extra.empty()) return;
        for (const std::string& title : extra)
            if (s.Input().Close(title))
                s.Until([&](const Scene& now) { return !now.Window(title) || now.Dialog(); },
                        "\"" + title + "\" to close");
    }
    ADD_FAILURE() << "windows opened by a menu item would not close";
}

void CloseMenus(Session& s) {
    for (int i = 0; i < 4 && !s.Now().Menus().empty(); ++i)
        s.Input().Key("Escape");
    s.Until([](const Scene& now) { return now.Menus().empty(); }, "the menus to close");
}

// The menu's items as paths ("Give to player/East"), the enabled leaves only.
std::vector<std::string> LeafPaths(Session& s, const Scene& opened) {
    std::vector<std::string> paths;
    const std::vector<const WindowInfo*> menus = opened.Menus();
    if (menus.size() != 1) return paths;
    for (const ItemInfo* item : opened.ItemsOf(menus.front()->id)) {
        if (item->Separator() || !item->Enabled()) continue;
        if (!item->Submenu()) {
            paths.push_back(item->text);
            continue;
        }
        s.Input().MoveTo(item->click);
        Scene sub = s.Until([&](const Scene& now) { return now.SubmenuOf(item->text) != nullptr; },
                            "the submenu " + item->text);
        for (const ItemInfo* inner : sub.ItemsOf(sub.SubmenuOf(item->text)->id))
            if (!inner->Separator() && inner->Enabled() && !inner->Submenu())
                paths.push_back(item->text + "/" + inner->text);
    }
    return paths;
}

Point Locate(Session& s, const Target& target) {
    Scene scene = s.Now();
    Point p = target.locate(s, scene);
    if (!p.Valid() && target.prepare) {
        target.prepare(s);
        p = target.locate(s, s.Now());
    }
    return p;
}

// Opens the target's menu and chooses each of its items once; the number of items chosen.
int Crawl(Session& s, const Target& target, const std::string& round,
          const std::function<void(Session&)>& beforeEach = nullptr) {
    if (beforeEach) beforeEach(s);
    Point at = Locate(s, target);
    if (!at.Valid()) {
        ADD_FAILURE() << "nothing to right-click for " << target.name;
        return 0;
    }
    Scene opened = s.OpenMenuAt(at);
    s.Step(round + "-" + FileName(target.name) + "-menu");
    const std::vector<std::string> paths = LeafPaths(s, opened);
    CloseMenus(s);
    int chosen = 0;
    for (const std::string& path : paths) {
        if (beforeEach) beforeEach(s);
        at = Locate(s, target);
        if (!at.Valid()) continue;
        const std::set<std::string> before = Titles(s.Now());
        Scene menu = s.OpenMenuAt(at);
        const std::string first = path.substr(0, path.find('/'));
        bool present = false;
        for (const ItemInfo& item : menu.items)
            present |= item.text == first && item.Enabled();
        if (!present) { // the table changed under the menu: an earlier item took the card away
            CloseMenus(s);
            continue;
        }
        s.Choose(path);
        if (target.finish) target.finish(s, path);
        CloseNewWindows(s, before);
        s.Step(round + "-" + FileName(target.name + "-" + path));
        ++chosen;
    }
    return chosen;
}

// Draws the top card of the deck control by a double click (a card of the stock in Parlour Cards,
// a voyage card in Spice Harbour); false when the deck gave none (it is empty, or the hand full).
bool DrawFrom(Session& s, const std::string& deck) {
    Scene scene = s.Now();
    const WidgetInfo* pile = scene.Named(deck);
    if (!pile || !pile->click.Valid()) return false;
    const std::size_t cards = scene.NamedLike("crd(").size();
    s.Input().DoubleClick(pile->click);
    // The draw happens in the double click's own handler, or a message says why not.
    s.AnswerDialogs(500);
    return s.Now().NamedLike("crd(").size() != cards;
}

Point FirstOf(const std::vector<const WidgetInfo*>& found) {
    return found.empty() ? Point{} : found.back()->click;
}

Point Marker(Session& s, const Scene& scene, const std::string& prefix) {
    std::vector<const WidgetInfo*> found;
    for (const WidgetInfo* m : scene.NamedLike(prefix))
        if (Reachable(s, scene, *m)) found.push_back(m);
    return FirstOf(found);
}

// The bare table answers a right-click with nothing; a roll's quick result, right-clicked,
// becomes a numerical marker, whose menu is crawled.
void QuickResultAndTable(Session& s, std::map<std::string, int>& chosen) {
    s.Input().Click(OpenSpot(s, s.Now()), 3);
    s.AnswerDialogs(300);
    s.Step("table-surface-right-click");
    FocusTable(s);
    s.Input().Key("1");
    Scene scene =
        s.Until([](const Scene& now) { return now.Named("QuickMsg") != nullptr; }, "the quick result");
    s.Step("quick-result");
    const std::size_t markers = scene.NamedLike("markerNum(").size();
    s.Input().Click(scene.Named("QuickMsg")->click, 3);
    s.Until([&](const Scene& now) { return now.NamedLike("markerNum(").size() > markers; },
            "the quick result to become a numerical marker");
    s.Step("quick-result-marker");
    const Target marker{"numerical-marker",
                        [](Session& ss, const Scene& now) { return Marker(ss, now, "markerNum("); }, nullptr};
    chosen[marker.name] += Crawl(s, marker, "plain");
}

} // namespace

TEST(MenuCrawl, ParlourCardsEveryMenuEveryItem) {
    Session s("menu-crawl-parlour", "Karvel", {"Parlour Cards.game"});
    s.Until([](const Scene& now) { return now.Named("crd(0)") != nullptr; }, "the dealt table");
    s.Step("dealt");

    auto seatCard = [](int seat) {
        return [seat](Session& ss, const Scene& scene) {
            const WidgetInfo* area = scene.Named("PlayerArea(" + std::to_string(seat) + ")");
            std::vector<const WidgetInfo*> in;
            for (const WidgetInfo* card : Cards(scene, ss))
                if (area && area->rect.Contains(card->click)) in.push_back(card);
            return FirstOf(in);
        };
    };
    auto looseCard = [](Session& ss, const Scene& scene) {
        std::vector<const WidgetInfo*> loose;
        for (const WidgetInfo* card : Cards(scene, ss))
            if (!InAnyArea(scene, card->click)) loose.push_back(card);
        return FirstOf(loose);
    };
    // A card of North's hand dragged onto the open table.
    auto layCard = [&](Session& ss) {
        Point from = seatCard(0)(ss, ss.Now());
        if (!from.Valid() && (DrawFrom(ss, "DeckImg(1)") || DrawFrom(ss, "DeckImg(0)")))
            from = seatCard(0)(ss, ss.Now());
        if (!from.Valid()) return;
        const Point to = OpenSpot(ss, ss.Now(), 80);
        ss.Input().Drag(from, to);
        ss.Until([&](const Scene& now) { return looseCard(ss, now).Valid(); }, "a card on the open table");
    };
    // A card drawn (it lies on its deck) or lying loose, dragged into North's area.
    auto intoNorthsHand = [&](Session& ss) {
        Point from = looseCard(ss, ss.Now());
        if (!from.Valid() && (DrawFrom(ss, "DeckImg(1)") || DrawFrom(ss, "DeckImg(0)")))
            from = looseCard(ss, ss.Now());
        const Scene now = ss.Now();
        const WidgetInfo* area = now.Named("PlayerArea(0)");
        if (!from.Valid() || !area) return;
        // A selected card would drag the other selected cards along.
        FocusTable(ss);
        ss.Input().Key("Escape");
        ss.Input().Drag(from, area->rect.Centre());
        ss.Until([&](const Scene& now) { return seatCard(0)(ss, now).Valid(); }, "a card in North's hand");
    };
    auto pile = [](const std::string& name) {
        return [name](Session&, const Scene& scene) {
            const WidgetInfo* w = scene.Named(name);
            return w ? w->click : Point{};
        };
    };
    auto discardOne = [&](Session& ss) {
        const Point card = seatCard(0)(ss, ss.Now());
        if (!card.Valid()) return;
        ss.OpenMenuAt(card);
        ss.Choose("Discard");
        ss.AnswerDialogs(300);
    };

    const std::vector<Target> cardTargets = {
        {"north-hand-card", seatCard(0), [&](Session& ss) { intoNorthsHand(ss); }},
        {"east-hand-card", seatCard(1), nullptr},
        {"table-card", looseCard, layCard},
    };
    const std::vector<Target> others = {
        {"stock", pile("DeckImg(0)"), nullptr},
        {"north-deck", pile("DeckImg(1)"), nullptr},
        {"stock-discard-pile", pile("DiscardImg(0)"), discardOne},
    };

    std::map<std::string, int> chosen;
    layCard(s);
    s.Step("card-laid-on-table");
    for (const Target& t : cardTargets)
        chosen[t.name] += Crawl(s, t, "plain");
    for (const Target& t : others)
        chosen[t.name] += Crawl(s, t, "plain");
    QuickResultAndTable(s, chosen);

    // Two cards selected before each item: North's cards, or cards on the open table, clicked
    // with Ctrl held (Escape clears the selection first).
    auto mine = [&](Session& ss) {
        std::vector<Point> found;
        const Scene now = ss.Now();
        const WidgetInfo* area = now.Named("PlayerArea(0)");
        for (const WidgetInfo* card : Cards(now, ss))
            if ((area && area->rect.Contains(card->click)) || !InAnyArea(now, card->click))
                found.push_back(card->click);
        return found;
    };
    auto selectTwo = [&](Session& ss) {
        std::vector<Point> cards = mine(ss);
        for (const char* deck : {"DeckImg(1)", "DeckImg(0)", "DeckImg(1)"})
            if (cards.size() < 2) {
                DrawFrom(ss, deck);
                cards = mine(ss);
            }
        ASSERT_GE(cards.size(), 2u) << "no two cards of North's to select";
        SelectLastTwo(ss, cards);
    };
    selectTwo(s);
    s.Step("two-selected");
    for (const Target& t : cardTargets)
        chosen[t.name + "-selected"] += Crawl(s, t, "selected", selectTwo);

    for (const auto& [name, count] : chosen)
        EXPECT_GT(count, 0) << "no item of the menu of " << name << " was chosen";
    s.Finish();
}

TEST(MenuCrawl, SpiceHarbourEveryMenuEveryItem) {
    Session s("menu-crawl-spice", "Karvel", {"Spice Harbour.game"});
    const Scene dealt =
        s.Until([](const Scene& now) { return now.Named("crd(0)") != nullptr; }, "the dealt table");
    s.Step("dealt");
    std::map<std::string, int> chosen;

    auto tableCard = [](Session& ss, const Scene& scene) { return FirstOf(Cards(scene, ss)); };
    auto handCard = [](Session& ss, const Scene& scene) { return FirstOf(CardsOf(scene, ss, "Hand")); };
    auto openHand = [](Session& ss) {
        FocusTable(ss);
        ss.Input().Key("F9");
        ss.UntilWindow("Hand");
    };
    auto drawVoyage = [](Session& ss) {
        for (const char* deck : {"DeckImg(0)", "DeckImg(1)", "DeckImg(2)", "DeckImg(3)"})
            if (DrawFrom(ss, deck)) return;
    };
    auto named = [](const std::string& name) {
        return [name](Session& ss, const Scene& scene) {
            const WidgetInfo* w = scene.Named(name);
            return w && Reachable(ss, scene, *w) ? w->click : Point{};
        };
    };
    const Target table{"table-card", tableCard, drawVoyage};
    // "Move to desktop" lifts the card: it follows the mouse to the table, where a click lays it.
    auto layLifted = [](Session& ss, const std::string& path) {
        if (path.rfind("Move to desktop", 0) != 0) return;
        // Every card the table shows, reachable or not (a card laid may cover another).
        auto onTable = [](const Scene& scene) {
            std::size_t count = 0;
            const WindowInfo* table = TableWindow(scene);
            for (const WidgetInfo* card : scene.NamedLike("crd("))
                count += table && card->window == table->id && !card->tag.empty();
            return count;
        };
        const Scene now = ss.Now();
        const std::size_t before = onTable(now);
        const Point at = OpenSpot(ss, now, 80);
        ss.Input().MoveTo(Point{at.x - 20, at.y - 20});
        ss.Input().Click(at);
        ss.Until([&](const Scene& after) { return onTable(after) > before; }, "the card laid on the table");
    };
    const Target hand{"hand-window-card", handCard,
                      [&](Session& ss) {
                          openHand(ss);
                          if (!handCard(ss, ss.Now()).Valid()) drawVoyage(ss);
                      },
                      layLifted};
    // The hand window may lie over a marker: it is closed to reach one.
    auto closeHand = [](Session& ss) {
        if (ss.Input().Close("Hand")) ss.UntilGone("Hand");
    };
    const Target numerical{"numerical-marker",
                           [](Session& ss, const Scene& now) { return Marker(ss, now, "markerNum("); },
                           closeHand};
    const Target image{"image-marker", [](Session& ss, const Scene& now) { return Marker(ss, now, "mrk("); },
                       closeHand};

    for (const Target& t : {table, hand, numerical, image})
        chosen[t.name] += Crawl(s, t, "plain");
    for (int deck = 0; deck < 4; ++deck) {
        const Target pile{"draw-pile-" + std::to_string(deck), named("DeckImg(" + std::to_string(deck) + ")"),
                          closeHand};
        chosen["draw-piles"] += Crawl(s, pile, "plain");
    }

    // A card of the hand discarded: the piles that hold cards show another picture than when the
    // game was dealt (all empty then); their menus and one pile's window are crawled.
    if (!s.Now().Window("Hand")) openHand(s);
    s.OpenMenuAt(handCard(s, s.Now()));
    s.Choose("Discard");
    s.AnswerDialogs(400);
    closeHand(s);
    s.Step("hand-card-discarded");
    std::vector<std::string> filled;
    s.Until(
        [&](const Scene& now) {
            filled.clear();
            for (const WidgetInfo* pile : now.NamedLike("DiscardImg("))
                if (const WidgetInfo* was = dealt.Named(pile->name); was && was->look != pile->look)
                    filled.push_back(pile->name);
            return !filled.empty();
        },
        "a discard pile to show a discarded card");
    // The voyage pile may be looked through: a double click opens its window, where a right-click
    // on the left picture opens the window's menu.
    const Target pileWindow{"discard-pile-window",
                            [](Session&, const Scene& now) {
                                const WindowInfo* w = now.Window("Discard Pile");
                                if (!w) return Point{};
                                for (const WidgetInfo* picture : now.In(w->id))
                                    if (picture->click.Valid() && picture->rect.w > 30 &&
                                        picture->rect.w < 400)
                                        return picture->click;
                                return Point{};
                            },
                            [](Session& ss) {
                                Scene now = ss.Now();
                                if (const WidgetInfo* p = now.Named("DiscardImg(0)"))
                                    ss.Input().DoubleClick(p->click);
                                ss.UntilWindow("Discard Pile");
                            }};
    chosen[pileWindow.name] += Crawl(s, pileWindow, "plain");
    if (s.Input().Close("Discard Pile")) s.UntilGone("Discard Pile");
    for (const std::string& pile : filled)
        chosen["discard-pile"] += Crawl(s, Target{"discard-pile-" + pile, named(pile), nullptr}, "plain");
    QuickResultAndTable(s, chosen);

    // Two table cards selected with Ctrl held, before each item; cards of the hand are moved to
    // the table when it has too few.
    auto selectTwo = [&](Session& ss) {
        closeHand(ss);
        std::vector<Point> cards;
        for (int tries = 0; tries < 4; ++tries) {
            Scene now = ss.Now();
            cards.clear();
            for (const WidgetInfo* card : Cards(now, ss))
                cards.push_back(card->click);
            if (cards.size() >= 2) break;
            openHand(ss);
            if (!handCard(ss, ss.Now()).Valid()) drawVoyage(ss);
            ss.OpenMenuAt(handCard(ss, ss.Now()));
            ss.Choose("Move to desktop");
            layLifted(ss, "Move to desktop");
            closeHand(ss);
        }
        ASSERT_GE(cards.size(), 2u) << "no two table cards to select";
        SelectLastTwo(ss, cards);
    };
    for (const Target& t : {table, hand})
        chosen[t.name + "-selected"] += Crawl(s, t, "selected", selectTwo);

    for (const auto& [name, count] : chosen)
        EXPECT_GT(count, 0) << "no item of the menu of " << name << " was chosen";
    for (const char* needed : {"discard-pile", "discard-pile-window", "image-marker", "numerical-marker"})
        EXPECT_TRUE(chosen.count(needed)) << needed << " was never crawled";
    s.Finish();
}
