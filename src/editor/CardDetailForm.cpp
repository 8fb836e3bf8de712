#include "editor/CardDetailForm.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "editor/EditorWindow.h"
#include "editor/ImageForms.h"
#include "editor/MainForm.h"

#include <algorithm>

namespace wizard {

namespace {

std::vector<std::string> Pairs(const std::string& properties) {
    if (properties.empty()) return {};
    return SplitAll(properties, "|");
}

std::string PairName(const std::string& pair) {
    return pair.substr(0, pair.find('='));
}

// The window without property lists, and the taller one that shows them.
constexpr int kSmallHeight = 2200;
constexpr int kSmallUpdateTop = 1080;
constexpr int kTallHeight = 4500;
constexpr int kTallUpdateTop = 3780;

} // namespace

std::string MergeProperties(const std::string& properties, const std::vector<std::string>& names,
                            const std::vector<std::string>& values) {
    std::vector<std::string> pairs = Pairs(properties);
    for (std::size_t j = 0; j < names.size(); ++j) {
        if (names[j].empty()) continue;
        auto it = std::find_if(pairs.begin(), pairs.end(),
                               [&](const std::string& p) { return PairName(p) == names[j]; });
        if (values[j].empty()) {
            if (it != pairs.end()) pairs.erase(it);
        } else if (it != pairs.end()) {
            *it = names[j] + "=" + values[j];
        } else {
            pairs.push_back(names[j] + "=" + values[j]);
        }
    }
    std::string merged;
    for (std::size_t i = 0; i < pairs.size(); ++i)
        merged += (i ? "|" : "") + pairs[i];
    return merged;
}

CardDetailForm::CardDetailForm(MainForm& editor) : editor_(editor) {
    form_.SetCaption("Card Detail");
    form_.Resize(4800, kSmallHeight);
    auto* f = form_.Handle();
    Label1 = std::make_unique<platform::Label>(f);
    Label1->Move(120, 120, 4400, 285);
    countLabel_ = std::make_unique<platform::Label>(f);
    countLabel_->Move(120, 540, 1400, 285);
    countLabel_->SetCaption("# of cards");
    CrdX = std::make_unique<platform::TextBox>(f);
    CrdX->Move(1600, 540, 800, 315);
    ShowBtn = std::make_unique<platform::CommandButton>(f);
    ShowBtn->Move(2600, 540, 1000, 315);
    ShowBtn->SetCaption("show");
    UpdateBtn = std::make_unique<platform::CommandButton>(f);
    UpdateBtn->Move(120, kSmallUpdateTop, 1400, 360);
    UpdateBtn->SetCaption("Update");
    propFrame = std::make_unique<platform::Frame>(f);
    propFrame->Move(120, 1000, 4400, 2700);
    propFrame->SetCaption("Properties");
    propFrame->SetVisible(false);
    auto* p = propFrame->Handle();
    pListNames = std::make_unique<platform::ComboBox>(p, 2);
    pListNames->Move(120, 300, 2400, 315);
    for (int j = 0; j < 6; ++j) {
        lbl[j] = std::make_unique<platform::Label>(p);
        lbl[j]->Move(120, 720 + j * 330, 1800, 285);
        pName[j] = std::make_unique<platform::TextBox>(p);
        pName[j]->Move(2000, 720 + j * 330, 2200, 315);
    }
    UpdateBtn->OnClick = [this] { Update(); };
    ShowBtn->OnClick = [this] {
        // The card the window shows, as long as it is still in the list.
        const std::string entry = id_ != 0 && editor_.CardId(entry_) == id_
                                      ? editor_.CardEntries()[static_cast<std::size_t>(entry_)].text
                                      : "";
        if (!entry.empty()) editor_.CardImage().Open(editor_.ImageFolder(), EntryImage(entry), false);
    };
    pListNames->OnClick = [this] { ChooseList(pListNames->List(pListNames->ListIndex())); };
    CloseOnEscape(form_);
}

CardDetailForm::~CardDetailForm() = default;

void CardDetailForm::Open(bool modal) {
    entry_ = editor_.commonList->ListIndex();
    id_ = editor_.CardId(entry_);
    const std::string entry = id_ != 0 ? editor_.CardEntries()[static_cast<std::size_t>(entry_)].text : "";
    if (id_ == 0) entry_ = -1;
    CrdX->SetText(entry_ >= 0 ? std::to_string(EntryCopies(entry)) : "");
    Label1->SetCaption(EntryImage(entry));
    const std::string file = editor_.GameFile();
    const int total = LeadingInt16(GetIni("PROP LISTS", "total", file));
    propFrame->SetVisible(total > 0);
    // Sized for this game: a game without lists gets the small window back after one with them.
    form_.SetHeight(total > 0 ? kTallHeight : kSmallHeight);
    UpdateBtn->SetTop(total > 0 ? kTallUpdateTop : kSmallUpdateTop);
    if (total > 0) {
        propFrame->Move(120, 1000, 4400, 2700);
        pListNames->Clear();
        for (int k = 1; k <= 4; ++k)
            if (std::string name = GetField(GetIni("PROP LISTS", "list" + std::to_string(k), file), 1);
                !name.empty())
                pListNames->AddItem(name);
        if (pListNames->ListCount() > 0) pListNames->SetListIndex(0);
    }
    if (modal)
        form_.ShowModal();
    else
        form_.Show();
}

void CardDetailForm::ChooseList(const std::string& name) {
    const std::string file = editor_.GameFile();
    const int total = LeadingInt16(GetIni("PROP LISTS", "total", file));
    for (int k = 1; k <= total; ++k) {
        const std::vector<std::string> fields =
            GetFields(GetIni("PROP LISTS", "list" + std::to_string(k), file), 7);
        if (fields[0] != name) continue;
        const std::vector<std::string> pairs = Pairs(editor_.Deck.Properties(id_));
        for (int j = 0; j < 6; ++j) {
            lbl[j]->SetCaption(fields[j + 1]);
            pName[j]->SetText("");
            for (std::size_t i = 0; i < pairs.size() && i < 6; ++i)
                if (!fields[j + 1].empty() && PairName(pairs[i]) == fields[j + 1])
                    pName[j]->SetText(pairs[i].substr(pairs[i].find('=') + 1));
        }
        return;
    }
}

void CardDetailForm::Update() {
    // The entry the window opened on, as long as it is still in the list.
    if (id_ == 0 || editor_.CardId(entry_) != id_) {
        form_.Unload();
        return;
    }
    for (const auto& box : pName)
        if (box->Text().find_first_of(",|=") != std::string::npos) {
            ShowMsg("A property value may not hold \",\", \"|\" or \"=\": " + box->Text());
            return;
        }
    const std::string count = StripBlanks(CrdX->Text());
    const int copies = LeadingInt16(count) > 1 ? static_cast<int>(LeadingNumber(count)) : 1;
    const std::string entry = copies > 1 ? "(x" + count + ")" + Label1->Caption() : Label1->Caption();
    std::vector<DeckEntry> entries = editor_.CardEntries();
    entries[static_cast<std::size_t>(entry_)].text = entry;
    if (TotalCards(entries) > kMaxCards) {
        ShowMsg("A deck holds at most " + std::to_string(kMaxCards) + " cards");
        return;
    }
    editor_.SetCardEntry(entry_, entry);
    if (propFrame->Visible()) {
        std::vector<std::string> names, values;
        for (int j = 0; j < 6; ++j) {
            names.push_back(lbl[j]->Caption());
            values.push_back(StripBlanks(pName[j]->Text()));
        }
        editor_.Deck.SetProperties(id_, MergeProperties(editor_.Deck.Properties(id_), names, values));
    }
    editor_.UpdateCardCount();
    form_.Unload();
}

} // namespace wizard
