#include "start/CategoryMgmt.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Files.h"
#include "start/StartForm.h"

#include <algorithm>
#include <cmath>

namespace {

std::string BesideProgram(const std::string& name) {
    return platform::ProgramFolder() + "\\" + name;
}

std::string CategoryFile() {
    return BesideProgram("categ.dat");
}

std::string UserCatalogue() {
    return BesideProgram("usercat.dat");
}

} // namespace

void EnsureCategoryFile() {
    if (FileExists(CategoryFile())) return;
    const std::string base = BesideProgram("base_categ.dat");
    const auto bytes = platform::ReadFileBytes(base);
    if (!bytes) {
        ShowMsg("The game categories cannot be set up: " + base + " is missing");
        return;
    }
    if (!platform::WriteFileAtomic(CategoryFile(), *bytes))
        ShowMsg("The game categories cannot be written to " + CategoryFile());
}

void FillCategoryCombo(StartForm& list) {
    EnsureCategoryFile();
    list.CategList.Clear();
    list.CategList.AddItem(kAllGames);
    // More names than the menu has items are left out.
    const double declared = LeadingNumber(GetIni("CATEGORIES", "num_categ", CategoryFile()));
    const int n = std::isfinite(declared)
                      ? std::clamp(RoundToInt32(std::clamp(declared, -1.0, 100.0)), 0, kMaxCategories)
                      : 0;
    for (int i = 1; i <= kMaxCategories; ++i) {
        platform::Menu* item = list.CategoryMenu(i);
        if (!item) continue;
        if (i > n) {
            item->SetVisible(false);
            continue;
        }
        const std::string name = GetIni("CATEGORIES", "cat" + std::to_string(i), CategoryFile());
        list.CategList.AddItem(name);
        item->SetCaption(name);
        item->SetVisible(true);
    }
    list.CategList.SetListIndex(0);
}

bool GameInCategory(const std::string& game, const std::string& category) {
    if (category == kAllGames) return true;
    const std::string filed = GetIni("USER CATALOG", game, UserCatalogue());
    if (category == kGenericCategory && filed.empty()) return true;
    return category == filed;
}

void SetGameCategory(StartForm& list, int item, const std::string& game) {
    if (game.empty()) {
        ShowMsg("Please select a game");
        return;
    }
    const platform::Menu* category = list.CategoryMenu(item);
    if (!category) return;
    if (WriteIni("USER CATALOG", game, category->Caption(), UserCatalogue()) == 0)
        ShowMsg("The game's category cannot be written to " + UserCatalogue());
}

void ClickNewGame(StartForm& list) {
    list.List1.Clear();
    list.NewGameBtn_Click();
}
