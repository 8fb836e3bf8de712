// The reproduction that every unit test missed: a card's menu item that takes the card off the
// table, chosen with the real mouse and with the arrow keys, on the real program.
#include "Session.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

// North's top card: the card control of North's hand drawn last, which lies on top.
const WidgetInfo* NorthTopCard(const Scene& scene) {
    const WidgetInfo* top = nullptr;
    const WidgetInfo* area = scene.Named("PlayerArea(0)");
    for (const WidgetInfo* card : scene.NamedLike("crd("))
        if (area && area->rect.Contains(card->click) && card->click.Valid()) top = card;
    return top;
}

} // namespace

TEST(CardMenu, DiscardChosenWithTheMouseAndWithTheKeysLeavesTheProgramRunning) {
    Session session("card-menu-discard", "Karvel", {"Parlour Cards.game"});
    Scene scene = session.Until([](const Scene& s) { return NorthTopCard(s) != nullptr; }, "North's cards");
    session.Step("table");
    const std::string first = NorthTopCard(scene)->tag;
    session.OpenMenuAt(NorthTopCard(scene)->click);
    session.Step("card-menu");
    session.Choose("Discard");
    scene = session.Until([&](const Scene& s) { return NorthTopCard(s) && NorthTopCard(s)->tag != first; },
                          "the discarded card to leave North's hand");
    session.Step("discarded-by-mouse");

    // The same through the keyboard: the menu's first item is highlighted by Down, Discard is the
    // third, Enter chooses it.
    const std::string second = NorthTopCard(scene)->tag;
    scene = session.OpenMenuAt(NorthTopCard(scene)->click);
    int discardAt = -1;
    for (const ItemInfo* item : scene.ItemsOf(scene.Menus().front()->id))
        if (item->text == "Discard") discardAt = item->position;
    ASSERT_GE(discardAt, 0);
    for (int i = 0; i <= discardAt; ++i)
        session.Input().Key("Down");
    session.Until(
        [&](const Scene& s) {
            for (const ItemInfo& item : s.items)
                if (item.text == "Discard") return item.state.find("active") != std::string::npos;
            return false;
        },
        "Discard highlighted");
    session.Input().Key("Return");
    session.Until(
        [&](const Scene& s) {
            return s.Menus().empty() && NorthTopCard(s) && NorthTopCard(s)->tag != second;
        },
        "the second card to leave North's hand");
    session.Step("discarded-by-keys");
    session.Finish();
}
