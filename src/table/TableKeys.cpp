#include "table/TableKeys.h"

#include "common/Helpers.h"
#include "platform/Codec.h"
#include "platform/Keys.h"
#include "services/DiceRoller.h"
#include "services/GameHelp.h"
#include "state/TableState.h"
#include "table/DesignToolBarForm.h"
#include "table/JudgeMgmt.h"
#include "table/MainForm.h"
#include "table/MarkerForm.h"
#include "table/SaveGameMgmt.h"
#include "table/SelectionMgmt.h"
#include "table/TableSetup.h"
#include "table/ToolBarForm.h"

#include <algorithm>

namespace keys = platform::keys;

namespace {

// The quick-message label is never narrower than this (twips), so that short results stay easy
// to hit with the mouse.
constexpr int kQuickMsgWidth = 2300;

} // namespace

std::string ChatMacroText(int keyCode, const std::string& gameFile) {
    if (keyCode < keys::kF1 || keyCode > keys::kF1 + 7) return "";
    return GetIni("CHAT", "message" + std::to_string(keyCode - keys::kF1 + 1), gameFile);
}

TableKeys::TableKeys(MainForm& table) : table_(table) {
    platform::Form& form = table.Window();
    form.SetKeyPreview(true);
    form.OnKeyDown = [this](int keyCode, int shift) { Form_KeyDown(keyCode, shift); };
    form.OnKeyUp = [this](int keyCode, int shift) { Form_KeyUp(keyCode, shift); };
}

TableKeys::~TableKeys() = default;

void TableKeys::Form_KeyDown(int keyCode, int shift) {
    if (shift == keys::kAlt) {
        PressAccessKey(keyCode);
        return;
    }
    if (shift != keys::kCtrl) return;
    const std::string text = ChatMacroText(keyCode, CurrentGameFile);
    if (!text.empty() && table_.Others.showChat) table_.Others.showChat(text);
}

void TableKeys::Form_KeyUp(int keyCode, int) {
    const bool handWindow = Game.external_hand != kFalse;
    const bool arbitrator = Game.arbitrator != 0 && ArbitratorLoggedIn != kFalse;
    switch (keyCode) {
    case keys::kF12:
        if (DesignMode != kFalse)
            ShowDesignToolBar(table_);
        else
            ShowToolBar(table_);
        break;
    case keys::kF1 + 3: // F4
        if (GameMode == kModeDirect && table_.Others.showChat) table_.Others.showChat("");
        break;
    case keys::kF1 + 1: // F2
        ShowGameHelp();
        break;
    case keys::kF1 + 4: // F5
        table_.reportBtn_Click();
        break;
    case keys::kF1 + 6: // F7
        QuickSave();
        break;
    case keys::kF1 + 7: // F8
        // In direct play each side acts for the seat agreed at the connection, which the other
        // side takes as the owner of whatever this side draws or takes: stepping through the
        // seats here would make the two tables differ (a game ended shows every card already).
        if (AllCardsVisible != kFalse && GameMode != kModeDirect) {
            // From the arbitrator's seat too the view goes round to the first seat.
            Game.CurrentPlayer = static_cast<std::int16_t>(
                Game.CurrentPlayer >= Game.playerCount ? 1 : Game.CurrentPlayer + 1);
            UpdateTitle();
        }
        break;
    case keys::kF1 + 8: // F9
    case keys::kSpace:
        if (handWindow && table_.Others.showHandForm) table_.Others.showHandForm();
        break;
    case keys::kF1 + 9: // F10
        if (arbitrator) SelectActingPlayer();
        break;
    case keys::kF1 + 10: // F11
        if (arbitrator && table_.Others.showSeatIds) table_.Others.showSeatIds();
        break;
    case keys::kEscape:
        ClearSelection();
        break;
    // A letter's key code is its capital.
    case 'A':
        SelectAllCards();
        break;
    case 'M':
        FillMarkerList(Game.CurrentPlayer);
        break;
    default:
        // Only the main keyboard's digit row rolls: the keypad's digits have codes of their own.
        if (keyCode >= keys::kDigit0 + 1 && keyCode <= keys::kDigit0 + 9) RollDieKey(keyCode - keys::kDigit0);
        break;
    }
}

void TableKeys::PressAccessKey(int keyCode) {
    // A letter's or a digit's key code is its capital or the digit itself.
    const bool letter = keyCode >= keys::kA && keyCode < keys::kA + 26;
    const bool digit = keyCode >= keys::kDigit0 && keyCode <= keys::kDigit0 + 9;
    if ((!letter && !digit) || !table_.InfoPanel.Visible()) return;
    // The buttons in the order the panel lays them out: of two with the same key, the first
    // takes it.
    controls::cpvButton* const buttons[] = {
        &table_.addNumMarker, &table_.addGraphMakerBtn, &table_.diceRollerBtn, &table_.showNotesBtn,
        &table_.saveGameBtn,  &table_.reportBtn,        &table_.EndGameBtn,    &table_.showHandAreaBtn,
    };
    for (controls::cpvButton* button : buttons) {
        const char key = button->AccessKey();
        if (!button->Surface().Visible() || !button->Enabled() || key == 0) continue;
        if (platform::AnsiUpperByte(static_cast<unsigned char>(key)) != keyCode) continue;
        button->AccessKeyPress(key);
        return;
    }
}

void TableKeys::RollDieKey(int die) {
    platform::Label& label = table_.QuickMsg;
    label.SetAutoSize(true);
    if (die > DiceCount) {
        label.SetCaption("Dice # " + std::to_string(die) + " not defined");
    } else {
        const std::string result = RollDice(static_cast<std::int16_t>(die), false, true);
        // A die that places markers has shown its result on the table already.
        if (DiceUsesMarkers(static_cast<std::int16_t>(die))) return;
        label.SetCaption("[" + std::to_string(Game.diceSerial) + "] " + result);
    }
    if (label.Width() < kQuickMsgWidth) {
        label.SetAutoSize(false);
        label.SetWidth(kQuickMsgWidth);
    }
    label.SetVisible(true);
    // The newest result reads above everything on the table, a result kept there before included.
    label.ZOrder(true);
}
