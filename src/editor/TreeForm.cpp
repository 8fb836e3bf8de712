#include "editor/TreeForm.h"

#include "common/Helpers.h"
#include "common/Numbers.h"
#include "editor/DefinitionKeys.h"
#include "editor/EditorWindow.h"

#include <algorithm>

namespace wizard {

namespace {
// More report lines than anyone writes; a count beyond it is a damaged file, not a game.
constexpr int kMaxReports = 99;
} // namespace

TreeForm::TreeForm() {
    form_.SetCaption("Game Tree");
    form_.Resize(4800, 6000);
    GameList = std::make_unique<platform::ListBox>(form_.Handle());
    GameList->Move(120, 120, 4400, 5300);
    GameList->OnDblClick = [this] { Choose(GameList->ListIndex()); };
    CloseOnEscape(form_);
}

TreeForm::~TreeForm() = default;

void TreeForm::AddPanel(const std::string& text, int step) {
    GameList->AddItem(text);
    GameList->SetItemData(GameList->NewIndex(), step);
}

void TreeForm::AddJump(const std::string& text, Jump jump) {
    jumps_.push_back(jump);
    GameList->AddItem(text);
    GameList->SetItemData(GameList->NewIndex(), -static_cast<long>(jumps_.size()));
}

void TreeForm::Build(const std::string& file, int players) {
    JumpStep = -1;
    jumps_.clear();
    GameList->Clear();
    AddPanel("Game Description", 0);
    AddPanel("Players Panel", 1);
    for (int p = 1; p <= players; ++p) {
        AddJump("  *** Player " + std::to_string(p) + " Data ", Jump{p, 0, 2});
        const int decks =
            std::clamp<int>(LeadingInt16(GetIni("PLAYER " + std::to_string(p), "decks", file)), 0, kMaxDecks);
        for (int d = 1; d <= decks; ++d)
            AddJump("           deck #" + std::to_string(d), Jump{p, d, 4});
    }
    AddPanel("Common Decks Panel", 3);
    const int common = std::clamp<int>(LeadingInt16(GetIni("GAME", "common_decks", file)), 0, kMaxDecks);
    for (int d = 1; d <= common; ++d)
        AddJump("  *** deck #" + std::to_string(d), Jump{-1, d, 4});
    AddPanel("Properties Panel", 6);
    const int reports = std::clamp<int>(LeadingInt16(GetIni("REPORTS", "num_reports", file)), 0, kMaxReports);
    for (int n = 1; n <= reports; ++n)
        AddJump("  *** " + GetField(GetIni("REPORTS", "report" + std::to_string(n), file), 1),
                Jump{0, n - 1, 7});
}

void TreeForm::Open(const std::string& file, int players) {
    Build(file, players);
    form_.ShowModal();
}

void TreeForm::Choose(int index) {
    if (index < 0 || index >= GameList->ListCount()) return;
    const long data = GameList->ItemData(index);
    if (data >= 0) {
        JumpStep = static_cast<int>(data);
    } else {
        const Jump& jump = jumps_[static_cast<std::size_t>(-data - 1)];
        JumpStep = jump.step;
        if (jump.step == 2) JumpNumber = jump.owner;
        if (jump.step == 4) {
            JumpOwner = jump.owner;
            JumpNumber = jump.number;
        }
        if (jump.step == 7) JumpOwner = jump.number;
    }
    form_.Unload();
}

} // namespace wizard
