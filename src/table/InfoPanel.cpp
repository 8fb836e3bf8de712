#include "table/InfoPanel.h"

#include "common/GraphicsMgmt.h"
#include "common/Helpers.h"
#include "common/Numbers.h"
#include "platform/Codec.h"
#include "platform/Files.h"
#include "state/CaptionMgmt.h"
#include "state/DecksMgmt.h"
#include "state/GameMgmt.h"
#include "state/HandMgmt.h"
#include "state/Helpers.h"
#include "table/MainForm.h"
#include "table/TableSetup.h"

#include <algorithm>

InfoPanelSettingsRecord InfoPanelSettings;

namespace {

const char* const kNoInfo = "No info is available on the card";

bool IsTrue(const std::string& value) {
    return platform::AnsiEqualNoCase(value, "TRUE");
}

std::int16_t Positive(const std::string& value) {
    return std::max<std::int16_t>(0, LeadingInt16(value));
}

bool HandLabelsShown() {
    return InfoPanelSettings.showHandSize != kFalse && Game.external_hand != kFalse;
}

int Players() {
    return std::clamp<int>(Game.playerCount, 0, kMaxPlayers);
}

std::string HandCaption(int seat) {
    return Game.players[seat].name + " (" + std::to_string(CountHandCards(static_cast<std::int16_t>(seat))) +
           ")";
}

// A seat's icons are elements (seat - 1) x 12 to (seat - 1) x 12 + 11 of the icon array.
int IconIndex(int seat, int k) {
    return (seat - 1) * kHandIcons + (k - 1);
}

// The card the zoom picture shows, and the file it shows of it: flipped or taken into a hand, the
// same card shows another picture.
std::int16_t g_shownCard = 0;
std::string g_shownPicture;

} // namespace

void ReadInfoPanelSettings(const std::string& file) {
    InfoPanelSettingsRecord s;
    const auto key = [&](const char* name) { return GetIni("INFOPANEL", name, file); };
    s.width = Positive(key("width"));
    s.showZoom = ToFlag(IsTrue(key("showZoom")));
    s.showInfo = ToFlag(IsTrue(key("showInfo")));
    s.showToolbar = ToFlag(IsTrue(key("showToolbar")));
    if (const std::string hand = key("showHandSize"); !hand.empty()) {
        s.showHandSize = kTrue;
        const auto fields = GetFields(hand, 3, ",");
        s.handTop = LeadingInt16(fields[0]);
        s.handLeft = LeadingInt16(fields[1]);
        if (s.handLeft < 1) s.handLeft = 20;
        s.handColour = fields[2];
        s.hideHandIcons = ToFlag(IsTrue(key("hideHandIcons")));
    }
    s.background = key("background");
    s.cardInfoPosY = Positive(key("CardInfoPosY"));
    s.maxHeightForCardInfo = Positive(key("maxHeightForCardInfo"));
    s.minHeightForCardInfo = Positive(key("minHeightForCardInfo"));
    InfoPanelSettings = s;
    g_shownCard = 0;
    g_shownPicture.clear();
}

void LayoutInfoPanel() {
    MainForm* table = TableWindow();
    if (!table) return;
    const InfoPanelSettingsRecord& s = InfoPanelSettings;
    if (s.width == 0) {
        table->InfoPanel.SetVisible(false);
        return;
    }
    const int W = table->Window().ScaleWidth();
    const int H = table->Window().ScaleHeight();
    table->InfoPanel.Move(W - s.width, 0, s.width, H);
    if (!s.background.empty()) {
        const auto back = static_cast<platform::Colour>(ParseColour(s.background));
        table->InfoPanel.SetBackColor(back);
        table->InfoPanel.Cls();
        // The description stays readable on a dark panel.
        const int light = platform::RedOf(back) * 3 + platform::GreenOf(back) * 6 + platform::BlueOf(back);
        table->CardInfoLabel.SetForeColor(light < 1280 ? platform::MakeColour(255, 255, 255) : 0);
    }
    table->InfoPanel.SetVisible(true);
    table->InfoPanel.ZOrder(true);

    controls::TranspImg& zoom = table->ZoomImg;
    zoom.Surface().SetVisible(s.showZoom != kFalse);
    if (s.showZoom) zoom.Surface().Move((s.width - zoom.Surface().Width()) / 2 + 50, 120);

    platform::Label& info = table->CardInfoLabel;
    info.SetVisible(s.showInfo != kFalse);
    if (s.showInfo) {
        const int top = s.cardInfoPosY > 0 ? s.cardInfoPosY : info.Top();
        // Half the window, less what the tool bar or the panel's margin takes.
        int height = H / 2 - (s.showToolbar ? 2100 : 1200);
        if (s.maxHeightForCardInfo > 0) height = std::min<int>(height, s.maxHeightForCardInfo);
        if (s.minHeightForCardInfo > 0) height = std::max<int>(height, s.minHeightForCardInfo);
        info.Move(100, top, std::max(0, s.width - 200), std::max(0, height));
    }
    if (s.showHandSize) DrawHandIcons();
    if (s.showToolbar) LayoutToolBar();
}

void LayoutToolBar() {
    MainForm* table = TableWindow();
    if (!table || InfoPanelSettings.width <= 0) return;
    controls::cpvButton* rows[2][4] = {
        {&table->addNumMarker, &table->addGraphMakerBtn, &table->diceRollerBtn, &table->showNotesBtn},
        {&table->saveGameBtn, &table->reportBtn, &table->EndGameBtn, &table->showHandAreaBtn},
    };
    // Four buttons share the panel's width between margins of 50 twips.
    const int width = std::max(300, (InfoPanelSettings.width - 100 - 3 * 20) / 4);
    const int height = table->addNumMarker.Surface().Height();
    int top = table->hsb.Top() - 2 * height - 50;
    for (auto& row : rows) {
        int left = 50;
        for (controls::cpvButton* button : row) {
            button->Surface().Move(left, top, width, height);
            button->Surface().SetVisible(true);
            left += button->Surface().Width() + 20;
        }
        top += height + 20;
    }
}

void ShowCardInfo(std::int16_t card) {
    MainForm* table = TableWindow();
    if (!table || !CardTable::Contains(card)) return;
    const CardRecord& c = Cards[card];
    // Another seat's card in a hand or face down keeps its face and its description hidden.
    const bool hidden =
        c.owner != Game.CurrentPlayer && (IsCardInHand(c.controlIndex, card) || c.faceShown == kFalse);
    if (InfoPanelSettings.showZoom) {
        const bool validDeck = c.deck >= 0 && c.deck < kMaxDecks;
        const std::string path =
            hidden ? (validDeck ? Game.backImages[c.deck] : std::string()) : GameImagePath(c.image);
        if (card != g_shownCard || path != g_shownPicture) {
            table->ZoomImg.loadNewPicture(path, true);
            g_shownCard = card;
            g_shownPicture = path;
        }
    }
    if (InfoPanelSettings.showInfo) {
        const std::string info = c.key.empty() || hidden ? std::string() : ReadCardInfoFile(c.key);
        std::string text = kNoInfo;
        if (!info.empty()) {
            text = GetField(info, 1, "|") + "\r\n\r\n" + CardInfoDescription(info);
        }
        table->CardInfoLabel.SetCaption(text);
    }
}

void DrawHandIcons() {
    MainForm* table = TableWindow();
    if (!table || !HandLabelsShown()) return;
    const InfoPanelSettingsRecord& s = InfoPanelSettings;
    const auto colour = static_cast<platform::Colour>(ParseColour(s.handColour));
    const std::string iconPath = platform::ProgramFolder() + "\\" + Game.directory + "\\crdIcon.jpg";
    const auto icon = FileExists(iconPath) ? platform::Picture::LoadShared(iconPath) : std::nullopt;
    int top = s.handTop;
    for (int p = 1; p <= Players(); ++p) {
        platform::Label* label = table->HandLabel(p - 1);
        if (!label) label = table->HandLabel.Load(p - 1);
        if (!label) continue;
        if (p > 1) {
            const platform::Label* previous = table->HandLabel(p - 2);
            top = previous->Top() + previous->Height() + 180;
        }
        label->SetForeColor(colour);
        label->SetCaption(HandCaption(p));
        label->Move(s.handLeft, top);
        label->SetVisible(true);
        if (s.hideHandIcons || !icon) continue;
        for (int k = 1; k <= kHandIcons; ++k) {
            const int index = IconIndex(p, k);
            platform::Image* image = table->HandIcon(index);
            if (!image) image = table->HandIcon.Load(index);
            if (!image) continue;
            image->SetPicture(*icon);
            image->Move(label->Left() + label->Width() + 80 + (k - 1) * (image->Width() + 20),
                        label->Top() - 60);
        }
    }
    UpdateHandSizeCaptions();
}

void UpdateHandSizeCaptions() {
    MainForm* table = TableWindow();
    if (!table) return;
    if (GetBoolDirective("GAME", "showAdversaryHandOnCaption", false)) UpdateTitle();
    if (!HandLabelsShown()) return;
    for (int p = 1; p <= Players(); ++p) {
        platform::Label* label = table->HandLabel(p - 1);
        if (!label) continue;
        label->SetCaption(HandCaption(p));
        if (InfoPanelSettings.hideHandIcons) continue;
        const int cards = CountHandCards(static_cast<std::int16_t>(p));
        for (int k = 1; k <= kHandIcons; ++k)
            if (platform::Image* image = table->HandIcon(IconIndex(p, k))) image->SetVisible(k <= cards);
    }
}
