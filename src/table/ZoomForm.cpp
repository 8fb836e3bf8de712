#include "table/ZoomForm.h"

#include "common/GraphicsMgmt.h"
#include "platform/Files.h"
#include "state/TableState.h"
#include "table/MainForm.h"

namespace {

// What the window adds around the picture, in twips.
constexpr int kWidthMargin = 350;
constexpr int kHeightMargin = 550;

} // namespace

ZoomForm::ZoomForm() {
    form.SetCaption("Zoom on Card");
    form.SetKeyPreview(true);
    form.OnKeyDown = [this](int, int) { form.Unload(); };
}

void ZoomForm::ShowCard(std::int16_t card) {
    if (!Cards.Contains(card)) return;
    const CardRecord& record = Cards[card];
    form.Load();
    ZoomImg.reset();
    const std::string& mask =
        Game.decks.Contains(record.deck) ? Game.decks[record.deck].transparentColor : "";
    if (!mask.empty()) ZoomImg.MaskColor(static_cast<controls::Colour>(ParseColour(mask)));
    ZoomImg.Surface().Move(0, 0);
    ZoomImg.loadNewPicture(platform::ProgramFolder() + "\\" + Game.directory + "\\" + record.image, true);
    // Sized before it shows, so that it opens whole over the table at that size.
    form.Resize(ZoomImg.Surface().Width() + kWidthMargin, ZoomImg.Surface().Height() + kHeightMargin);
    KeepAboveTable(form);
    form.Show();
}
