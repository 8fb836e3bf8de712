// The deck step: the images of the game's folder, the deck's card list, its back and discard
// images and the cards to deal, and reading and saving the deck's section of the game file.
#include "editor/MainForm.h"

#include "editor/MainFormHelpers.h"

#include "common/Messages.h"
#include "platform/Ini.h"

namespace wizard {

using platform::ListBox;
using platform::TextBox;

void MainForm::BuildStep4() {
    auto* f = Wiz[4]->Handle();
    Describe(f, "Images in the Game Directory", 240, 300, 3000);
    File1 = Make<ListBox>(f, 240, 600, 3000, 3600, true);
    SelectAll = Button(f, "Select All", 240, 4300, 960, 315);
    SelectNone = Button(f, "Select None", 1260, 4300, 960, 315);
    RefreshFiles = Button(f, "Refresh", 2280, 4300, 960, 315);
    AddCards = Button(f, "->", 3360, 1200, 600, 315);
    RemoveCard = Button(f, "<-", 3360, 1680, 600, 315);
    ClearCards = Button(f, "clear", 3360, 2160, 600, 315);
    commonList = Make<platform::VirtualListBox>(f, 4080, 600, 2880, 3600);
    commonList->SetItemSource([this](int index) {
        return index >= 0 && index < static_cast<int>(cards_.size())
                   ? cards_[static_cast<std::size_t>(index)].text
                   : std::string();
    });
    commLabel = Caption(f, "Cards: 0", 4080, 4300, 2880);
    Describe(f, "Back", 7320, 300, 1800);
    AddBack = Button(f, "->", 7080, 600, 360, 315);
    backImg = Make<ListBox>(f, 7500, 600, 1700, 600);
    Describe(f, "Discard", 7320, 1380, 1800);
    AddDiscard = Button(f, "->", 7080, 1680, 360, 315);
    discardImg = Make<ListBox>(f, 7500, 1680, 1700, 600);
    Describe(f, "Cards to deal", 7080, 2520, 1800);
    DealCrds = Make<TextBox>(f, 7080, 2820, 900, 315);
    AdvancedProps = Button(f, "Advanced Properties", 7080, 3480, 2100);
}

std::string MainForm::DeckSection() const {
    if (IsCommonDeck) return "COMMON " + std::to_string(CurrentIndex);
    return "DECK " + std::to_string(CurrentDeck) + " PLAYER " + std::to_string(CurrentIndex);
}

void MainForm::SetCardEntry(int index, const std::string& text) {
    if (index < 0 || index >= static_cast<int>(cards_.size())) return;
    cards_[static_cast<std::size_t>(index)].text = text;
    commonList->Refresh();
}

long MainForm::CardId(int index) const {
    return index >= 0 && index < static_cast<int>(cards_.size()) ? cards_[static_cast<std::size_t>(index)].id
                                                                 : 0;
}

void MainForm::LoadDeckData(const std::string& section) {
    const std::string file = GameFile();
    Deck.Load(file, section);
    backImg->Clear();
    backImg->AddItem(Deck.Back());
    discardImg->Clear();
    discardImg->AddItem(Deck.Discard());
    cards_ = Deck.TakeEntries();
    const std::vector<DeckEntry>& entries = cards_;
    commonList->ResetItems(static_cast<int>(entries.size()));
    ShowCardCount(entries);
    DealCrds->SetText(Deck.Deal());
    // A deck the file does not have yet is written whole once it holds something.
    if (Deck.Existed()) writer_.Remember(file, Deck.LoadedKeys(file, entries));
}

std::vector<KeyValue> MainForm::DeckKeysToWrite(const std::string& file) const {
    return Deck.Keys(file, cards_, backImg->List(0), discardImg->List(0), DealCrds->Text());
}

bool MainForm::SaveDeckData() {
    const std::string file = UsableGameFile();
    if (file.empty()) return true;
    const std::vector<KeyValue> keys = DeckKeysToWrite(file);
    // A deck that has nothing to write is not in the file after the save either.
    if (keys.empty()) return true;
    const KeyWriter before = writer_;
    platform::IniWriteScope scope;
    if (!CommitWrites(scope, writer_.Write(file, keys), before)) return false;
    Deck.MarkSaved(cards_);
    return true;
}

void MainForm::AddSelectedCards() {
    const std::size_t listed = cards_.size();
    int total = TotalCards(cards_);
    for (int i = 0; i < File1->ListCount(); ++i) {
        if (!File1->Selected(i)) continue;
        const std::string name = File1->List(i);
        if (name.find(',') != std::string::npos) {
            ShowMsg("The image " + name + " has a \",\" in its name, which would break its card line");
            continue;
        }
        if (total + 1 > kMaxCards) {
            ShowMsg("A deck holds at most " + std::to_string(kMaxCards) + " cards");
            break;
        }
        ++total;
        cards_.push_back(DeckEntry{Deck.NewId(), name});
    }
    commonList->ItemsInserted(static_cast<int>(listed), static_cast<int>(cards_.size() - listed));
    UpdateCardCount();
}

void MainForm::UpdateCardCount() {
    ShowCardCount(cards_);
}

void MainForm::ShowCardCount(const std::vector<DeckEntry>& entries) {
    commLabel->SetCaption("Cards: " + std::to_string(entries.size()) +
                          " (tot: " + std::to_string(TotalCards(entries)) + ")");
}

} // namespace wizard
