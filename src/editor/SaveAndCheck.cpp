// "Save": the check of what is missing or too large for the table, shown before the save, and the
// one write of the game file that holds the header, the deck and the property lists shown, with
// the one message of a failed write.
#include "editor/MainForm.h"

#include "editor/MainFormHelpers.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "platform/Ini.h"
#include "platform/Seams.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace wizard {

using platform::TextBox;

std::string MainForm::UsableGameFile() {
    const std::string name = NameTXT->Text();
    if (name.empty()) return "";
    if (std::string refusal = GameNameRefusal(name); !refusal.empty()) {
        ShowMsg(refusal);
        return "";
    }
    return GameFilePath(name);
}

void MainForm::ReportWriteFailure() {
    ShowMsg("The game file " + NameTXT->Text() + ".game could not be written");
}

bool MainForm::WriteGameHeader() {
    const std::string file = GameFile();
    const KeyWriter before = writer_;
    // One replace of the file for the whole save: a failure leaves the old file whole.
    platform::IniWriteScope scope;
    bool written = writer_.Write(file, HeaderKeys());
    std::vector<KeyValue> deck;
    if (CurrentStep == 4) {
        deck = DeckKeysToWrite(file);
        written = writer_.Write(file, deck) && written;
    }
    std::optional<std::vector<KeyValue>> lists;
    // Lists that would not read back as typed are refused with their own message; the rest of
    // the game is saved all the same.
    if (CurrentStep == 6) lists = PropListsToWrite();
    if (lists) written = writer_.Write(file, *lists) && written;
    written = writer_.Write(file, {KeyValue{"GAME", "desktop", DeskTopImage->Caption()}}) && written;
    if (!CommitWrites(scope, written, before)) return false;
    if (!deck.empty()) Deck.MarkSaved(cards_);
    if (lists && !lists->empty()) propListsShown_ = *lists;
    headerFile_ = file;
    return true;
}

bool MainForm::CommitWrites(platform::IniWriteScope& scope, bool written, const KeyWriter& before) {
    // The platform names a file it could not write by the path it was given; the author knows the
    // game by its name, and hears of the failure once.
    std::vector<std::string> held;
    platform::MessageHandler shown =
        platform::SetMessageHandler([&held](const std::string& text) { held.push_back(text); });
    written = scope.Commit() && written;
    platform::SetMessageHandler(std::move(shown));
    if (!written) {
        // What is on disk is what was there before: what this save meant to write is forgotten.
        writer_ = before;
        ReportWriteFailure();
        return false;
    }
    for (const std::string& text : held)
        ShowMsg(text);
    return true;
}

int MainForm::SavedCount(const std::string& file, const std::string& key) const {
    for (const KeyValue& kv : HeaderKeys())
        if (kv.section == "GAME" && kv.key == key)
            return std::max(0, BoxNumber(writer_.Unchanged(file, kv) ? GetIni("GAME", key, file) : kv.value));
    return 0;
}

std::string MainForm::CheckReport() const {
    std::string report;
    const auto add = [&](const std::string& line) { report += "\r\n" + line; };
    if (NameTXT->Text().empty()) add("- Missing game name");
    if (DirName->Text().empty()) add("- Missing directory name");
    const int players = std::clamp(BoxNumber(PlNum->Text()), 0, 6);
    if (players == 0) add("- No players specified");
    for (int p = 1; p <= players; ++p)
        if (PLname[p - 1]->Text().empty()) add("- No Name specified for player #" + std::to_string(p));
    if (CurrentStep == 4) {
        const std::string owner =
            IsCommonDeck ? " common deck #" + std::to_string(CurrentIndex)
                         : " deck #" + std::to_string(CurrentDeck) + " player: " + PlayerName(CurrentIndex);
        if (backImg->List(0).empty()) add("- No back image specified for " + owner);
        if (discardImg->List(0).empty()) add("- No discard image specified for " + owner);
    }
    // What the table engine would refuse or cut is said too; the file is saved all the same.
    for (const KeyValue& kv : HeaderKeys())
        if (kv.value.size() > kMaxValueLength)
            add("- The value of " + kv.key + " in [" + kv.section + "] is longer than " +
                std::to_string(kMaxValueLength) + " characters and will be read cut");
    const std::string file = GameFile();
    const platform::IniReadScope reading;
    // The cards of every deck, the one shown as its list holds it.
    long long cards = 0;
    const auto countCards = [&](const std::string& section) {
        const bool shown = CurrentStep == 4 && Deck.Loaded() && section == DeckSection();
        cards += shown ? TotalCards(cards_) : DeckCards(file, section);
    };
    // The decks the file holds after the save: a count the window showed clamped keeps the file's.
    const int common = SavedCount(file, "common_decks");
    int decks = common;
    for (int n = 1; n <= common; ++n)
        countCards("COMMON " + std::to_string(n));
    const int seats = SavedCount(file, "players");
    for (int p = 1; p <= seats; ++p) {
        const int own = std::max(0, static_cast<int>(LeadingInt16(GetIni(PlayerSection(p), "decks", file))));
        decks += own;
        for (int k = 1; k <= own && decks <= kMaxDecks; ++k)
            countCards("DECK " + std::to_string(k) + " PLAYER " + std::to_string(p));
    }
    if (decks > kMaxDecks)
        add("- The game has " + std::to_string(decks) + " decks; Karvel plays at most " +
            std::to_string(kMaxDecks));
    else if (cards > kMaxCards)
        add("- The game has " + std::to_string(cards) + " cards; Karvel plays at most " +
            std::to_string(kMaxCards));
    if (report.empty()) return "";
    return "** Missing or incorrect information **\r\n" + report;
}

void MainForm::CheckAndSave() {
    const std::string name = NameTXT->Text();
    if (!name.empty()) {
        if (std::string refusal = GameNameRefusal(name); !refusal.empty()) {
            ShowMsg(refusal);
            return;
        }
        // Leaving the name box for "Save" reads the game it names, as leaving it otherwise does.
        if (GameFile() != headerFile_ && FileExists(GameFile()) && CurrentStep == 0) LoadGameHeader();
    }
    LastCheckReport = CheckReport();
    if (!LastCheckReport.empty()) {
        platform::Form check;
        check.SetCaption("Check Phase");
        check.Resize(6000, 3600);
        check.SetOwner(&form_);
        TextBox text(check.Handle(), true);
        text.Move(120, 120, 5600, 2500);
        text.SetText(LastCheckReport);
        text.SetLocked(true);
        // Any key closes the window, and so does its button, for the mouse where no window
        // manager gives the window a close box.
        platform::CommandButton ok(check.Handle());
        ok.Move(2400, 2700, 1200, 360);
        ok.SetCaption("OK");
        ok.SetDefault(true);
        ok.OnClick = [&check] { check.Hide(); };
        check.OnKeyDown = [&check](int, int) { check.Hide(); };
        check.SetKeyPreview(true);
        check.ShowModal();
    }
    if (name.empty()) return;
    WriteGameHeader();
}

} // namespace wizard
