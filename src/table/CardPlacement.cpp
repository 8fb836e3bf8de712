#include "table/CardPlacement.h"

#include "common/Helpers.h"
#include "common/Numbers.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "state/CaptionMgmt.h"
#include "state/PlayerMgmt.h"
#include "state/TableState.h"
#include "state/ZOrder.h"
#include "table/InfoPanel.h"
#include "table/MainForm.h"
#include "table/TableSetup.h"

#include <memory>

namespace {

// The hand window's first place for a card.
constexpr std::int16_t kHandWindowPlace = 250;

struct CardInfoForm {
    platform::Form form;
    platform::Label nameLabel{form.Handle()};
    platform::Label infoLabel{form.Handle()};

    CardInfoForm() {
        form.SetCaption("Card info");
        form.Resize(4500, 3600);
        nameLabel.Move(120, 120, 4000, 300);
        infoLabel.Move(120, 540, 4000, 2400);
        infoLabel.SetWordWrap(true);
    }
};

std::unique_ptr<CardInfoForm> g_cardInfo;

std::string ReplaceLineBreaks(std::string text) {
    for (std::size_t at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at + 2))
        text.replace(at, 2, "\r\n");
    return text;
}

} // namespace

void MoveAttachedMarkers(std::int16_t, int, int, int) {}

void PutCardInHandWindow(std::int16_t card, std::int16_t player) {
    if (!CardTable::Contains(card)) return;
    CardRecord& c = Cards[card];
    c.owner = player;
    c.controlIndex = -1;
    c.pilePosition = kPileInPlay;
    c.inHand = kTrue;
    c.inDiscardPile = kFalse;
    c.eliminated = kFalse;
    c.faceShown = kTrue;
    c.handLeft = kHandWindowPlace;
    c.handTop = kHandWindowPlace;
    UpdateHandSizeCaptions();
}

std::int16_t TakeCardToPlayer(std::int16_t card, std::int16_t player, std::int16_t k) {
    MainForm* table = TableWindow();
    if (!table || !CardTable::Contains(card) || player < 1 || player > kMaxPlayers) return -1;
    CardRecord& c = Cards[card];
    // A card that already lies on the table keeps its one control.
    std::int16_t control = c.controlIndex;
    controls::TranspImg* image = table->crd(control);
    if (!image || image->Surface().Tag() != std::to_string(card)) {
        control = NewCardControl();
        image = table->crd(control);
    }
    if (!image) return -1;
    c.owner = player;
    c.controlIndex = control;
    c.pilePosition = kPileInPlay;
    c.inHand = kTrue;
    c.eliminated = kFalse;
    c.inDiscardPile = kFalse;
    c.faceShown = ToFlag(player == Game.CurrentPlayer);
    image->Surface().SetTag(std::to_string(card));
    LoadCardPicture(control, card, player != Game.CurrentPlayer, false);
    const std::string section =
        c.deck >= 0 && c.deck < kMaxDecks ? Game.decks[c.deck].section : std::string();
    const auto f = GetFields(GetIni(section, "cardOffset", CurrentGameFile), 4, ",");
    int x = RoundToInt32(LeadingNumber(f[0]));
    int y = RoundToInt32(LeadingNumber(f[1]));
    int dx = RoundToInt32(LeadingNumber(f[2]));
    const int dy = RoundToInt32(LeadingNumber(f[3]));
    if (x == 0) x = 50;
    if (y == 0) y = 50;
    if (dx == 0) dx = 100;
    const PlayerAreaShape& area = PlayerAreas[player - 1];
    image->Surface().SetLeft(area.left + x - image->GetOriginLeft() + (k - 1) * dx);
    image->Surface().SetTop(area.top + y - image->GetOriginTop() + (k - 1) * dy);
    image->Surface().SetVisible(true);
    image->Surface().BringToFront();
    if (ControlFlags::Contains(control)) CardControlFree[control] = kFalse;
    BringToFrontZOrder(kZCard, card, 0);
    UpdateHandSizeCaptions();
    return control;
}

void ShowCardInfoWindow(std::int16_t card) {
    if (Game.card_info == kFalse || !CardTable::Contains(card)) return;
    if (!g_cardInfo) g_cardInfo = std::make_unique<CardInfoForm>();
    const std::string key = Cards[card].key;
    const std::string info = key.empty() ? std::string() : ReadCardInfoFile(key);
    if (info.empty()) {
        g_cardInfo->nameLabel.SetCaption("");
        g_cardInfo->infoLabel.SetCaption("No info is available on the card");
    } else {
        g_cardInfo->nameLabel.SetCaption(GetField(info, 1, "|"));
        g_cardInfo->infoLabel.SetCaption(ReplaceLineBreaks(GetField(info, 2, "|")));
    }
    g_cardInfo->form.Show();
}

void CloseCardInfoWindow() {
    g_cardInfo.reset();
}
