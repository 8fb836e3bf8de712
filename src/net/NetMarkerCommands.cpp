// The received commands of the markers, numerical and image markers alike, by their controls:
// made, moved, changed, flipped, turned and deleted as the other side did.
#include "common/Helpers.h"
#include "common/Numbers.h"
#include "controls/TranspImg.h"
#include "controls/zLabelA.h"
#include "net/NetCommands.h"
#include "net/NetCommandsInternal.h"
#include "services/DebugMgmt.h"
#include "state/MarkersMgmt.h"
#include "state/TableState.h"
#include "state/ZOrder.h"
#include "table/CarriedMarkers.h"
#include "table/MainForm.h"
#include "table/TableMarkers.h"
#include "table/TableSetup.h"

#include <cstdint>
#include <string>

namespace net_commands {

// The markers, by their controls.
void RecvMarkerDelete(const NetCommand& c) {
    DeleteMarkerProc(Whole(c.fields[0]));
}
void RecvGraphMarkerDelete(const NetCommand& c) {
    DeleteGraphicalMarkerProc(Whole(c.fields[0]));
}
void RecvGraphMarkerFlip(const NetCommand& c) {
    TableWindow()->Markers->MenuMarker = Whole(c.fields[0]);
    FlipMrk_Procedure();
}
void RecvMarkerRotate(const NetCommand& c) {
    TableWindow()->Markers->MenuMarker = Whole(c.fields[0]);
    RotateGraphMarker(static_cast<std::int16_t>(Whole(c.fields[0]) + 1), false, c.fields[1]);
}

void RecvMarkerNew(const NetCommand& c) {
    NewMarkerNumProc(c.fields[0], -1, -1, "");
}

void RecvMarkerMove(const NetCommand& c) {
    const std::int16_t marker = Whole(c.fields[0]);
    if (controls::zLabelA* label = TableWindow()->markerNum(marker)) {
        label->Surface().Move(Twips(c.fields[2]), Twips(c.fields[3]));
        label->Surface().BringToFront();
    }
    BringToFrontZOrder(kZNumMarker, Whole(c.fields[1]), 0);
    AttachNumericalMarker(marker);
}

void RecvMarkerUpdate(const NetCommand& c) {
    controls::zLabelA* label = TableWindow()->markerNum(Whole(c.fields[0]));
    if (!label) return;
    if (!WireNumber(c.fields[1])) label->AutoSize(true);
    label->caption(c.fields[1]);
    label->Surface().BringToFront();
}

namespace {

// The marker kind a roll of the other side announced, whose marker follows as a command of its
// own: 0 when none is awaited.
std::int16_t g_rolledMarkerKind = 0;

} // namespace

void ExpectRolledMarker(std::int16_t kind) {
    g_rolledMarkerKind = kind > 0 ? kind : std::int16_t{0};
}

void RecvGraphMarkerNew(const NetCommand& c) {
    if (GameMode != kModeDirect) return;
    const std::int16_t kind = Whole(c.fields[0]);
    // The marker the roll just announced is a roll's here too, as on the side that rolled.
    const bool rolled = kind == g_rolledMarkerKind;
    g_rolledMarkerKind = 0;
    const std::int16_t n = AddGraphMarker(kind, Whole(c.fields[1]), ClampToInt16(Twips(c.fields[3])),
                                          ClampToInt16(Twips(c.fields[2])), false);
    if (n > 0 && rolled) GraphMarkers[n].dicePlaced = kTrue;
}

void RecvGraphMarkerMove(const NetCommand& c) {
    MainForm* table = TableWindow();
    const std::int16_t marker = Whole(c.fields[0]);
    const int left = Twips(c.fields[2]);
    const int top = Twips(c.fields[3]);
    if (controls::TranspImg* image = table->mrk(marker)) {
        image->Surface().Move(left, top);
        image->Surface().BringToFront();
    }
    if (IsDebugMode())
        table->Window().SetCaption("$-> marker " + std::to_string(marker) + " moved @ " +
                                   std::to_string(top) + " " + std::to_string(left));
    const std::int16_t z = Whole(c.fields[1]);
    BringToFrontZOrder(kZImageMarker, z, 0);
    AttachImageMarker(static_cast<std::int16_t>(z + 1));
}

} // namespace net_commands
