#include "editor/DeckPropForm.h"

#include "common/Helpers.h"
#include "editor/EditorWindow.h"
#include "platform/Codec.h"

namespace wizard {

namespace {

// The key of each box: a checked box writes "true", an unchecked one "false".
constexpr std::array<const char*, 4> kDirectives{"split", "viewDiscard", "draw_facedown", "resize"};

} // namespace

DeckPropForm::DeckPropForm() {
    form_.SetCaption("Deck Properties");
    form_.Resize(6000, 2400);
    const char* captions[4] = {"Split the deck between players", "Discarded cards can be examined",
                               "Cards are drawn face down",
                               "The discarded cards are resized to fit the discard image size"};
    std::unique_ptr<platform::CheckBox>* boxes[4] = {&SplitOption, &ViewDiscardOpt, &DrawFacedownOpt,
                                                     &resize};
    for (int i = 0; i < 4; ++i) {
        *boxes[i] = std::make_unique<platform::CheckBox>(form_.Handle());
        (*boxes[i])->Move(240, 240 + i * 420, 5400, 315);
        (*boxes[i])->SetCaption(captions[i]);
    }
    CloseOnEscape(form_);
}

DeckPropForm::~DeckPropForm() = default;

void DeckPropForm::Read(const std::string& file, const std::string& section, bool commonDeck) {
    const auto upper = [&](const char* key) { return platform::AnsiUpper(GetIni(section, key, file)); };
    // A player's deck is never split among the players.
    shown_[0] = commonDeck && upper("split") != "FALSE";
    // The discard pile can be examined unless the key turns it off: the table engine reads a
    // missing key as TRUE and any other word than TRUE as FALSE.
    const std::string viewDiscard = upper("viewDiscard");
    shown_[1] = viewDiscard.empty() || viewDiscard == "TRUE";
    shown_[2] = upper("draw_facedown") == "TRUE";
    shown_[3] = upper("resize") == "TRUE";
    SplitOption->SetValue(shown_[0]);
    ViewDiscardOpt->SetValue(shown_[1]);
    DrawFacedownOpt->SetValue(shown_[2]);
    resize->SetValue(shown_[3]);
}

bool DeckPropForm::Write(const std::string& file, const std::string& section) {
    const platform::CheckBox* boxes[4] = {SplitOption.get(), ViewDiscardOpt.get(), DrawFacedownOpt.get(),
                                          resize.get()};
    bool written = true;
    for (std::size_t i = 0; i < kDirectives.size(); ++i) {
        const bool checked = boxes[i]->Value() == 1;
        // A box left as it opened leaves its key as the file has it.
        if (static_cast<int>(checked) == shown_[i]) continue;
        if (!WriteIni(section, kDirectives[i], checked ? "true" : "false", file)) written = false;
    }
    return written;
}

bool DeckPropForm::Open(const std::string& file, const std::string& section, bool commonDeck) {
    Read(file, section, commonDeck);
    form_.ShowModal();
    return Write(file, section);
}

} // namespace wizard
