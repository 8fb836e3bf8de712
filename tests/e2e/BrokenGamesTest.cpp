// Games the table cannot lay out, chosen from the game list with real input: a definition whose
// deck picture is missing is refused with its message and the list goes on answering; a game whose
// common deck is split among seats without decks of their own saves and loads back.
#include "StartRoad.h"
#include "Table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

using namespace e2e;

namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The bundled card game as a new definition beside the program: its name changed, then `change`.
void WriteVariant(const Session& s, const std::string& name,
                  const std::function<std::string(std::string)>& change) {
    std::ifstream in(s.Home() + "/Parlour Cards.game", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::ofstream(s.Home() + "/" + name + ".game", std::ios::binary)
        << change(Replaced(text.str(), "name=Parlour Cards", "name=" + name));
}

// Waits for the message box, answers it and gives its text.
std::string AnswerMessage(Session& s) {
    s.Until([](const Scene& now) { return now.Dialog() != nullptr; }, "a message");
    s.Step("message");
    const std::vector<std::string> texts = s.AnswerDialogs(400);
    std::string all;
    for (const std::string& t : texts)
        all += t + "\n";
    return all;
}

void StartListed(Session& s, const std::string& game) {
    Scene scene =
        s.Until([&](const Scene& now) { return RowStarting(now, game) != nullptr; }, game + " listed");
    s.Input().Click(RowStarting(scene, game)->click);
    scene = s.Until(
        [&](const Scene& now) {
            const RowInfo* row = RowStarting(now, game);
            return row && row->selected;
        },
        game + " chosen");
    s.Input().Click(ButtonBeside(scene, kGameList, "Start the select game"));
}

} // namespace

TEST(BrokenGames, AMissingDeckPictureIsRefusedAndASplitDeckSavesAndLoads) {
    Session s("broken-games", "Karvel");
    WriteVariant(s, "Broken Cards",
                 [](std::string text) { return Replaced(text, "img_back=back.gif", "img_back=gone.gif"); });
    // The seats own no deck: the stock is dealt out among them into decks the definition has no
    // section for.
    WriteVariant(s, "Split Cards", [](std::string text) {
        text = text.substr(0, text.find("[DECK 1 PLAYER 1]")) + text.substr(text.find("[LOG]"));
        return Replaced(Replaced(text, "\ndecks=1", "\ndecks=0"), "split=FALSE", "split=TRUE");
    });
    OpenGameList(s);

    StartListed(s, "Broken Cards");
    LogIn(s, "alice");
    const std::string message = AnswerMessage(s);
    EXPECT_NE(message.find("The game cannot be loaded: Back image for deck 0 not found:"), std::string::npos)
        << message;
    EXPECT_NE(message.find("gone.gif"), std::string::npos) << message;
    EXPECT_EQ(TableWindow(s.Now()), nullptr) << "no table opens for the refused game";

    // The list still answers: another game starts from it.
    StartListed(s, "Split Cards");
    LogIn(s, "alice");
    s.Until([](const Scene& now) { return TableWindow(now) && now.Named("DeckImg(1)"); }, "the split table");
    s.AnswerDialogs(300);
    s.Step("split-dealt");

    FocusTable(s);
    SaveGameAs(s, "split");
    ASSERT_TRUE(std::filesystem::exists(s.Home() + "/save/split.save"));

    s.Input().Close(TableWindow(s.Now())->title);
    s.AnswerDialogs(400, "No");
    Scene scene = s.UntilWindow(kGameList);
    s.Input().Click(ButtonBeside(scene, kGameList, "Display Saved Games"));
    scene = s.Until([](const Scene& now) { return RowStarting(now, "split (Split Cards)") != nullptr; },
                    "the save listed");
    s.Input().Click(RowStarting(scene, "split (Split Cards)")->click);
    s.Input().Click(ButtonBeside(s.Now(), kGameList, "Load the select game"));
    LogIn(s, "alice");
    s.Until([](const Scene& now) { return TableWindow(now) && now.Named("DeckImg(1)"); }, "the loaded table");
    s.Step("split-loaded");
    s.Finish();
}
