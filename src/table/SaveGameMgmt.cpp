#include "table/SaveGameMgmt.h"

#include "common/GraphicsMgmt.h"
#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Files.h"
#include "platform/Picture.h"
#include "services/DiceRoller.h"
#include "state/CaptionMgmt.h"
#include "state/EffectMgmt.h"
#include "state/GameMgmt.h"
#include "state/Helpers.h"
#include "state/LayoutMgmt.h"
#include "state/LogStore.h"
#include "state/MarkersMgmt.h"
#include "state/Model.h"
#include "state/OptionMgmt.h"
#include "state/PropertyMgmt.h"
#include "state/SaveRecord.h"
#include "state/TableState.h"
#include "state/ZOrder.h"
#include "table/CardActions.h"
#include "table/CardTags.h"
#include "table/CarriedMarkers.h"
#include "table/HandCards.h"
#include "table/MainForm.h"
#include "table/TableMarkers.h"
#include "table/TableSetup.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>

namespace {

// The table window's own marker controls: numerical marker m is markerNum(m), image marker
// record n is mrk(n - 1).
class TableMarkerControls : public MarkerControls {
  public:
    std::optional<MarkerControlState> NumMarker(int control) override {
        MainForm* table = TableWindow();
        const controls::zLabelA* label = table ? table->markerNum(control) : nullptr;
        if (!label) return std::nullopt;
        const platform::ControlSurface& s = label->Surface();
        return MarkerControlState{s.Top(), s.Left(), label->caption(), s.Tag()};
    }
    std::optional<MarkerControlState> ImageMarker(int record) override {
        MainForm* table = TableWindow();
        const controls::TranspImg* image = table ? table->mrk(record - 1) : nullptr;
        if (!image) return std::nullopt;
        const platform::ControlSurface& s = image->Surface();
        return MarkerControlState{s.Top(), s.Left(), "", s.Tag()};
    }
    void ClearMarkers() override {
        MainForm* table = TableWindow();
        if (!table) return;
        for (int index : table->markerNum.Indexes())
            if (index == 0)
                table->markerNum(0)->Surface().SetVisible(false);
            else
                table->markerNum.Unload(index);
        for (int index : table->mrk.Indexes())
            if (index == 0)
                table->mrk(0)->Surface().SetVisible(false);
            else
                table->mrk.Unload(index);
    }
    void RestoreNumMarker(int control, const MarkerControlState& state) override {
        MainForm* table = TableWindow();
        if (!table) return;
        controls::zLabelA* label = table->markerNum(control);
        if (!label) label = table->markerNum.Load(control);
        if (!label) return;
        // Before the caption, which an auto-sized label measures in its font.
        ApplyNumMarkerFont(*label);
        label->caption(state.caption);
        label->Surface().Move(state.left, state.top);
        label->Surface().SetTag(state.tag);
        label->Surface().SetVisible(true);
        label->Surface().BringToFront();
    }
    void RestoreImageMarker(int record, const MarkerControlState& state) override {
        MainForm* table = TableWindow();
        if (!table || !MarkerInstanceTable::Contains(record)) return;
        controls::TranspImg* image = table->mrk(record - 1);
        if (!image) image = table->mrk.Load(record - 1);
        if (!image) return;
        const MarkerInstanceRecord& marker = GraphMarkers[record];
        if (const std::string mask = GetIni("GAME", "transparentColor", CurrentGameFile); !mask.empty())
            image->MaskColor(static_cast<platform::Colour>(ParseColour(mask)));
        image->loadNewPicture(MarkerFacePath(marker));
        if (marker.rotation != 0) image->rotation(marker.rotation);
        image->Surface().Move(state.left, state.top);
        image->Surface().SetTag(state.tag);
        image->Surface().SetVisible(true);
        image->Surface().BringToFront();
    }

  private:
    // The picture a marker shows: its kind's front image, or the back face it was turned to (the
    // first one for a flipped marker of a kind with a single back face).
    static std::string MarkerFacePath(const MarkerInstanceRecord& marker) {
        if (!MarkerKindTable::Contains(marker.kind)) return {};
        const MarkerTypeRecord& kind = MarkerKinds[marker.kind];
        const int face = marker.face > 0 ? marker.face : (marker.flipped != kFalse ? 1 : 0);
        if (face == 0 || kind.backFaces.empty()) return MarkerKindImagePath(marker.kind);
        return platform::ProgramFolder() + "\\" + Game.directory + "\\" + GetField(kind.backFaces, face, "+");
    }
};

TableMarkerControls g_tableMarkers;
MarkerControls* g_markers = &g_tableMarkers;

// The pile positions of the game last loaded, for RestoreTablePositions after the seat login.
PilePositions g_pilePositions{};

SavedPosition PositionOf(int top, int left) {
    return {ClampToInt16(top), ClampToInt16(left)};
}

// The card shown by the card control a marker's tag names: the tag's first "," field; 0 when the
// tag names no card control with a card.
std::int16_t CardOnControl(const std::string& tag) {
    const std::string field = GetField(tag, 1, ",");
    if (field.empty() || field == "-1") return 0;
    MainForm* table = TableWindow();
    if (!table) return 0;
    const std::int16_t card = CardShownBy(table->crd(LeadingInt16(field)));
    return card >= 1 && card <= Game.totalCards ? card : std::int16_t{0};
}

void FillCards(SaveRecord& record, MainForm* table) {
    const int total = std::clamp<int>(Game.totalCards, 0, kMaxCards);
    for (int c = 1; c <= total; ++c) {
        const CardRecord& card = Cards[c];
        record.cards[c] = card;
        if (card.controlIndex < 0 || card.inDiscardPile != kFalse) continue;
        if (card.inHand != kFalse && Game.external_hand != kFalse) {
            record.cardPositions[c] = {card.handLeft, card.handTop};
        } else if (table) {
            if (const controls::TranspImg* image = table->crd(card.controlIndex))
                record.cardPositions[c] = PositionOf(image->Surface().Top(), image->Surface().Left());
        }
    }
}

void FillDecks(SaveRecord& record, MainForm* table) {
    for (int d = 0; d < std::clamp<int>(Game.deckCount, 0, kMaxDecks); ++d) {
        if (table) {
            if (const controls::TranspImg* pile = table->DeckImg(d))
                record.pilePositions[d + 1] = PositionOf(pile->Surface().Top(), pile->Surface().Left());
            if (const controls::TranspImg* discard = table->DiscardImg(d))
                record.pilePositions[kMaxDecks + d + 1] =
                    PositionOf(discard->Surface().Top(), discard->Surface().Left());
        }
        record.decks[d] = Game.decks[d];
    }
}

// The markers in use get the slots from 1 in their order; the map gives each old control index
// its new one.
std::map<int, int> FillNumMarkers(SaveRecord& record) {
    std::map<int, int> renumbered;
    int k = 0;
    for (int m = 1; m < NextNumMarker && m <= kMaxMarkers; ++m) {
        if (NumMarkerInUse[m - 1] == kFalse) continue;
        const auto control = g_markers->NumMarker(m - 1);
        if (!control) continue;
        ++k;
        record.numMarkerPositions[k] = PositionOf(control->top, control->left);
        record.numMarkerCaptions[k] = control->caption;
        const std::int16_t card = CardOnControl(control->tag);
        record.numMarkerCards[k] = card > 0 ? card : std::int16_t{-1};
        renumbered[m - 1] = k - 1;
    }
    record.numMarkerCount = static_cast<std::int16_t>(k);
    return renumbered;
}

std::map<int, int> FillImageMarkers(SaveRecord& record) {
    std::map<int, int> renumbered;
    int k = 0;
    for (int n = 1; n <= std::clamp<int>(GraphMarkerCount, 0, kMaxMarkers); ++n) {
        if (GraphMarkers[n].inUse == kFalse) continue;
        ++k;
        MarkerInstanceRecord& saved = record.imageMarkers[k];
        saved = GraphMarkers[n];
        saved.top = 0;
        saved.left = 0;
        saved.card = -1;
        if (const auto control = g_markers->ImageMarker(n)) {
            saved.top = ClampToInt16(control->top);
            saved.left = ClampToInt16(control->left);
            const std::int16_t card = CardOnControl(control->tag);
            if (card > 0) saved.card = card;
        }
        renumbered[n - 1] = k - 1;
    }
    record.imageMarkerCount = static_cast<std::int16_t>(k);
    return renumbered;
}

// The copy's stacking order with the markers' new numbers. An entry that names a card outside
// the game or a marker that is not saved is left out, so that the record reads back.
void RenumberStacking(GameState& game, const std::map<int, int>& numMarkers,
                      const std::map<int, int>& imageMarkers) {
    int kept = 0;
    for (int z = 1; z <= std::clamp<int>(game.zOrderCount, 0, kMaxZOrder); ++z) {
        ZOrderEntry entry = game.ZOrderList[z];
        bool keep = false;
        if (entry.kind == kZCard) {
            keep = entry.index >= 1 && entry.index <= game.totalCards;
        } else if (entry.kind == kZNumMarker || entry.kind == kZImageMarker) {
            const auto& map = entry.kind == kZNumMarker ? numMarkers : imageMarkers;
            if (const auto it = map.find(entry.index); it != map.end()) {
                entry.index = static_cast<std::int16_t>(it->second);
                keep = true;
            }
        }
        if (keep) game.ZOrderList[++kept] = entry;
    }
    for (int z = kept + 1; z <= kMaxZOrder; ++z)
        game.ZOrderList[z] = ZOrderEntry{};
    game.zOrderCount = static_cast<std::int16_t>(kept);
}

std::string LocalImagePath(const std::string& section, const std::string& key, const std::string& gameFile,
                           const std::string& directory) {
    return platform::ProgramFolder() + "\\" + directory + "\\" + GetIni(section, key, gameFile);
}

// The record's decks take their pictures from the local definition: paths of the saving machine
// mean nothing here. A deck made when a deck was split among the seats belongs to a seat that has
// no deck of its own (the split leaves the seats' deck lists alone), and its section, named after
// the seat, is none of the definition's decks: it shows the pictures of the deck it was split
// from, the one whose stored pictures it copied.
void TakeLocalDeckPictures(GameState& game, const std::string& gameFile) {
    const int decks = std::clamp<int>(game.deckCount, 0, kMaxDecks);
    const auto madeBySplit = [&](int d) {
        const int owner = game.decks[d].owner;
        return owner >= 1 && owner <= kMaxPlayers && game.players[owner].deckCount == 0;
    };
    const auto storedBacks = game.backImages;
    const auto storedDiscards = game.discardImages;
    for (int d = 0; d < kMaxDecks; ++d) {
        int source = d;
        for (int from = 0; madeBySplit(d) && from < decks; ++from)
            if (!madeBySplit(from) && storedBacks[from] == storedBacks[d] &&
                storedDiscards[from] == storedDiscards[d]) {
                source = from;
                break;
            }
        const std::string& section = game.decks[source].section;
        game.backImages[d] = d < decks ? LocalImagePath(section, "img_back", gameFile, game.directory) : "";
        game.discardImages[d] =
            d < decks ? LocalImagePath(section, "img_discard", gameFile, game.directory) : "";
    }
}

// A zoom of the record is kept within what the table shows, as a definition's is.
void ClampDeckZooms(SaveRecord& record) {
    for (int d = 0; d < kMaxDecks; ++d) {
        record.game.decks[d].zoom = DeckZoom(record.game.decks[d].zoom);
        record.decks[d].zoom = DeckZoom(record.decks[d].zoom);
    }
}

// The checks that need the local definition. Markers of a kind the definition does not have are
// taken out of the record (with their stacking entries); a die it does not have refuses the file.
// Reads the marker kinds of the definition into the model: the caller puts them back on refusal.
std::string CheckAgainstDefinition(SaveRecord& record, const std::string& gameFile, bool& droppedMarkers) {
    droppedMarkers = false;
    const int dice = std::min<int>(LeadingInt16(GetIni("DICE", "num_dices", gameFile)), kMaxDice);
    for (const DiceLogEntry& entry : record.diceLog)
        if (entry.serial != 0 && (entry.die < 1 || entry.die > dice))
            return "a roll names a die that the game does not define";
    // The kinds are the saved seats' and the globals': the seats are those of the record.
    const std::int16_t players = Game.playerCount;
    Game.playerCount = record.game.playerCount;
    LoadMarkerDefinitions(gameFile);
    Game.playerCount = players;
    std::map<int, int> kept;
    int k = 0;
    for (int n = 1; n <= record.imageMarkerCount; ++n) {
        if (record.imageMarkers[n].kind > MarkerKindCount) {
            droppedMarkers = true;
            continue;
        }
        record.imageMarkers[++k] = record.imageMarkers[n];
        kept[n - 1] = k - 1;
    }
    if (droppedMarkers) {
        for (int n = k + 1; n <= kMaxMarkers; ++n)
            record.imageMarkers[n] = MarkerInstanceRecord{};
        record.imageMarkerCount = static_cast<std::int16_t>(k);
        std::map<int, int> numMarkers;
        for (int m = 0; m < record.numMarkerCount; ++m)
            numMarkers[m] = m;
        RenumberStacking(record.game, numMarkers, kept);
    }
    return {};
}

// The running game becomes the record's. Nothing here may refuse: the record was checked whole.
void TakeRecord(const SaveRecord& record, const std::string& gameFile, bool received) {
    const std::int16_t connectedPlayer = Game.CurrentPlayer;
    ResetTableState();
    ForgetCardInfo();
    if (TableWindow()) ClearTableControls();
    g_markers->ClearMarkers();
    CurrentGameFile = gameFile;
    InitGameOptions(gameFile);
    ReadCardSmoothing();

    Game = record.game; // its deck pictures are the local definition's already
    Game.CurrentPlayer = received ? connectedPlayer : std::int16_t{-1};
    for (int p = 1; p <= kMaxPlayers; ++p)
        GameOptionTable.selectedOption[p] = record.options[p];
    LoadEffects(gameFile);
    ShowHandLines(gameFile);

    ClearCardTable();
    for (int c = 1; c <= Game.totalCards; ++c)
        Cards[c] = record.cards[c];
    // Each card keeps the control it had: the markers' tags name it, and in direct play both sides
    // go on handing out the same indexes. The controls between them are free, as after a discard.
    MainForm* table = TableWindow();
    int controls = 0;
    for (int c = 1; c <= Game.totalCards; ++c)
        if (IsTableCard(Cards[c], Game)) controls = std::max(controls, Cards[c].controlIndex + 1);
    LoadedCardControls = static_cast<std::int16_t>(controls);
    for (int i = 0; i < controls; ++i)
        CardControlFree[i] = kTrue;
    for (int c = 1; c <= Game.totalCards && table; ++c) {
        CardRecord& card = Cards[c];
        if (!IsTableCard(card, Game)) continue;
        const std::int16_t control = card.controlIndex;
        PrepareCardControl(control);
        CardControlFree[control] = kFalse;
        LoadCardPicture(control, static_cast<std::int16_t>(c), card.faceShown == kFalse, true);
        if (controls::TranspImg* image = table->crd(control)) {
            image->Surface().Move(record.cardPositions[c].left, record.cardPositions[c].top);
            image->Surface().SetTag(std::to_string(c));
            image->Surface().SetVisible(true);
            image->Surface().BringToFront();
        }
    }

    for (int k = 1; k <= record.numMarkerCount; ++k) {
        NumMarkerInUse[k - 1] = kTrue;
        MarkerControlState state;
        state.top = record.numMarkerPositions[k].top;
        state.left = record.numMarkerPositions[k].left;
        state.caption = record.numMarkerCaptions[k];
        const std::int16_t card = record.numMarkerCards[k];
        if (card > 0) state.tag = std::to_string(Cards[card].controlIndex);
        g_markers->RestoreNumMarker(k - 1, state);
    }
    NextNumMarker = static_cast<std::int16_t>(record.numMarkerCount + 1);

    GraphMarkers.Fill(MarkerInstanceRecord{});
    GraphMarkerCount = 0;
    for (int k = 1; k <= record.imageMarkerCount; ++k) {
        GraphMarkers[k] = record.imageMarkers[k];
        GraphMarkers[k].inUse = kTrue;
        GraphMarkerCount = static_cast<std::int16_t>(k);
        MarkerControlState state;
        state.top = record.imageMarkers[k].top;
        state.left = record.imageMarkers[k].left;
        const std::int16_t card = record.imageMarkers[k].card;
        state.tag = card > 0 ? std::to_string(Cards[card].controlIndex) : "-1";
        g_markers->RestoreImageMarker(k, state);
    }

    // A marker on a card that lies face down is hidden with the card's face.
    for (int c = 1; c <= Game.totalCards && table; ++c)
        if (IsTableCard(Cards[c], Game) && Cards[c].faceShown == kFalse)
            MoveAttachedMarkers(Cards[c].controlIndex, 0, 0, kMarkersHide);

    if (table) LoadDeckImages(false);
    for (int i = 0; i < kSavedPileSlots; ++i)
        g_pilePositions[static_cast<std::size_t>(i)] = {record.pilePositions[i + 1].top,
                                                        record.pilePositions[i + 1].left};

    DiceLog = record.diceLog;
    NotesText = record.notes;
    InitLog();
    // A log longer than this game's store keeps its newest entries.
    for (const std::string& line : record.logLines)
        StoreLogItem(line);
}

} // namespace

std::optional<MarkerControlState> MarkerControls::NumMarker(int) {
    return std::nullopt;
}
std::optional<MarkerControlState> MarkerControls::ImageMarker(int) {
    return std::nullopt;
}
void MarkerControls::ClearMarkers() {}
void MarkerControls::RestoreNumMarker(int, const MarkerControlState&) {}
void MarkerControls::RestoreImageMarker(int, const MarkerControlState&) {}

MarkerControls* SetMarkerControls(MarkerControls* controls) {
    MarkerControls* previous = g_markers == &g_tableMarkers ? nullptr : g_markers;
    g_markers = controls ? controls : &g_tableMarkers;
    return previous;
}

void FillSaveRecord(SaveRecord& record) {
    MainForm* table = TableWindow();
    FillCards(record, table);
    FillDecks(record, table);
    record.diceLog = DiceLog;
    const auto numMarkers = FillNumMarkers(record);
    const auto imageMarkers = FillImageMarkers(record);
    record.game = Game;
    if (table) {
        platform::Form& window = table->Window();
        record.game.windowGeometry[1] = ClampToInt16(window.Top());
        record.game.windowGeometry[2] = ClampToInt16(window.Left());
        record.game.windowGeometry[3] = ClampToInt16(window.Height());
        record.game.windowGeometry[4] = ClampToInt16(window.Width());
    }
    RenumberStacking(record.game, numMarkers, imageMarkers);
    record.gameFile = CurrentGameFile;
    record.notes = NotesText;
    for (int p = 1; p <= kMaxPlayers; ++p)
        record.options[p] = GameOptionTable.selectedOption[p];
    record.logLines.clear();
    for (int n = 1; n <= LogCount; ++n)
        record.logLines.push_back(LogEntry(n));
    record.logCount = static_cast<std::int16_t>(record.logLines.size());
    record.version = ProgramVersion();
}

bool SaveGame(const std::string& fileName) {
    const auto record = NewSaveRecord();
    FillSaveRecord(*record);
    std::string bytes;
    // What the reader would refuse is not written: a save reported as done loads again.
    std::string error = SaveRecordProblem(*record);
    const std::string path = SaveFilePath(fileName);
    if (!error.empty() || !EncodeSaveRecord(*record, bytes, error)) {
        ShowMsg("The game could not be saved: " + error);
        return false;
    }
    platform::RemoveStaleAtomicWrites(SaveFolder(), "*.save");
    if (!platform::WriteFileAtomic(path, bytes)) {
        ShowMsg("The game could not be saved in " + ShownPath(path));
        return false;
    }
    return true;
}

std::string QuickSaveName(const std::string& gameFile) {
    std::string name = gameFile.size() >= 5 ? gameFile.substr(0, gameFile.size() - 5) : std::string();
    name += ".pack";
    const std::size_t cut = name.find_last_of('\\');
    if (cut != std::string::npos) name = name.substr(cut + 1);
    return name + ".save";
}

bool QuickSave() {
    return SaveGame(QuickSaveName(CurrentGameFile));
}

bool LoadSavedGame(const std::string& fileName, bool received) {
    // The cards of one deck share a few picture files: each is looked at on disk once.
    const platform::Picture::LookScope looks;
    const auto record = NewSaveRecord();
    std::string error;
    if (ReadSaveFile(fileName, *record, error) != SaveReadResult::ok) {
        ShowMsg("The saved game " + fileName + " cannot be loaded: " + error);
        return false;
    }
    const std::string refused = "The saved game " + fileName + " cannot be loaded: ";
    const std::string gameFile = RerootedGameFile(record->gameFile);
    if (record->gameFile.empty()) {
        ShowMsg(refused + "it names no game file");
        return false;
    }
    if (gameFile.empty()) {
        ShowMsg(refused + "the name of its game file is not a file name");
        return false;
    }
    if (!FileExists(gameFile)) {
        ShowMsg(refused + "its game file " + PathFileName(gameFile) + " is missing");
        return false;
    }
    TakeLocalDeckPictures(record->game, gameFile);
    if (const std::string missing = MissingDeckPicture(record->game); !missing.empty()) {
        ShowMsg(refused + missing);
        return false;
    }
    ClampDeckZooms(*record);
    // The marker kinds are read to check the markers against them; a refused file gets the
    // running game's back.
    const MarkerKindTable kinds = MarkerKinds;
    const std::int16_t kindCount = MarkerKindCount;
    const MarkerGroupTable groups = MarkerGroups;
    const std::int16_t groupCount = MarkerGroupCount;
    bool droppedMarkers = false;
    error = CheckAgainstDefinition(*record, gameFile, droppedMarkers);
    if (!error.empty()) {
        MarkerKinds = kinds;
        MarkerKindCount = kindCount;
        MarkerGroups = groups;
        MarkerGroupCount = groupCount;
        ShowMsg(refused + error);
        return false;
    }
    if (droppedMarkers) ShowMsg("Markers of a kind that the game no longer defines were left out");
    TakeRecord(*record, gameFile, received);
    return true;
}

void RestoreLoadedTable() {
    if (!TableWindow()) return;
    const platform::Picture::LookScope looks;
    LoadDeckImages(false);
    LoadDice();
    LoadReports(CurrentGameFile);
    LoadPlayerLayouts();
    ApplyZOrder();
    SetIncrementMenus();
    ShowOwnHandFaces();
    SetupTableAppearance();
    RestoreTablePositions(g_pilePositions);
    ApplyMarkerTooltipSetting();
    if (TableWindow()->cardActions) TableWindow()->cardActions->SetSpecialMenu();
    UpdateTitle();
}
