#include "table/MainForm.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "controls/MInfoTip.h"
#include "platform/Keys.h"
#include "platform/Twips.h"
#include "services/DebugMgmt.h"
#include "services/DiceRoller.h"
#include "services/LogMgmt.h"
#include "state/CaptionMgmt.h"
#include "state/MarkersMgmt.h"
#include "state/PlayerMgmt.h"
#include "state/TableState.h"
#include "table/CardActions.h"
#include "table/CardInfoForm.h"
#include "table/CardTags.h"
#include "table/CopyrightForm.h"
#include "table/DesignToolBarForm.h"
#include "table/DiceRollerForm.h"
#include "table/HandForm.h"
#include "table/InfoPanel.h"
#include "table/LogForm.h"
#include "table/MarkerForm.h"
#include "table/NotesForm.h"
#include "table/Outbox.h"
#include "table/ReportForm.h"
#include "table/TableKeys.h"
#include "table/TableMarkers.h"
#include "table/ToolBarForm.h"

#include <algorithm>
#include <cstdlib>

namespace {

MainForm* g_tableWindow = nullptr;

constexpr int kSeatLabels = kMaxPlayers;
// A scroll bar's range is 16-bit.
constexpr int kScrollMax = 32767;
constexpr int kGripPixels = 15;

platform::ControlArray<controls::TranspImg>::Factory ImagesIn(platform::NativeWidget* parent) {
    return [parent](const controls::TranspImg&, const controls::TranspImg&) {
        auto image = std::make_unique<controls::TranspImg>(parent);
        image->Surface().SetVisible(false);
        return image;
    };
}

platform::ControlArray<controls::zLabelA>::Factory LabelsIn(platform::NativeWidget* parent) {
    return [parent](const controls::zLabelA&, const controls::zLabelA&) {
        auto label = std::make_unique<controls::zLabelA>(parent);
        label->Surface().SetVisible(false);
        return label;
    };
}

} // namespace

MainForm* TableWindow() {
    return g_tableWindow;
}

void KeepAboveTable(platform::Form& window) {
    if (g_tableWindow && &g_tableWindow->Window() != &window) window.SetOwner(&g_tableWindow->Window());
}

MainForm::MainForm()
    : BasePict(form_.Handle()), hsb(form_.Handle(), false), vsb(form_.Handle(), true),
      EmptyFrame(form_.Handle()), corner(form_.Handle()), QuickMsg(BasePict.Handle()),
      InfoPanel(form_.Handle()), ZoomImg(InfoPanel.Handle()), CardInfoLabel(InfoPanel.Handle()),
      HandLabel(platform::LikeFirst<platform::Label>()), HandIcon(platform::LikeFirst<platform::Image>()),
      PlayerArea(platform::LikeFirst<platform::Shape>()), SideName(platform::LikeFirst<platform::Label>()),
      DeckImg(ImagesIn(BasePict.Handle())), DiscardImg(ImagesIn(BasePict.Handle())),
      crd(ImagesIn(BasePict.Handle())), markerNum(LabelsIn(BasePict.Handle())),
      mrk(ImagesIn(BasePict.Handle())), addNumMarker(InfoPanel.Handle()),
      addGraphMakerBtn(InfoPanel.Handle()), diceRollerBtn(InfoPanel.Handle()),
      showNotesBtn(InfoPanel.Handle()), saveGameBtn(InfoPanel.Handle()), reportBtn(InfoPanel.Handle()),
      EndGameBtn(InfoPanel.Handle()), showHandAreaBtn(InfoPanel.Handle()) {
    form_.SetCaption("Karvel");
    form_.Resize(12000, 9000);
    // The names the window probe of the end-to-end tests reports.
    BasePict.SetName("BasePict");
    QuickMsg.SetName("QuickMsg");
    PlayerArea.SetName("PlayerArea");
    SideName.SetName("SideName");
    DeckImg.SetName("DeckImg");
    DiscardImg.SetName("DiscardImg");
    crd.SetName("crd");
    markerNum.SetName("markerNum");
    mrk.SetName("mrk");
    addNumMarker.Surface().SetName("addNumMarker");
    addGraphMakerBtn.Surface().SetName("addGraphMakerBtn");
    diceRollerBtn.Surface().SetName("diceRollerBtn");
    showNotesBtn.Surface().SetName("showNotesBtn");
    saveGameBtn.Surface().SetName("saveGameBtn");
    reportBtn.Surface().SetName("reportBtn");
    EndGameBtn.Surface().SetName("EndGameBtn");
    showHandAreaBtn.Surface().SetName("showHandAreaBtn");
    BasePict.SetBorderStyle(0);
    BasePict.Move(0, 0, 21000, 13000);
    hsb.SetHeight(255);
    vsb.SetWidth(255);
    hsb.SetMin(0);
    vsb.SetMin(0);
    EmptyFrame.SetCaption("");
    EmptyFrame.Move(0, 0, 255, 255);
    corner.SetBorderStyle(0);
    corner.Move(0, 0, kGripPixels * platform::kTwipsPerPixelX, kGripPixels * platform::kTwipsPerPixelY);
    {
        // The grip: three diagonal rows of dots, as a window's lower right corner shows them.
        platform::Picture grip(kGripPixels, kGripPixels, platform::MakeColour(212, 208, 200));
        for (int row = 0; row < 3; ++row)
            for (int k = 0; k <= row; ++k) {
                const int x = kGripPixels - 4 - (row - k) * 4;
                const int y = kGripPixels - 4 - k * 4;
                grip.FillRect(x, y, 2, 2, platform::MakeColour(128, 128, 128));
            }
        corner.SetPicture(grip);
    }
    QuickMsg.SetVisible(false);
    QuickMsg.SetAutoSize(true);
    // A roll's result stands on a white card of its own, readable over any table.
    QuickMsg.SetBackColor(platform::MakeColour(255, 255, 255));
    InfoPanel.SetVisible(false);
    InfoPanel.SetBorderStyle(0);
    ZoomImg.Surface().SetVisible(false);
    CardInfoLabel.SetVisible(false);
    CardInfoLabel.SetWordWrap(true);
    CardInfoLabel.SetBackStyle(0);
    CardInfoLabel.Move(100, 4500, 3000, 3000);
    {
        auto hand = std::make_unique<platform::Label>(InfoPanel.Handle());
        hand->SetVisible(false);
        hand->SetAutoSize(true);
        hand->SetBackStyle(0);
        HandLabel.Place(0, std::move(hand));
        auto icon = std::make_unique<platform::Image>(InfoPanel.Handle());
        icon->SetVisible(false);
        HandIcon.Place(0, std::move(icon));
    }

    // The designed elements: the first seat label and area, three decks with their piles, the
    // first card.
    auto area = std::make_unique<platform::Shape>(BasePict.Handle());
    area->SetVisible(false);
    area->SetBorderWidth(2);
    PlayerArea.Place(0, std::move(area));
    auto label = std::make_unique<platform::Label>(BasePict.Handle());
    label->SetVisible(false);
    label->SetAutoSize(true);
    label->SetBackStyle(0);
    SideName.Place(0, std::move(label));
    for (int i = 0; i < 3; ++i) {
        DeckImg.Place(i, std::make_unique<controls::TranspImg>(BasePict.Handle()));
        DiscardImg.Place(i, std::make_unique<controls::TranspImg>(BasePict.Handle()));
    }
    crd.Place(0, std::make_unique<controls::TranspImg>(BasePict.Handle()));
    markerNum.Place(0, std::make_unique<controls::zLabelA>(BasePict.Handle()));
    mrk.Place(0, std::make_unique<controls::TranspImg>(BasePict.Handle()));
    crd.OnLoaded = [this](int index, controls::TranspImg& card) { WireCard(index, card); };
    WireCard(0, *crd(0));

    // The window's load.
    SelectionColour = static_cast<std::int32_t>(platform::MakeColour(255, 0, 0));
    const platform::Colour defaultMask = platform::MakeColour(255, 0, 255);
    crd(0)->MaskColor(defaultMask);
    crd(0)->Enabled(true);
    crd(0)->Surface().SetVisible(false);
    markerNum(0)->Enabled(true);
    markerNum(0)->Surface().SetVisible(false);
    mrk(0)->MaskColor(defaultMask);
    mrk(0)->Enabled(true);
    mrk(0)->Surface().SetVisible(false);
    for (int i = 0; i <= 2; ++i) {
        for (auto* image : {DiscardImg(i), DeckImg(i)}) {
            image->MaskColor(defaultMask);
            image->Enabled(true);
            image->Surface().SetVisible(false);
        }
    }
    for (int i = 1; i < kSeatLabels; ++i) {
        SideName.Load(i);
        PlayerArea.Load(i);
    }
    ToolTipTimer.SetInterval(controls::CardTooltipDelay());
    ToolTipTimer.SetEnabled(true);
    ToolTipTimer.OnTimer = [this] { ToolTipTimer_Timer(); };

    hsb.OnChange = hsb.OnScroll = [this] { ScrollTo(); };
    vsb.OnChange = vsb.OnScroll = [this] { ScrollTo(); };
    form_.OnResize = [this] { Form_Resize(); };
    corner.OnMouseDown = [this](const platform::MouseEvent& e) { corner_MouseDown(e); };
    corner.OnMouseMove = [this](const platform::MouseEvent& e) { corner_MouseMove(e); };
    corner.OnMouseUp = [this](const platform::MouseEvent&) { gripDrag_ = false; };
    // The buttons stay hidden until the information panel lays them out.
    const std::pair<controls::cpvButton*, const char*> buttons[] = {
        {&addNumMarker, "Marker"}, {&addGraphMakerBtn, "Image marker"},
        {&diceRollerBtn, "Dice"},  {&showNotesBtn, "Notes"},
        {&saveGameBtn, "Save"},    {&reportBtn, "Reports"},
        {&EndGameBtn, "End game"}, {&showHandAreaBtn, "Show Hand area"},
    };
    for (const auto& [button, caption] : buttons) {
        button->Surface().Move(0, 0, 1200, 375);
        button->caption(caption);
        button->Surface().SetVisible(false);
    }
    diceRollerBtn.Click = [this] { diceRollerBtn_Click(); };
    reportBtn.Click = [this] { reportBtn_Click(); };
    saveGameBtn.Click = [this] { saveGameBtn_Click(); };
    showHandAreaBtn.Click = [this] { showHandAreaBtn_Click(); };
    showNotesBtn.Click = [this] { showNotesBtn_Click(); };
    QuickMsg.OnMouseUp = [this](const platform::MouseEvent& e) { QuickMsg_MouseUp(e.button); };

    // Closing the table never refuses: it ends the game and goes back to the game list.
    form_.OnQueryUnload = [this](bool&, platform::UnloadMode) { Form_QueryUnload(); };
    form_.OnUnload = [this](bool&) { Form_Unload(); };

    // The markers: their menus, dialogs and handlers, the two marker buttons and the picker.
    Markers = std::make_unique<TableMarkers>(*this);
    addNumMarker.Click = [this] { Markers->addNumMarker_Click(); };
    addGraphMakerBtn.Click = [this] { Markers->addGraphMakerBtn_Click(); };
    Others.newNumMarker = [](const std::string& value, int top, int left) {
        return static_cast<int>(NewMarkerNumProc(value, ClampToInt16(top), ClampToInt16(left), ""));
    };
    Others.showHandForm = [] { ShowHandForm(); };
    Others.unloadHandForm = [] { UnloadHandForm(); };
    Others.unloadMarkerForm = [] {
        if (MarkerForm* picker = MarkerPicker()) picker->Window().Unload();
    };

    previousView_ = SetTableView(this);
    g_tableWindow = this;
    cardActions = std::make_unique<CardActions>(*this);

    Keys = std::make_unique<TableKeys>(*this);
    Others.unloadToolBar = [this] {
        if (ToolBar) ToolBar->form.Unload();
    };
    Others.unloadDesignToolBar = [this] {
        if (DesignToolBar) DesignToolBar->form.Unload();
    };
}

MainForm::~MainForm() {
    ToolBar.reset();
    DesignToolBar.reset();
    Keys.reset();
    cardActions.reset();
    CTip_Hide();
    // The table's own windows go before the table they belong to.
    CardInfo.reset();
    DiceRoller.reset();
    Reports.reset();
    Log.reset();
    Notes.reset();
    if (g_tableWindow == this) g_tableWindow = nullptr;
    SetTableView(previousView_);
}

namespace {

void Call(const std::function<void()>& hook) {
    if (hook) hook();
}

// Shows a window that is hidden and hides one that shows.
void Toggle(platform::Form& form) {
    if (form.Visible()) {
        form.Hide();
    } else {
        KeepAboveTable(form);
        form.Show();
    }
}

} // namespace

void MainForm::Form_QueryUnload() {
    if (DesignMode != kFalse) {
        Call(Others.unloadDesignToolBar);
    } else {
        Call(Others.unloadToolBar);
        Call(Others.unloadHandForm);
    }
}

void MainForm::Form_Unload() {
    if (GameMode == kModeDirect) Call(Others.unloadConnection);
    ClearCardTable();
    ClearMarkerControls();
    if (Notes) Notes->form.Unload();
    // The table's other windows show the game that ended: they close with it.
    for (platform::Form* form :
         {CardInfo ? &CardInfo->form : nullptr, DiceRoller ? &DiceRoller->form : nullptr,
          Reports ? &Reports->form : nullptr, Log ? &Log->form : nullptr})
        if (form) form->Unload();
    Call(Others.unloadHandForm);
    Call(Others.unloadMarkerForm);
    CTip_Hide();
    Call(Others.showGameList);
}

void MainForm::diceRollerBtn_Click() {
    Call(Others.hideMarkerList);
    if (DiceCount < 1) {
        ShowMsg("No dices defined");
        return;
    }
    if (!DiceRoller) DiceRoller = std::make_unique<DiceRollerForm>();
    Toggle(DiceRoller->form);
}

void MainForm::reportBtn_Click() {
    Call(Others.hideMarkerList);
    if (!Reports) Reports = std::make_unique<ReportForm>();
    ShowReports(*Reports);
}

void MainForm::saveGameBtn_Click() {
    Call(Others.hideMarkerList);
    Call(Others.showSaveForm);
}

void MainForm::showHandAreaBtn_Click() {
    Call(Others.hideMarkerList);
    if (Game.external_hand != kFalse) {
        Call(Others.showHandForm);
        return;
    }
    ToggleHandAreas();
}

void MainForm::ToggleHandAreas() {
    for (int p = 1; p <= std::clamp<int>(Game.playerCount, 0, kMaxPlayers); ++p) {
        const platform::Shape* area = PlayerArea(p - 1);
        if (Game.players[p].hasTableArea != kFalse && area)
            ShowPlayerArea(static_cast<std::int16_t>(p - 1), ToFlag(!area->Visible()));
    }
}

void MainForm::showNotesBtn_Click() {
    Call(Others.hideMarkerList);
    // The log window stays beside the table like the notes: a modal one could never be toggled
    // off by the button that showed it.
    if (IsLogEnabled()) {
        if (!Log) Log = std::make_unique<LogForm>();
        Toggle(Log->form);
    } else {
        if (!Notes) Notes = std::make_unique<NotesForm>();
        Toggle(Notes->form);
    }
}

void MainForm::QuickMsg_MouseUp(int button) {
    if (button == platform::keys::kRightButton && Others.newNumMarker) {
        // The caption reads "[" roll "] " result: the marker shows the result alone.
        const std::string caption = QuickMsg.Caption();
        const auto bracket = caption.find(']');
        const std::string result =
            bracket == std::string::npos ? caption : caption.substr(std::min(caption.size(), bracket + 2));
        // The label gives its line breaks back as bare line feeds; a marker's caption breaks at
        // CR LF, so a result of several lines keeps them.
        std::string value;
        for (std::size_t i = 0; i < result.size(); ++i) {
            if (result[i] == '\n' && (i == 0 || result[i - 1] != '\r')) value += '\r';
            value += result[i];
        }
        const int top = QuickMsg.Top();
        const int left = QuickMsg.Left();
        const int marker = Others.newNumMarker(value, top, left);
        if (marker >= 0) SendNumMarkerCreated(static_cast<std::int16_t>(marker), value);
    }
    QuickMsg.SetVisible(false);
}

void MainForm::WireCard(int index, controls::TranspImg& card) {
    card.MouseMove = [this, index](std::int16_t, std::int16_t, platform::PixelPoint at) {
        const controls::TranspImg* c = crd(index);
        if (!c) return;
        HoveredCard = c->Surface().Tag();
        ShowCardInfo(CardOfTag(HoveredCard));
        // In debug mode the quick-result label tells which card the mouse is over.
        CardDebugText(QuickMsg, index, HoveredCard, static_cast<int>(at.x), static_cast<int>(at.y));
    };
}

void MainForm::LoadBasePicture(const std::string& path) {
    if (path.empty()) return;
    BasePict.SetVisible(false);
    if (auto picture = platform::Picture::LoadShared(path)) {
        BasePict.SetWidth(platform::TwipsFromPixelsX(picture->Width()));
        BasePict.SetHeight(platform::TwipsFromPixelsY(picture->Height()));
        BasePict.SetPicture(*picture);
    }
    TableHeight = BasePict.Height();
    TableWidth = BasePict.Width();
    BasePict.SetVisible(true);
}

void MainForm::SetBareTable(int heightTwips, int widthTwips) {
    BasePict.SetPicture(platform::Picture());
    BasePict.SetHeight(heightTwips);
    BasePict.SetWidth(widthTwips);
    TableHeight = BasePict.Height();
    TableWidth = BasePict.Width();
}

void MainForm::setSB() {
    const int W = form_.ScaleWidth();
    const int H = form_.ScaleHeight();
    const int P = InfoPanelSettings.width;
    const int h = hsb.Height();
    const int v = vsb.Width();
    if (H == 0 || H - h <= 0) return;
    vsb.Move(W - P - v, 0, v, H - h);
    hsb.Move(0, H - h, W - v - P, h);
    vsb.SetEnabled(vsb.Height() < TableHeight);
    hsb.SetEnabled(hsb.Width() <= TableWidth);
    // A bar holds 0..32767: a table larger than the window by more than that scrolls in coarser
    // steps rather than wrapping round.
    const auto range = [](long long overhang, int& scale) {
        overhang = std::max(0LL, overhang);
        scale = static_cast<int>(std::max(1LL, (overhang + kScrollMax - 1) / kScrollMax));
        return static_cast<int>(overhang / scale);
    };
    // What the bars leave of the window shows the table; the information panel covers the strip
    // at its right, so the horizontal range counts the panel too and the table's right edge can
    // be scrolled out from under it.
    vsb.SetMax(range(static_cast<long long>(TableHeight) - (H - h), vScale_));
    hsb.SetMax(range(static_cast<long long>(TableWidth) - (W - v - P), hScale_));
    vsb.SetLargeChange(std::max(1, (H - h) / vScale_));
    hsb.SetLargeChange(std::max(1, (W - v - P) / hScale_));
    vsb.SetSmallChange(std::max(1, 150 / vScale_));
    hsb.SetSmallChange(std::max(1, 150 / hScale_));
    EmptyFrame.Move(vsb.Left(), hsb.Top(), vsb.Width(), EmptyFrame.Height());
    EmptyFrame.ZOrder(true);
    corner.Move(W - v, H - h);
    corner.ZOrder(true);
    LayoutInfoPanel();
    ScrollTo();
}

void MainForm::ScrollTo() {
    BasePict.Move(-hsb.Value() * hScale_, -vsb.Value() * vScale_);
}

void MainForm::Form_Resize() {
    if (form_.State() == platform::WindowState::Minimised) return;
    // The panel keeps a strip of table beside it.
    const int P = InfoPanelSettings.width;
    if (P != 0 && form_.Width() < P + 400) form_.SetWidth(P + 400);
    setSB();
}

void MainForm::corner_MouseDown(const platform::MouseEvent& e) {
    gripDrag_ = true;
    gripStartX_ = e.x;
    gripStartY_ = e.y;
}

void MainForm::corner_MouseMove(const platform::MouseEvent& e) {
    if (!gripDrag_ || form_.State() == platform::WindowState::Maximised) return;
    // The start point stays where the drag began: the grip moves with the window's corner.
    const int width = form_.Width() + static_cast<int>(e.x - gripStartX_);
    const int height = form_.Height() + static_cast<int>(e.y - gripStartY_);
    if (width > 5000 && height > 5000) form_.Resize(width, height);
}

void MainForm::ShowTip(const std::string& text, const std::string& title) {
    CTip = controls::ShowCardBalloon(form_.Handle(), text, title);
}

void MainForm::CTip_Hide() {
    if (!CTip) return;
    CTip->Hide();
    CTip.reset();
    BasePict.Refresh();
}

void MainForm::ToolTipTimer_Timer() {
    if (platform::ActiveForm() != &form_) {
        CTip_Hide();
        return;
    }
    if (!HoveredCard.empty() && DraggedCard == -1) {
        if (HoveredCard != lastTipCard_ || !CTip) {
            lastTipCard_ = HoveredCard;
            ToolTipTimer.SetInterval(5);
            const std::string tip = CardTooltipText(CardOfTag(HoveredCard));
            if (CountFields(tip, "|") > 1)
                ShowTip(GetField(tip, 2, "|"), GetField(tip, 1, "|"));
            else
                ShowTip(tip, "");
        } else {
            ToolTipTimer.SetInterval(controls::CardTooltipDelay());
        }
        return;
    }
    CTip_Hide();
    lastTipCard_.clear();
    ToolTipTimer.SetInterval(controls::CardTooltipDelay());
}

std::optional<CardPictureRect> MainForm::CardControlPicture(int control) {
    const controls::TranspImg* card = crd(control);
    if (!card) return std::nullopt;
    return CardPictureOf(*card);
}

CardPictureRect MainForm::CardPictureOf(const controls::TranspImg& card) {
    const platform::ControlSurface& s = card.Surface();
    int width = card.GetRealWidth();
    int height = card.GetRealHeight();
    if (card.GetPictureName().empty()) width = s.Width(), height = s.Height();
    // The picture lies centred in the control's square frame; a quarter turn swaps its sides.
    if (std::abs(card.rotation() % 180) == 90) std::swap(width, height);
    const int centreX = s.Left() + s.Width() / 2;
    const int centreY = s.Top() + s.Height() / 2;
    return CardPictureRect{centreX - width / 2, centreY - height / 2, width, height};
}

platform::TwipRect MainForm::PictureRectOf(const controls::TranspImg& image) {
    const CardPictureRect p = CardPictureOf(image);
    return {p.left, p.top, p.width, p.height};
}

Shift MainForm::ShiftOnTable(const platform::TwipRect& item, int dx, int dy) const {
    return ClampedShift(item, dx, dy, {0, 0, TableWidth, TableHeight});
}

std::optional<platform::TwipRect> MainForm::PlaceInView(const platform::TwipRect& item) {
    // The screen's place of the table's corner: the client area less the scroll offsets.
    const platform::TwipRect client = form_.ClientArea();
    const int originLeft = client.left + BasePict.Left(), originTop = client.top + BasePict.Top();
    const platform::TwipRect screen = form_.ScreenArea();
    const int left = std::max({client.left, screen.left, originLeft});
    const int top = std::max({client.top, screen.top, originTop});
    const int right = std::min({client.left + vsb.Left(), screen.Right(), originLeft + TableWidth});
    const int bottom = std::min({client.top + hsb.Top(), screen.Bottom(), originTop + TableHeight});
    if (right <= left || bottom <= top) return std::nullopt;
    const platform::TwipRect view{left - originLeft, top - originTop, right - left, bottom - top};
    std::vector<platform::TwipRect> covered;
    for (platform::TwipRect w : form_.OwnedWindows()) {
        w.left -= originLeft;
        w.top -= originTop;
        covered.push_back(w);
    }
    // Looked for on a grid of 8 pixels.
    return FreePlace(item, view, covered, 120);
}

bool MainForm::ControlExists(std::int16_t kind, std::int16_t control) {
    return ControlSurfaceOf(kind, control) != nullptr;
}

void MainForm::BringControlToFront(std::int16_t kind, std::int16_t control) {
    if (platform::ControlSurface* s = ControlSurfaceOf(kind, control)) s->BringToFront();
}

platform::ControlSurface* MainForm::ControlSurfaceOf(std::int16_t kind, int control) {
    switch (kind) {
    case kZCard:
        if (controls::TranspImg* card = crd(control)) return &card->Surface();
        break;
    case kZNumMarker:
        if (controls::zLabelA* label = markerNum(control)) return &label->Surface();
        break;
    case kZImageMarker:
        if (controls::TranspImg* marker = mrk(control)) return &marker->Surface();
        break;
    default:
        break;
    }
    return nullptr;
}

void MainForm::PlayerAreaChanged(int area) {
    platform::Shape* shape = PlayerArea(area);
    if (!shape || !PlayerAreaTable::Contains(area)) return;
    const PlayerAreaShape& a = PlayerAreas[area];
    shape->Move(a.left, a.top, a.width, a.height);
    shape->SetBorderColor(static_cast<platform::Colour>(a.outlineColour));
    shape->SetVisible(a.visible);
    PlaceSideName(area);
}

void MainForm::PlaceSideName(int area) {
    platform::Label* label = SideName(area);
    if (!label || !PlayerAreaTable::Contains(area)) return;
    const PlayerAreaShape& a = PlayerAreas[area];
    // The seat's name stands just above its area's top-left corner, in the seat's colour, where
    // the cards dealt into the area do not cover it.
    label->Move(a.left, a.top - label->Height() - 15);
    label->SetForeColor(static_cast<platform::Colour>(SeatColour(area + 1)));
    label->SetVisible(a.visible);
}

void MainForm::DeckShuffled(std::int16_t deck) {
    Outbox().SendDeckShuffle(deck);
}

void MainForm::ShowCopyrightPicture(const std::string& path) {
    CopyrightForm window;
    window.ShowPicture(path);
}

void MainForm::DiceRolled(std::int16_t die, const std::string& text, std::int16_t markerKind,
                          std::int16_t markerOwner, const std::optional<MarkerPlace>& marker) {
    Outbox().SendDiceRoll(die, text, markerKind);
    if (markerKind > 0 && marker)
        Outbox().SendGraphMarkerNew(markerKind, markerOwner, marker->left, marker->top);
}

std::optional<MarkerPlace> MainForm::PlaceImageMarker(std::int16_t kind, std::int16_t owner, int x, int y,
                                                      bool dicePlaced) {
    const std::int16_t n = AddGraphMarker(kind, owner, ClampToInt16(y), ClampToInt16(x), false);
    if (n == 0) return std::nullopt;
    GraphMarkers[n].dicePlaced = ToFlag(dicePlaced);
    return ImageMarkerPicturePlace(n);
}
