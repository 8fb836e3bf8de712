#include "table/TableMarkers.h"

#include "common/GraphicsMgmt.h"
#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "controls/TranspImg.h"
#include "controls/zLabelA.h"
#include "platform/Controls.h"
#include "platform/Files.h"
#include "platform/Keys.h"
#include "platform/Seams.h"
#include "platform/Twips.h"
#include "services/DebugMgmt.h"
#include "services/DiceRoller.h"
#include "state/Helpers.h"
#include "state/MarkersMgmt.h"
#include "state/TableState.h"
#include "state/ZOrder.h"
#include "table/CarriedMarkers.h"
#include "table/MainForm.h"
#include "table/MarkerForm.h"
#include "table/Outbox.h"

#include <string>

namespace {

constexpr int kNewMarkerSize = 345; // twips
constexpr platform::Colour kDefaultMask = platform::MakeColour(255, 0, 255);
constexpr platform::Colour kGlobalMask = platform::MakeColour(128, 128, 128);
constexpr int kEscape = 27;

const std::string kNoMoreNumMarkers = "You cannot place more than 300 numerical markers in one game";
const std::string kNoMoreImageMarkers = "You cannot place more than 300 image markers in one game";
const std::string kCannotFlip = "You cannot flip this marker";

TableMarkers* Markers() {
    MainForm* table = TableWindow();
    return table ? table->Markers.get() : nullptr;
}

// The middle of the window at the present scroll position, in table twips.
void WindowMiddle(MainForm& table, int& top, int& left) {
    top = table.Window().ScaleHeight() / 2 - table.BasePict.Top();
    left = table.Window().ScaleWidth() / 2 - table.BasePict.Left();
}

// The record of image marker control `index`, when it holds a marker of a defined kind.
MarkerInstanceRecord* RecordOfControl(int index) {
    if (!MarkerInstanceTable::Contains(index + 1)) return nullptr;
    MarkerInstanceRecord& record = GraphMarkers[index + 1];
    if (record.inUse == kFalse || !MarkerKindTable::Contains(record.kind)) return nullptr;
    return &record;
}

// A picture of the game's image folder.
std::string GameImagePath(const std::string& name) {
    return platform::ProgramFolder() + "\\" + Game.directory + "\\" + name;
}

std::string NumberText(double value) {
    return FormatNumber(value);
}

// An angle kept within -360..360: a step that never sums to 360 would otherwise walk it out of its
// 16 bits. 360 itself is 0.
std::int16_t KeptAngle(int angle) {
    if (angle == 360 || angle < -360 || angle > 360) angle %= 360;
    return static_cast<std::int16_t>(angle);
}

// Shows a face of an image marker: loading a picture makes the control see-through again, which
// an OPAQUE kind is not.
void LoadMarkerFace(controls::TranspImg& marker, const std::string& path, std::int16_t kind) {
    marker.loadNewPicture(path);
    if (MarkerKindTable::Contains(kind) && MarkerKinds[kind].opaque != kFalse) marker.BackStyle(1);
}

} // namespace

// --- Numerical markers -------------------------------------------------------------------------

void ApplyNumMarkerFont(controls::zLabelA& marker) {
    const std::string fontSize = GetIni("NUMERICAL MARKERS", "fontsize", CurrentGameFile);
    const std::string fontName = GetIni("NUMERICAL MARKERS", "fontname", CurrentGameFile);
    if (fontSize.empty() && fontName.empty()) return;
    platform::Font font = marker.Font();
    // A size no label can show leaves the designed one.
    const double size = LeadingNumber(fontSize);
    if (size >= 1 && size <= 144) font.size = size;
    if (!fontName.empty()) font.name = fontName;
    marker.Font(font);
}

std::int16_t NewMarkerNumProc(const std::string& value, std::int16_t top, std::int16_t left,
                              const std::string& label) {
    MainForm* table = TableWindow();
    if (!table) return -1;
    const int i = NextNumMarker - 1;
    if (i < 0 || i >= kMaxMarkers) {
        ShowMsg(kNoMoreNumMarkers);
        return -1;
    }
    controls::zLabelA* marker = table->markerNum(i);
    if (i != 0) {
        if (!marker) marker = table->markerNum.Load(i);
        if (!marker) return -1;
        marker->AutoSize(false);
        marker->Surface().SetWidth(kNewMarkerSize);
        marker->Surface().SetHeight(kNewMarkerSize);
    }
    if (!marker) return -1;
    ApplyNumMarkerFont(*marker);
    std::string caption;
    if (!value.empty()) {
        marker->AutoSize(true);
        caption = value;
    } else {
        caption = std::to_string(Game.baseMarker);
    }
    if (!label.empty()) {
        marker->AutoSize(true);
        caption = label + ": " + caption;
    }
    marker->caption(caption);
    int placeTop = top, placeLeft = left;
    if (top == -1) WindowMiddle(*table, placeTop, placeLeft);
    marker->Surface().Move(placeLeft, placeTop);
    marker->Surface().SetVisible(true);
    marker->Surface().SetTag("-1");
    marker->Surface().BringToFront();
    NumMarkerInUse[i] = kTrue;
    BringToFrontZOrder(kZNumMarker, static_cast<std::int16_t>(i), 0);
    ++NextNumMarker;
    return static_cast<std::int16_t>(i);
}

void SendNumMarkerCreated(std::int16_t index, const std::string& value) {
    Outbox().SendMarkerNew(value);
    // The send let events run: the marker is looked up afresh.
    MainForm* table = TableWindow();
    const controls::zLabelA* marker = table ? table->markerNum(index) : nullptr;
    if (!marker) return;
    Outbox().SendMarkerMove(index, index, marker->Surface().Left(), marker->Surface().Top());
    // The other side lays the marker it moved on the card under it: so does this side, or a card
    // dragged later would carry the marker on one side only. The send let events run.
    if (MarkerFlags::Contains(index) && NumMarkerInUse[index] != kFalse) AttachNumericalMarker(index);
}

void DeleteMarkerProc(std::int16_t index) {
    MainForm* table = TableWindow();
    if (!table || !MarkerFlags::Contains(index)) return;
    if (controls::zLabelA* marker = table->markerNum(index)) {
        marker->Surface().SetVisible(false);
        marker->Surface().SetTag("");
        if (index != 0) table->markerNum.Unload(index);
    }
    NumMarkerInUse[index] = kFalse;
    RemoveFromZOrder(kZNumMarker, index);
}

std::string SteppedCaption(const std::string& caption, double step) {
    const std::size_t p = caption.find(": ");
    if (p == std::string::npos) return NumberText(LeadingNumber(caption) + step);
    return caption.substr(0, p + 2) + NumberText(LeadingNumber(caption.substr(p + 2)) + step);
}

// --- Image markers -----------------------------------------------------------------------------

std::int16_t AddGraphMarker(std::int16_t kind, std::int16_t player, std::int16_t top, std::int16_t left,
                            bool back) {
    MainForm* table = TableWindow();
    if (!table) return 0;
    if (player == -1) player = Game.CurrentPlayer;
    if (kind < 1 || kind > MarkerKindCount || !MarkerKindTable::Contains(kind)) return 0;
    const MarkerTypeRecord type = MarkerKinds[kind];
    // A kind without a front image names the image folder itself, which is no file: the message
    // says where the picture was looked for.
    const std::string front = MarkerKindImagePath(kind);
    if (!FileExists(front)) {
        ShowMsg("Marker file <" + front + "> not found");
        return 0;
    }
    if (GraphMarkerCount >= kMaxMarkers) {
        ShowMsg(kNoMoreImageMarkers);
        return 0;
    }
    // A kind with several faces placed flipped shows its first back face.
    std::string picture = front;
    bool flipped = false;
    if (back && !type.backFaces.empty()) {
        const std::string first = GameImagePath(GetField(type.backFaces, 1, "+"));
        if (FileExists(first)) {
            picture = first;
            flipped = true;
        }
    }
    const int n = GraphMarkerCount + 1;
    const int i = n - 1;
    controls::TranspImg* marker = table->mrk(i);
    if (!marker) marker = table->mrk.Load(i);
    if (!marker) return 0;
    GraphMarkerCount = static_cast<std::int16_t>(n);
    marker->reset();
    marker->Surface().SetToolTipText("");
    if (GetBoolDirective("GAME", "displayMarkerTooltips", false) && player == Game.CurrentPlayer)
        marker->Surface().SetToolTipText(type.label);
    platform::Colour mask = kDefaultMask;
    if (!Game.transparentColor.empty())
        mask = static_cast<platform::Colour>(ParseColour(Game.transparentColor));
    if (type.owner == "0") mask = kGlobalMask;
    marker->MaskColor(mask);
    LoadMarkerFace(*marker, picture, kind);
    if (top != -1) {
        marker->Surface().Move(left - marker->GetOriginLeft(), top - marker->GetOriginTop());
    } else {
        int middleTop = 0, middleLeft = 0;
        WindowMiddle(*table, middleTop, middleLeft);
        marker->Surface().Move(middleLeft, middleTop);
    }
    marker->Surface().SetVisible(true);
    marker->Surface().SetTag("-1");
    marker->Surface().BringToFront();
    MarkerInstanceRecord& record = GraphMarkers[n];
    record = MarkerInstanceRecord{};
    record.flipped = ToFlag(flipped);
    record.face = flipped ? 1 : 0;
    record.inUse = kTrue;
    record.kind = kind;
    record.owner = player;
    BringToFrontZOrder(kZImageMarker, static_cast<std::int16_t>(i), 0);
    if (type.number > 0) RotateGraphMarker(static_cast<std::int16_t>(n), true, "R");
    if (IsDebugMode())
        table->Window().SetCaption("new marker @ " + std::to_string(marker->Surface().Top()) + " " +
                                   std::to_string(marker->Surface().Left()));
    return static_cast<std::int16_t>(n);
}

std::optional<MarkerPlace> ImageMarkerPicturePlace(std::int16_t n) {
    MainForm* table = TableWindow();
    const controls::TranspImg* marker = table ? table->mrk(n - 1) : nullptr;
    if (!marker) return std::nullopt;
    return MarkerPlace{marker->Surface().Left() + marker->GetOriginLeft(),
                       marker->Surface().Top() + marker->GetOriginTop()};
}

void DeleteGraphicalMarkerProc(std::int16_t index) {
    MainForm* table = TableWindow();
    if (!table || !MarkerInstanceTable::Contains(index + 1)) return;
    if (controls::TranspImg* marker = table->mrk(index)) {
        marker->Surface().SetVisible(false);
        marker->Surface().SetTag("");
        if (index != 0) table->mrk.Unload(index);
    }
    RemoveFromZOrder(kZImageMarker, index);
    MarkerInstanceRecord& record = GraphMarkers[index + 1];
    if (record.dicePlaced != kFalse) {
        DiceMarkerCascade = 0;
        record.dicePlaced = kFalse;
    }
    record.inUse = kFalse;
}

void RotateGraphMarker(std::int16_t n, bool keep, const std::string& direction) {
    MainForm* table = TableWindow();
    if (!MarkerInstanceTable::Contains(n)) return;
    MarkerInstanceRecord& record = GraphMarkers[n];
    if (!keep && MarkerKindTable::Contains(record.kind)) {
        int step = MarkerKinds[record.kind].number;
        if (direction == "L") step = -step;
        record.rotation = KeptAngle(record.rotation + step);
    }
    if (table)
        if (controls::TranspImg* marker = table->mrk(n - 1)) marker->rotation(record.rotation);
}

bool HasSeveralBackFaces(std::int16_t n) {
    if (!MarkerInstanceTable::Contains(n)) return false;
    const std::int16_t kind = GraphMarkers[n].kind;
    return MarkerKindTable::Contains(kind) && CountFields(MarkerKinds[kind].backFaces, "+") >= 2;
}

void NextMarkerFace(std::int16_t n) {
    MainForm* table = TableWindow();
    if (!table || !MarkerInstanceTable::Contains(n)) return;
    MarkerInstanceRecord& record = GraphMarkers[n];
    if (!MarkerKindTable::Contains(record.kind)) return;
    const MarkerTypeRecord& type = MarkerKinds[record.kind];
    controls::TranspImg* marker = table->mrk(n - 1);
    if (!marker) return;
    if (HasMarkerFlag(record.kind, "FIXED_BACK") != kFalse) record.rotation = 0;
    if (!type.backFaces.empty()) {
        const int faces = CountFields(type.backFaces, "+");
        if (record.flipped != kFalse) {
            if (record.face >= faces) {
                record.flipped = kFalse;
                record.face = 0;
                LoadMarkerFace(*marker, MarkerKindImagePath(record.kind), record.kind);
            } else {
                ++record.face;
                LoadMarkerFace(*marker, GameImagePath(GetField(type.backFaces, record.face, "+")),
                               record.kind);
            }
        } else {
            record.flipped = kTrue;
            record.face = 1;
            LoadMarkerFace(*marker, GameImagePath(GetField(type.backFaces, 1, "+")), record.kind);
        }
    }
    if (record.rotation != 0) marker->rotation(record.rotation);
}

void FlipMrk_Procedure() {
    MainForm* table = TableWindow();
    TableMarkers* markers = Markers();
    if (!table || !markers) return;
    const int m = markers->MenuMarker;
    MarkerInstanceRecord* record = RecordOfControl(m);
    controls::TranspImg* marker = table->mrk(m);
    if (!record || !marker) return;
    const auto n = static_cast<std::int16_t>(m + 1);
    if (HasSeveralBackFaces(n)) {
        NextMarkerFace(n);
        return;
    }
    const MarkerTypeRecord& type = MarkerKinds[record->kind];
    if (!type.backFaces.empty()) {
        const bool toBack = record->flipped == kFalse;
        if (toBack) {
            LoadMarkerFace(*marker, GameImagePath(type.backFaces), record->kind);
            // A fixed back is always shown upright.
            if (HasMarkerFlag(record->kind, "FIXED_BACK") == kFalse && record->rotation != 0)
                marker->rotation(record->rotation);
            record->face = 1;
        } else {
            LoadMarkerFace(*marker, MarkerKindImagePath(record->kind), record->kind);
            record->face = 0;
            RotateGraphMarker(n, true, "R");
        }
        record->flipped = ToFlag(toBack);
    }
    if (GameMode == kModeDirect) table->BasePict.Refresh();
}

// --- Default markers and menus -----------------------------------------------------------------

void PlaceDefaultMarkers() {
    // Counted from 1 before the first default marker, so that it takes element 0.
    NextNumMarker = 1;
    ClearMarkerControls();
    const std::string section = "Setup Default";
    const int count = LeadingInt16(GetIni(section, "markers", CurrentGameFile));
    for (int i = 1; i <= count; ++i) {
        const std::string line = GetIni(section, "marker" + std::to_string(i), CurrentGameFile);
        const std::string kind = GetField(line, 1, ",");
        if (kind == "NUM") {
            NewMarkerNumProc(StripBlanks(GetField(line, 2, ",")), LeadingInt16(GetField(line, 4, ",")),
                             LeadingInt16(GetField(line, 5, ",")), GetField(line, 6, ","));
        } else if (kind == "IMG") {
            const std::int16_t position = LeadingInt16(GetField(line, 2, ","));
            const std::string owner = StripBlanks(GetField(line, 3, ","));
            const std::int16_t type = ParseListEntry(position, owner);
            // A line that names no defined kind places nothing.
            if (type == 0) continue;
            const std::int16_t m =
                AddGraphMarker(type, LeadingInt16(owner), LeadingInt16(GetField(line, 4, ",")),
                               LeadingInt16(GetField(line, 5, ",")), GetField(line, 6, ",") == "TRUE");
            if (m == 0) continue;
            const std::int16_t angle = LeadingInt16(GetField(line, 7, ","));
            if (angle != 0) {
                GraphMarkers[m].rotation = KeptAngle(angle);
                RotateGraphMarker(m, true, "R");
            }
        }
    }
    SetIncrementMenus();
}

void SetIncrementMenus() {
    TableMarkers* markers = Markers();
    if (!markers) return;
    const std::string step = std::to_string(GetMaxIncrement());
    markers->IncreaseMax.SetCaption("Increase by " + step);
    markers->DecreaseMax.SetCaption("Decrease by " + step);
}

void ClearMarkerControls() {
    MainForm* table = TableWindow();
    if (!table) return;
    for (int index : table->markerNum.Indexes())
        if (index != 0) table->markerNum.Unload(index);
    for (int index : table->mrk.Indexes())
        if (index != 0) table->mrk.Unload(index);
    if (controls::zLabelA* first = table->markerNum(0)) {
        first->Surface().SetVisible(false);
        first->Surface().SetTag("");
    }
    if (controls::TranspImg* first = table->mrk(0)) {
        first->Surface().SetVisible(false);
        first->Surface().SetTag("");
    }
    NumMarkerInUse.Fill(kFalse);
    GraphMarkerCount = 0;
    GraphMarkers.Fill(MarkerInstanceRecord{});
    if (TableMarkers* markers = table->Markers.get()) markers->MenuMarker = -1;
}

// --- The window's handlers ---------------------------------------------------------------------

TableMarkers::TableMarkers(MainForm& table)
    : Increase1(MakerNumMenu, "Increase by 1"), IncreaseMax(MakerNumMenu, "Increase by MAX"),
      Decrease1(MakerNumMenu, "Decrease by 1"), DecreaseMax(MakerNumMenu, "Decrease by MAX"),
      DeleteMarkerNum(MakerNumMenu, "Delete"), FlipMrk(MrkMenu, "Flip"), DeleteMrk(MrkMenu, "Delete"),
      MrkIncrementRotate(MrkMenu, "Incremental rotation"),
      MrkIncrementRotateLeft(MrkMenu, "Incremental rotation"), table_(table) {
    MakerNumMenu.SetCaption("MarkerNum");
    Increase1.OnClick = [this] { StepMarker(1); };
    IncreaseMax.OnClick = [this] { StepMarker(GetMaxIncrement()); };
    Decrease1.OnClick = [this] { StepMarker(-1); };
    DecreaseMax.OnClick = [this] { StepMarker(-GetMaxIncrement()); };
    DeleteMarkerNum.OnClick = [this] { DeleteMarkerNum_Click(); };
    FlipMrk.OnClick = [this] { FlipMrk_Click(); };
    DeleteMrk.OnClick = [this] { DeleteMrk_Click(); };
    MrkIncrementRotate.OnClick = [this] { RotateMarker(false); };
    MrkIncrementRotateLeft.OnClick = [this] { RotateMarker(true); };

    table_.markerNum.OnLoaded = [this](int index, controls::zLabelA& label) { WireNumMarker(index, label); };
    table_.mrk.OnLoaded = [this](int index, controls::TranspImg& marker) { WireImageMarker(index, marker); };
    if (controls::zLabelA* first = table_.markerNum(0)) WireNumMarker(0, *first);
    if (controls::TranspImg* first = table_.mrk(0)) WireImageMarker(0, *first);
}

TableMarkers::~TableMarkers() = default;

MarkerForm& TableMarkers::Picker() {
    if (!picker_) picker_ = std::make_unique<MarkerForm>();
    return *picker_;
}

void TableMarkers::WireNumMarker(int index, controls::zLabelA& label) {
    label.MouseDown = [this, index](std::int16_t button, std::int16_t, platform::TwipPoint at) {
        markerNum_MouseDown(index, button, at.x, at.y);
    };
    label.MouseMove = [this, index](std::int16_t, std::int16_t, platform::TwipPoint at) {
        markerNum_MouseMove(index, at.x, at.y);
    };
    label.MouseUp = [this, index](std::int16_t, std::int16_t, platform::TwipPoint) {
        markerNum_MouseUp(index);
    };
    label.DblClick = [this, index] { markerNum_DblClick(index); };
}

void TableMarkers::WireImageMarker(int index, controls::TranspImg& marker) {
    marker.MouseDown = [this, index](std::int16_t button, std::int16_t, platform::PixelPoint at) {
        mrk_MouseDown(index, button, at.x, at.y);
    };
    marker.MouseMove = [this, index](std::int16_t, std::int16_t, platform::PixelPoint at) {
        mrk_MouseMove(index, at.x, at.y);
    };
    marker.MouseUp = [this, index](std::int16_t, std::int16_t, platform::PixelPoint) { mrk_MouseUp(index); };
}

void TableMarkers::addNumMarker_Click() {
    if (table_.Others.hideMarkerList) table_.Others.hideMarkerList();
    const std::int16_t i = NewMarkerNumProc("", -1, -1, "");
    if (i >= 0) SendNumMarkerCreated(i, "");
}

void TableMarkers::addGraphMakerBtn_Click() {
    FillMarkerList(Game.CurrentPlayer);
    if (table_.Others.hideMarkerList) table_.Others.hideMarkerList();
}

void TableMarkers::markerNum_MouseDown(int index, int button, float x, float y) {
    if (button == platform::keys::kLeftButton) {
        DraggedMarker = static_cast<std::int16_t>(index);
        dragKind_ = kZNumMarker;
        grabX_ = x;
        grabY_ = y;
        if (controls::zLabelA* marker = table_.markerNum(index)) marker->Surface().BringToFront();
        return;
    }
    MenuMarker = static_cast<std::int16_t>(index);
    table_.Window().PopupMenu(MakerNumMenu);
}

void TableMarkers::markerNum_MouseMove(int, float x, float y) {
    if (DraggedMarker == -1 || dragKind_ != kZNumMarker) return;
    controls::zLabelA* marker = table_.markerNum(DraggedMarker);
    if (!marker) return;
    platform::ControlSurface& s = marker->Surface();
    // The marker stops at the table's edges.
    const Shift allowed = table_.ShiftOnTable({s.Left(), s.Top(), s.Width(), s.Height()},
                                              static_cast<int>(x - grabX_), static_cast<int>(y - grabY_));
    s.Move(s.Left() + allowed.dx, s.Top() + allowed.dy);
}

void TableMarkers::markerNum_MouseUp(int index) {
    if (DraggedMarker != -1 && dragKind_ == kZNumMarker) {
        const std::int16_t dragged = DraggedMarker;
        DraggedMarker = -1;
        dragKind_ = 0;
        const controls::zLabelA* released = table_.markerNum(index);
        const int left = released ? released->Surface().Left() : 0;
        const int top = released ? released->Surface().Top() : 0;
        Outbox().SendMarkerMove(dragged, static_cast<std::int16_t>(index), left, top);
        // The send let events run: a marker deleted meanwhile takes no place in the stacking order.
        if (!MarkerFlags::Contains(dragged) || NumMarkerInUse[dragged] == kFalse) return;
        BringToFrontZOrder(kZNumMarker, static_cast<std::int16_t>(index), 0);
        AttachNumericalMarker(dragged);
    }
    DraggedMarker = -1;
}

void TableMarkers::StepMarker(double step) {
    controls::zLabelA* marker = table_.markerNum(MenuMarker);
    if (!marker) return;
    const std::string caption = SteppedCaption(marker->caption(), step);
    marker->caption(caption);
    Outbox().SendMarkerUpdate(MenuMarker, caption);
}

void TableMarkers::DeleteMarkerNum_Click() {
    const std::int16_t index = MenuMarker;
    if (!table_.markerNum(index)) return;
    DeleteMarkerProc(index);
    MenuMarker = -1;
    Outbox().SendMarkerDelete(index);
}

void TableMarkers::markerNum_DblClick(int index) {
    controls::zLabelA* marker = table_.markerNum(index);
    if (!marker) return;
    MenuMarker = static_cast<std::int16_t>(index);
    marker->AutoSize(true);
    propForm_ = std::make_unique<PropertyDialog>();
    PropertyDialog& dialog = *propForm_;
    platform::Form& form = dialog.form;
    form.SetCaption("Marker");
    form.Resize(3600, 1500);
    form.SetKeyPreview(true);
    dialog.labelCaption = std::make_unique<platform::Label>(form.Handle());
    dialog.labelCaption->SetCaption("Label");
    dialog.labelCaption->Move(120, 120, 1000, 285);
    dialog.valueCaption = std::make_unique<platform::Label>(form.Handle());
    dialog.valueCaption->SetCaption("Value");
    dialog.valueCaption->Move(120, 540, 1000, 285);
    dialog.labelTxt = std::make_unique<platform::TextBox>(form.Handle());
    dialog.labelTxt->Move(1200, 120, 2100, 285);
    dialog.ValueTxt = std::make_unique<platform::TextBox>(form.Handle());
    dialog.ValueTxt->Move(1200, 540, 2100, 285);

    const std::string caption = marker->caption();
    const std::size_t p = caption.find(": ");
    if (p != std::string::npos) {
        dialog.labelTxt->SetText(caption.substr(0, p));
        dialog.labelTxt->SetTag(caption.substr(0, p));
        dialog.ValueTxt->SetText(StripBlanks(caption.substr(p + 1)));
    } else {
        dialog.labelTxt->SetText("");
        dialog.ValueTxt->SetText(StripBlanks(caption));
    }
    const auto rewrite = [this, &dialog] {
        controls::zLabelA* shown = table_.markerNum(MenuMarker);
        if (!shown) return;
        const std::string label = dialog.labelTxt->Text();
        shown->caption(label.empty() ? dialog.ValueTxt->Text() : label + ": " + dialog.ValueTxt->Text());
    };
    dialog.labelTxt->OnChange = rewrite;
    dialog.ValueTxt->OnChange = rewrite;
    form.OnKeyDown = [&form](int keyCode, int) {
        if (keyCode == kEscape) form.Unload();
    };
    form.OnUnload = [this](bool&) {
        if (const controls::zLabelA* shown = table_.markerNum(MenuMarker))
            Outbox().SendMarkerUpdate(MenuMarker, shown->caption());
    };
    form.ShowModal();
}

void TableMarkers::mrk_MouseDown(int index, int button, float x, float y) {
    MarkerInstanceRecord* record = RecordOfControl(index);
    if (!record) return;
    if (record->dicePlaced != kFalse) DiceMarkerCascade = 0;
    const MarkerTypeRecord& type = MarkerKinds[record->kind];
    if (button != platform::keys::kLeftButton) {
        MenuMarker = static_cast<std::int16_t>(index);
        FlipMrk.SetVisible(!type.backFaces.empty());
        const bool fixedBackShown =
            HasMarkerFlag(record->kind, "FIXED_BACK") != kFalse && record->flipped != kFalse;
        if (type.number < 1 || fixedBackShown) {
            MrkIncrementRotate.SetVisible(false);
            MrkIncrementRotateLeft.SetVisible(false);
        } else {
            MrkIncrementRotate.SetCaption("Rotate to right (" + std::to_string(type.number) + ")");
            MrkIncrementRotateLeft.SetCaption("Rotate to left (" + std::to_string(type.number) + ")");
            MrkIncrementRotate.SetVisible(true);
            MrkIncrementRotateLeft.SetVisible(true);
        }
        table_.Window().PopupMenu(MrkMenu);
        return;
    }
    if (DesignMode == kFalse && type.locked != kFalse) {
        pressedLocked_ = index;
        return;
    }
    DraggedMarker = static_cast<std::int16_t>(index);
    dragKind_ = kZImageMarker;
    moved_ = false;
    grabX_ = x;
    grabY_ = y;
    if (controls::TranspImg* marker = table_.mrk(index)) marker->Surface().BringToFront();
}

void TableMarkers::mrk_MouseMove(int, float x, float y) {
    if (DraggedMarker == -1 || dragKind_ != kZImageMarker) return;
    const float dx = x - grabX_;
    const float dy = y - grabY_;
    if (dx == 0 && dy == 0) return;
    controls::TranspImg* marker = table_.mrk(DraggedMarker);
    if (!marker) return;
    platform::ControlSurface& s = marker->Surface();
    // The marker's picture stops at the table's edges.
    const Shift allowed = table_.ShiftOnTable(MainForm::PictureRectOf(*marker),
                                              static_cast<int>(dx * platform::kTwipsPerPixelX),
                                              static_cast<int>(dy * platform::kTwipsPerPixelY));
    // Held against an edge it is still dragged, not clicked.
    moved_ = true;
    if (allowed.dx == 0 && allowed.dy == 0) return;
    s.Move(s.Left() + allowed.dx, s.Top() + allowed.dy);
    table_.BasePict.Refresh();
}

void TableMarkers::mrk_MouseUp(int index) {
    const int pressedLocked = pressedLocked_;
    pressedLocked_ = -1;
    if (DraggedMarker == -1 || dragKind_ != kZImageMarker) {
        // Nothing was dragged and so nothing is sent of a move; the click still flips.
        if (pressedLocked == index) AutoFlipClicked(index);
        return;
    }
    const std::int16_t dragged = DraggedMarker;
    const bool moved = moved_;
    DraggedMarker = -1;
    dragKind_ = 0;
    moved_ = false;
    const controls::TranspImg* released = table_.mrk(index);
    if (!released) return;
    const int left = released->Surface().Left();
    const int top = released->Surface().Top();
    Outbox().SendGraphMarkerMove(dragged, static_cast<std::int16_t>(index), left, top);
    // The send let other events run: the marker may have gone meanwhile.
    if (!RecordOfControl(index)) return;
    if (IsDebugMode())
        table_.Window().SetCaption("marker " + std::to_string(dragged) + " moved @ " + std::to_string(top) +
                                   " " + std::to_string(left));
    BringToFrontZOrder(kZImageMarker, static_cast<std::int16_t>(index), 0);
    AttachImageMarker(static_cast<std::int16_t>(index + 1));
    if (!moved) AutoFlipClicked(index);
}

void TableMarkers::AutoFlipClicked(int index) {
    const MarkerInstanceRecord* record = RecordOfControl(index);
    if (!record || MarkerKinds[record->kind].autoFlip == kFalse) return;
    if (MarkerKinds[record->kind].restrictedFlip != kFalse && record->owner != Game.CurrentPlayer) {
        ShowMsg(kCannotFlip);
        return;
    }
    MenuMarker = static_cast<std::int16_t>(index);
    FlipMrk_Procedure();
    Outbox().SendGraphMarkerFlip(static_cast<std::int16_t>(index));
}

void TableMarkers::FlipMrk_Click() {
    const std::int16_t index = MenuMarker;
    const controls::TranspImg* marker = table_.mrk(index);
    const MarkerInstanceRecord* record = RecordOfControl(index);
    if (!marker || !record || marker->Surface().Tag().empty()) return;
    if (MarkerKinds[record->kind].restrictedFlip != kFalse && record->owner != Game.CurrentPlayer) {
        ShowMsg(kCannotFlip);
        return;
    }
    FlipMrk_Procedure();
    Outbox().SendGraphMarkerFlip(index);
}

void TableMarkers::RotateMarker(bool toLeft) {
    const std::int16_t index = MenuMarker;
    if (!RecordOfControl(index)) return;
    Outbox().SendMarkerRotate(index, toLeft);
    // The send let events run: the marker may have gone meanwhile.
    if (!RecordOfControl(index)) return;
    RotateGraphMarker(static_cast<std::int16_t>(index + 1), false, toLeft ? "L" : "R");
}

void TableMarkers::DeleteMrk_Click() {
    const std::int16_t index = MenuMarker;
    if (!RecordOfControl(index)) return;
    Outbox().SendGraphMarkerDelete(index);
    if (!RecordOfControl(index)) return;
    DeleteGraphicalMarkerProc(index);
    MenuMarker = -1;
}
