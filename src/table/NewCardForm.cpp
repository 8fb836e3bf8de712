#include "table/NewCardForm.h"

#include "common/Messages.h"
#include "platform/Files.h"
#include "platform/Seams.h"
#include "state/TableState.h"

#include <filesystem>

namespace {

const std::string kNoCardChosen = "<select the new card>";

// The name after the folder, whichever separator the chooser used.
std::string BaseName(const std::string& path) {
    const std::size_t at = path.find_last_of("\\/");
    return at == std::string::npos ? path : path.substr(at + 1);
}

} // namespace

NewCardForm::NewCardForm() {
    form.SetCaption("Add New Card");
    form.Resize(6300, 4200);
    previewFrame.Move(120, 120, 2700, 3300);
    previewFrame.SetCaption(" Preview");
    preView.Move(120, 300, 2460, 2880);
    preView.SetStretch(true);
    newFrame.Move(3000, 120, 3060, 900);
    newFrame.SetCaption("New card ");
    newName.Move(120, 360, 2820, 285);
    newName.SetCaption(kNoCardChosen);
    SelectCrdBtn.Move(3000, 1200, 1400, 420);
    SelectCrdBtn.SetCaption("select");
    Command1.Move(3000, 3000, 1400, 420);
    Command1.SetCaption("Add card");
    Command2.Move(4560, 3000, 1400, 420);
    Command2.SetCaption("Cancel");
    Command2.SetCancel(true);

    SelectCrdBtn.OnClick = [this] { SelectCard(); };
    Command1.OnClick = [this] { AddCard(); };
    Command2.OnClick = [this] { form.Unload(); };
    form.OnLoad = [this] {
        chosen_.clear();
        newName.SetCaption(kNoCardChosen);
        preView.SetPicture(platform::Picture());
    };
}

std::string NewCardForm::ImageFolder() const {
    return platform::ProgramFolder() + "\\" + Game.directory;
}

void NewCardForm::SelectCard() {
    const auto path = platform::ChooseFileToOpen({"", "Card images|*.bmp;*.gif;*.jpg", ImageFolder(), ""});
    if (!path) return;
    chosen_ = *path;
    newName.SetCaption(BaseName(chosen_));
    const auto picture = platform::Picture::Load(chosen_);
    preView.SetPicture(picture ? *picture : platform::Picture());
}

void NewCardForm::AddCard() {
    if (chosen_.empty()) {
        ShowMsg("Please select the picture of the new card first");
        return;
    }
    // The definition names a card by its file name in the game's image folder: a picture from
    // elsewhere would make a card whose picture the game cannot find.
    const std::string name = BaseName(chosen_);
    const auto inFolder = platform::ResolvePath(ImageFolder() + "\\" + name);
    const auto chosen = platform::ResolveUserPath(chosen_);
    std::error_code error;
    if (!inFolder || !chosen || !std::filesystem::equivalent(*inFolder, *chosen, error)) {
        ShowMsg("The new card must be a picture of the folder " + ImageFolder());
        return;
    }
    if (CreateCard) CreateCard(0, name);
    form.Unload();
}
