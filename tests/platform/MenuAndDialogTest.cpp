// Menus, pop-up menus and the dialog seams, answered by script.
#include "platform/ControlArray.h"
#include "platform/Form.h"
#include "platform/Menu.h"
#include "platform/Seams.h"
#include "platform/TestDriver.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace platform;
namespace drive = platform::testdriver;

namespace {

// A card menu as the table window builds it: pop-up items under a hidden top menu.
struct CardMenu {
    Form form;
    Menu main{form.Menus(), "Main"};
    Menu flip{main, "&Flip"};
    Menu discard{main, "Discard"};
    Menu take{main, "Take the card"};
    Menu give{main, "Give to player"};
    Menu player1{give, "Alice"};
    std::vector<std::string> ran;

    CardMenu() {
        main.SetVisible(false);
        for (Menu* item : {&flip, &discard, &take, &player1})
            item->OnClick = [this, item] { ran.push_back(item->Caption()); };
    }
};

} // namespace

TEST(PopupMenu, AnsweredByCaptionRunsThatItem) {
    struct Case {
        const char* answer;
        bool chosen;
        const char* ran;
    } cases[] = {
        {"Discard", true, "Discard"},
        {"Flip", true, "&Flip"},      // the access-key mark is not part of what the user reads
        {"Alice", true, "Alice"},     // inside a submenu
        {"Take the card", false, ""}, // hidden
        {"Dummy", false, ""},         // no such item
        {"", false, ""},              // dismissed
    };
    for (const Case& c : cases) {
        CardMenu menu;
        menu.take.SetVisible(false);
        drive::DialogScript script;
        script.AnswerPopup(c.answer);
        EXPECT_EQ(menu.form.PopupMenu(menu.main), c.chosen) << c.answer;
        EXPECT_EQ(menu.ran, c.chosen ? std::vector<std::string>{c.ran} : std::vector<std::string>{})
            << c.answer;
        EXPECT_EQ(script.Problems().empty(), c.chosen || std::string(c.answer).empty()) << c.answer;
    }
}

TEST(PopupMenu, DisabledItemsAndItemsOfHiddenSubmenusCannotBeChosen) {
    CardMenu menu;
    menu.discard.SetEnabled(false);
    menu.give.SetVisible(false);
    drive::DialogScript script;
    script.AnswerPopup("Discard").AnswerPopup("Alice");
    EXPECT_FALSE(menu.form.PopupMenu(menu.main));
    EXPECT_FALSE(menu.form.PopupMenu(menu.main));
    EXPECT_TRUE(menu.ran.empty());
    EXPECT_FALSE(drive::ChooseMenu(menu.form, "Discard"));
    menu.discard.SetEnabled(true);
    EXPECT_FALSE(drive::ChooseMenu(menu.form, "Discard")) << "the menu bar's hidden menu hides its items";
    menu.main.SetVisible(true);
    EXPECT_TRUE(drive::ChooseMenu(menu.form, "Discard"));
    EXPECT_EQ(menu.ran, std::vector<std::string>{"Discard"});
}

TEST(Menu, IndexedItemsLoadedAtRunTimeFollowTheirArrayInOrder) {
    Form form;
    Menu categories(form.Menus(), "Categories");
    Menu after(categories, "After");
    ControlArray<Menu> items(LikeFirst<Menu>());
    auto first = std::make_unique<Menu>(categories, "(generic)", nullptr);
    first->SetTag("0");
    first->SetChecked(true);
    items.Place(0, std::move(first));
    // The first element was added at the end; put "After" behind it as a designed menu would be.
    std::vector<int> chosen;
    items.OnLoaded = [&](int index, Menu& item) {
        item.OnClick = [&chosen, index] { chosen.push_back(index); };
    };
    for (int i = 1; i <= 3; ++i) {
        Menu* item = items.Load(i);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->Visible()) << "a new menu item shows at once";
        item->SetCaption("Category " + std::to_string(i));
    }
    std::vector<std::string> captions;
    for (Menu* item : categories.Items())
        captions.push_back(item->Caption());
    EXPECT_EQ(captions,
              (std::vector<std::string>{"After", "(generic)", "Category 1", "Category 2", "Category 3"}));
    EXPECT_EQ(items(2)->Tag(), "0");
    EXPECT_TRUE(items(2)->Checked());
    EXPECT_EQ(items(2)->Index(), 2);
    EXPECT_TRUE(drive::ChooseMenu(form, "Category 2"));
    EXPECT_EQ(chosen, std::vector<int>{2});
    EXPECT_TRUE(items.Unload(2));
    EXPECT_EQ(categories.Items().size(), 4u);
    EXPECT_FALSE(drive::ChooseMenu(form, "Category 2"));
}

TEST(DialogSeams, ScriptedAnswersAreGivenInOrderAndMismatchesReported) {
    drive::DialogScript script;
    script.AnswerYesNo(true)
        .AnswerInput("Bob")
        .AnswerInput(std::nullopt)
        .AnswerFile("C:\\games\\x.game")
        .AnswerColour(MakeColour(1, 2, 3));
    ShowMessage("Hello");
    EXPECT_TRUE(AskYesNo("Sure?"));
    EXPECT_EQ(AskInput("Name?", "Title"), std::optional<std::string>("Bob"));
    EXPECT_EQ(AskInput("Again?", "Title"), std::nullopt);
    EXPECT_EQ(ChooseFileToOpen(FileRequest{"Load", "Game Files|*.game", "", ""}),
              std::optional<std::string>("C:\\games\\x.game"));
    EXPECT_EQ(ChooseColour(0), std::optional<Colour>(MakeColour(1, 2, 3)));
    EXPECT_EQ(script.Messages(), std::vector<std::string>{"Hello"});
    EXPECT_EQ(script.Questions(), (std::vector<std::string>{"Sure?", "Name?", "Again?"}));
    ASSERT_EQ(script.FileRequests().size(), 1u);
    EXPECT_EQ(script.FileRequests()[0].filter, "Game Files|*.game");
    EXPECT_TRUE(script.Problems().empty());

    // Out of answers, or the wrong kind next: the dialog is cancelled and the script says so.
    script.AnswerYesNo(true);
    EXPECT_EQ(ChooseFileToSave(FileRequest{"Save", "", "", ""}), std::nullopt);
    EXPECT_EQ(script.Problems().size(), 2u) << "the unanswered chooser and the unused answer";
}

TEST(DialogSeams, TheViewerOpensOnlyPlainFilesInsideTheProgramFolder) {
    testsupport::TempProgramFolder folder;
    folder.Write("games/help.txt", "help");
    folder.Write("games/run.sh", "#!/bin/sh\n");
    std::filesystem::permissions(folder.Path() + "/games/run.sh", std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    const std::string outside = testing::TempDir() + "karvel-outside.txt";
    { std::ofstream(outside) << "x"; }
    drive::DialogScript script;
    struct Case {
        std::string path;
        bool opened;
    } cases[] = {
        {"games\\HELP.TXT", true},
        {folder.Path() + "/games/help.txt", true},
        {"games\\run.sh", false}, // executable
        {"games", false},         // a folder
        {"games\\missing.txt", false},
        {"..\\karvel-outside.txt", false},
        {outside, false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OpenDocument(c.path), c.opened) << c.path;
    ASSERT_EQ(script.Documents().size(), 2u);
    EXPECT_EQ(std::filesystem::path(script.Documents()[0]).filename(), "help.txt");
    std::filesystem::remove(outside);
}

TEST(Menu, ItemsMayOutliveTheirForm) {
    auto form = std::make_unique<Form>();
    Menu file(form->Menus(), "File");
    Menu open(file, "Open");
    form->Show();
    form.reset();
    file.SetVisible(false);
    open.SetCaption("Open...");
    EXPECT_EQ(open.Caption(), "Open...");
    EXPECT_EQ(file.Items().size(), 1u);
}
