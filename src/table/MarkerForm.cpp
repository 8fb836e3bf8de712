#include "table/MarkerForm.h"

#include "common/GraphicsMgmt.h"
#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Files.h"
#include "platform/Twips.h"
#include "state/MarkersMgmt.h"
#include "state/TableState.h"
#include "table/MainForm.h"
#include "table/Outbox.h"
#include "table/TableMarkers.h"

namespace {

constexpr int kEscape = 27;
constexpr platform::Colour kGlobalKey = platform::MakeColour(128, 128, 128);

std::string g_markerListOwner;

} // namespace

std::string& MarkerListOwner() {
    return g_markerListOwner;
}

MarkerForm* MarkerPicker() {
    MainForm* table = TableWindow();
    return table && table->Markers ? &table->Markers->Picker() : nullptr;
}

MarkerForm::MarkerForm() {
    form_.SetCaption("Markers");
    form_.Resize(2700, 6000);
    form_.SetKeyPreview(true);
    form_.OnKeyDown = [this](int keyCode, int) {
        if (keyCode == kEscape) form_.Unload();
    };
    form_.OnResize = [this] { Form_Resize(); };
    Reload();
}

MarkerForm::~MarkerForm() = default;

void MarkerForm::Reload() {
    form_.Unload();
    markerBar_ = std::make_unique<controls::zBar>(form_.Handle());
    markerBar_->ImageSelected = [this](std::int16_t& id) { markerBar_ImageSelected(id); };
    form_.Load();
    Form_Resize();
}

void MarkerForm::Form_Resize() {
    if (!markerBar_) return;
    const int width = platform::PixelsFromTwipsX(form_.ScaleWidth());
    const int height = platform::PixelsFromTwipsY(form_.ScaleHeight());
    platform::ControlSurface& bar = markerBar_->Surface();
    bar.Move(platform::TwipsFromPixelsX(3), platform::TwipsFromPixelsY(3));
    bar.SetSizePixels(std::max(0, width - 5), std::max(0, height - 5));
}

void MarkerForm::markerBar_ImageSelected(std::int16_t id) {
    const std::int16_t player = Game.CurrentPlayer;
    const std::int16_t n = AddGraphMarker(id, player, -1, -1, false);
    // Only a marker that was made is announced, or the two sides would number them apart.
    if (n == 0) return;
    // The window's middle may lie under this picker or another window of the game, or off the
    // screen: the new marker goes to the nearest place where the player sees it.
    MainForm* table = TableWindow();
    if (controls::TranspImg* marker = table ? table->mrk(n - 1) : nullptr) {
        const platform::TwipRect was = MainForm::PictureRectOf(*marker);
        if (const std::optional<platform::TwipRect> seen = table->PlaceInView(was)) {
            platform::ControlSurface& surface = marker->Surface();
            surface.Move(surface.Left() + seen->left - was.left, surface.Top() + seen->top - was.top);
        }
    }
    if (const std::optional<MarkerPlace> place = ImageMarkerPicturePlace(n))
        Outbox().SendGraphMarkerNew(id, player, place->left, place->top);
}

void FillMarkerList(std::int16_t player) {
    MarkerForm* picker = MarkerPicker();
    if (!picker) return;
    platform::Form& form = picker->Window();
    if (form.Visible() && DesignMode == kFalse) {
        form.Activate();
        return;
    }
    const std::string owner = StripBlanks(std::to_string(player));
    MarkerListOwner() = owner;
    picker->Reload();
    controls::zBar& bar = picker->markerBar();

    const std::string listing = GetIni("GAME", "markerList", CurrentGameFile);
    if (listing.find("TEXT_ONLY") != std::string::npos) bar.ShowOnlyText(true);
    if (listing.find("PICTURE_ONLY") != std::string::npos) bar.ShowOnlyImages(true);

    const std::string folder = platform::ProgramFolder();
    const std::string imageFolder = folder + "\\" + Game.directory + "\\";
    const auto addItem = [&bar](int kind, const std::string& path, bool transparent, platform::Colour key,
                                const char* what) {
        if (!FileExists(path)) {
            ShowMsg(std::string(what) + path + " not found");
            return;
        }
        bar.AddImage(static_cast<std::int16_t>(kind), path, MarkerKinds[kind].label, transparent, key);
    };
    const int kinds = std::min<int>(MarkerKindCount, kMaxMarkerKinds);

    bar.AddGroup("Player");
    const bool gameKey = !Game.transparentColor.empty();
    const auto gameColour = static_cast<platform::Colour>(gameKey ? ParseColour(Game.transparentColor) : 0);
    for (int k = 1; k <= kinds; ++k)
        if (MarkerKinds[k].owner == owner)
            addItem(k, imageFolder + MarkerKinds[k].frontImage, gameKey, gameColour, "Marker image ");

    bool shown[kMaxMarkerGroups + 1] = {};
    for (int k = 1; k <= kinds; ++k) {
        const MarkerTypeRecord& kind = MarkerKinds[k];
        if (kind.owner == owner || kind.owner == "0" || IsMemberOfGroup(owner, kind.owner) == kFalse)
            continue;
        const std::int16_t g = GroupIndexByName(kind.owner);
        // Only the definition's groups 1 to 20 are listed.
        if (g < 1 || g > kMaxMarkerGroups) continue;
        if (!shown[g]) {
            shown[g] = true;
            bar.AddGroup(MarkerGroups[g].caption);
        }
        const std::int32_t colour = MarkerGroups[g].transparentColour;
        addItem(k, imageFolder + kind.frontImage, colour != -1, static_cast<platform::Colour>(colour),
                "Marker image ");
    }

    if (LeadingNumber(GetIni("GLOBAL MARKERS", "markers", folder + "\\globals.dat")) > 0) {
        bar.AddGroup("Dices");
        for (int k = 1; k <= kinds; ++k)
            if (MarkerKinds[k].owner == "0")
                addItem(k, folder + MarkerKinds[k].frontImage, true, kGlobalKey, "Global marker image ");
    }
    bar.SelectGroup(1);
    KeepAboveTable(form);
    form.Show();
}
