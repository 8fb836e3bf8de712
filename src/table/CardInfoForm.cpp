#include "table/CardInfoForm.h"

#include "common/Helpers.h"
#include "state/CaptionMgmt.h"
#include "state/TableState.h"
#include "table/MainForm.h"

#include <algorithm>

CardInfoForm::CardInfoForm() {
    form.SetCaption("Card Info");
    form.Resize(5400, 4200);
    nameLabel.Move(120, 120, 4900, 300);
    platform::Font bold = nameLabel.GetFont();
    bold.bold = true;
    nameLabel.SetFont(bold);
    InfoFrame.SetCaption("");
    InfoFrame.Move(120, 480, 4900, 3000);
    infoLabel.SetWordWrap(true);
    infoLabel.Move(120, 240, 4660, 2640);
}

void ShowCardInfoForm(std::int16_t card) {
    MainForm* table = TableWindow();
    if (!table || Game.card_info == kFalse || !CardTable::Contains(card)) return;
    if (!table->CardInfo) table->CardInfo = std::make_unique<CardInfoForm>();
    CardInfoForm& window = *table->CardInfo;
    window.form.Load();
    const std::string& key = Cards[card].key;
    const std::string info = key.empty() ? std::string() : ReadCardInfoFile(key);
    if (info.empty()) {
        window.nameLabel.SetCaption("");
        window.infoLabel.SetCaption("No info is available on the card");
    } else {
        window.nameLabel.SetCaption(GetField(info, 1, "|"));
        window.infoLabel.SetCaption(CardInfoDescription(info));
    }
    KeepAboveTable(window.form);
    window.form.Show();
}
