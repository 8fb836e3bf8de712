#include "table/TableSetup.h"

#include "common/GraphicsMgmt.h"
#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Files.h"
#include "platform/Picture.h"
#include "platform/Seams.h"
#include "services/LogMgmt.h"
#include "state/CaptionMgmt.h"
#include "state/CardMgmt.h"
#include "state/DecksMgmt.h"
#include "state/EffectMgmt.h"
#include "state/GameMgmt.h"
#include "state/Helpers.h"
#include "state/LayoutMgmt.h"
#include "state/MarkersMgmt.h"
#include "state/OptionMgmt.h"
#include "state/PlayerMgmt.h"
#include "state/PropertyMgmt.h"
#include "state/TableState.h"
#include "state/ZOrder.h"
#include "table/CardActions.h"
#include "table/CardTags.h"
#include "table/CarriedMarkers.h"
#include "table/DiscardPileForm.h"
#include "table/HandForm.h"
#include "table/InfoPanel.h"
#include "table/MainForm.h"
#include "table/Outbox.h"
#include "table/TableMarkers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace {

constexpr platform::Colour kCardMask = platform::MakeColour(128, 128, 128);

// Read once per game, new or loaded: every new card control asks for it.
bool g_useAntialias = false;

// The seats' next free slot in their areas, so that cards dealt after the opening deal line up
// behind it.
std::array<int, kMaxSeats + 1> g_dealtSlots{};

// The cards that start on the table without a set-up place, each with its place k in the row
// beside its deck.
std::vector<std::pair<std::int16_t, int>> g_besideDeck;

MainForm& Table() {
    // Every caller runs with a table window open; without one there is nothing to act on.
    MainForm* table = TableWindow();
    if (!table) throw std::logic_error("no table window is open");
    return *table;
}

controls::TranspImg* Card(std::int16_t control) {
    return Table().crd(control);
}

int DeckCount() {
    return std::clamp<int>(Game.deckCount, 0, kMaxDecks);
}

platform::Colour AsColour(std::int32_t value) {
    return static_cast<platform::Colour>(value);
}

std::string CardFacePath(std::int16_t card) {
    return GameImagePath(Cards[card].image);
}

void EnsureDeckControls(int deck) {
    MainForm& table = Table();
    if (!table.DeckImg.Exists(deck)) table.DeckImg.Load(deck);
    if (!table.DiscardImg.Exists(deck)) table.DiscardImg.Load(deck);
}

// The deck is one that only its owner may see, and this side is not its owner.
bool HiddenFromThisSeat(int deck) {
    const DeckRecord& d = Game.decks[deck];
    return d.only_visible_to_owner != kFalse && d.owner != Game.CurrentPlayer;
}

int WidthOf(const platform::ControlArray<controls::TranspImg>& images, int index) {
    const controls::TranspImg* image = images(index);
    return image ? image->Surface().Width() : 0;
}

// Shows a dealt card in its receiver's area: its face for the local seat (or when every card is
// visible), its back for the others, turned as the card lies.
void ShowDealtCard(std::int16_t card, std::int16_t player, std::int16_t slot) {
    const CardRecord& c = Cards[card];
    controls::TranspImg* image = Card(c.controlIndex);
    if (!image || player < 1 || player > kMaxPlayers) return;
    LoadCardPicture(c.controlIndex, card, c.faceShown == kFalse, true);
    const PlayerAreaShape& area = PlayerAreas[player - 1];
    platform::ControlSurface& s = image->Surface();
    s.SetTop(area.top + 120 - image->GetOriginTop());
    s.SetLeft(area.left + slot * 250 - image->GetOriginLeft());
    s.SetTag(std::to_string(card));
    s.SetVisible(true);
    s.BringToFront();
    g_dealtSlots[static_cast<std::size_t>(player)] =
        std::max<int>(g_dealtSlots[static_cast<std::size_t>(player)], slot);
}

// A card without a set-up place lies 120 right of and below its deck's image, the k-th further
// 200 right and down.
void PlaceBesideDeck(std::int16_t card, int k) {
    MainForm& table = Table();
    controls::TranspImg* image = table.crd(Cards[card].controlIndex);
    if (!image) return;
    const controls::TranspImg* deckImage =
        IsDeckSlot(Cards[card].deck) ? table.DeckImg(Cards[card].deck) : nullptr;
    const int left = deckImage ? deckImage->Surface().Left() : 0;
    const int top = deckImage ? deckImage->Surface().Top() : 0;
    image->Surface().Move(left + 120 + 200 * k, top + 120 + 200 * k);
}

} // namespace

void PrepareCardControl(int index) {
    MainForm& table = Table();
    controls::TranspImg* card = table.crd(index);
    if (!card) card = table.crd.Load(index);
    if (!card) return;
    card->reset();
    card->MaskColor(kCardMask);
    card->Enabled(true);
    card->useAntialias(g_useAntialias);
}

void ReadCardSmoothing() {
    g_useAntialias = GetBoolDirective("GAME", "useAntialias", false);
}

void ClearTableControls() {
    MainForm& table = Table();
    // The windows that show the cards of the game that goes.
    ForgetHandForm();
    DiscardForm::CloseCurrent();
    for (int index : table.crd.Indexes()) {
        table.crd(index)->Surface().SetTag("");
        if (index == 0)
            table.crd(0)->Surface().SetVisible(false);
        else
            table.crd.Unload(index);
    }
}

bool LoadDefinitionForTable(const std::string& gameFile) {
    if (!LoadGameDefinition(gameFile)) return false;
    if (const std::string missing = MissingDeckPicture(Game); !missing.empty()) {
        ShowMsg("The game cannot be loaded: " + missing);
        return false;
    }
    return true;
}

bool SetUpNewGame(MainForm& table, const std::string& gameFile) {
    CurrentGameFile = gameFile;
    InitGameOptions();
    if (!LoadDefinitionForTable(gameFile)) return false;
    ShowGameCopyright();
    SetUpDealtTable(table);
    return true;
}

void SetUpDealtTable(MainForm& table) {
    // The cards of one deck share a few picture files: each is looked at on disk once.
    const platform::Picture::LookScope looks;
    ResetTableState();
    ForgetCardInfo();
    ClearTableControls();
    g_dealtSlots.fill(0);
    ReadCardSmoothing();
    LoadPlayerLayouts();
    PlaceDefaultMarkers();
    SetupTableAppearance();
    LoadDeckControls();
    DealInitialCards();
    PlaceOnPlayCards();
    LoadDeckImages(false);
    // The decks found their places only now: the cards that lie beside them follow.
    for (const auto& [card, k] : g_besideDeck)
        PlaceBesideDeck(card, k);
    ApplyMarkerTooltipSetting();
    UpdateTitle();
    if (table.cardActions) table.cardActions->SetSpecialMenu();
}

void SetupTableAppearance() {
    MainForm& table = Table();
    ReadInfoPanelSettings(CurrentGameFile);
    const std::string desktop = platform::ProgramFolder() + "\\" + Game.directory + "\\" + Game.desktop;
    if (!Game.desktop.empty() && FileExists(desktop))
        table.LoadBasePicture(desktop);
    else
        table.SetBareTable(13000, 21000);
    table.setSB();
    SetPlayerNameLabels();
    ShowHandLines(CurrentGameFile);
    table.showHandAreaBtn.caption(Game.external_hand != kFalse ? "Show Hand" : "Show Hand area");
    const std::string selection = GetIni("GAME", "selection_color", CurrentGameFile);
    if (!selection.empty()) SelectionColour = ParseColour(selection);
}

void SetPlayerNameLabels() {
    MainForm& table = Table();
    for (int p = 1; p <= std::clamp<int>(Game.playerCount, 0, kMaxPlayers); ++p)
        if (platform::Label* label = table.SideName(p - 1)) label->SetCaption(Game.players[p].name);
}

namespace {

// The card at each place of a deck's draw pile from one pass over the card table, the lowest card
// number first as FindCard finds it: the opening deal looked for its next card with a pass over
// the whole table for every card it dealt.
std::vector<std::int16_t> DrawPilePlaces(std::int16_t deck) {
    std::vector<std::int16_t> places;
    for (int card = 1; card <= std::clamp<int>(Game.totalCards, 0, kMaxCards); ++card) {
        const CardRecord& c = Cards[card];
        if (c.deck != deck || c.inDiscardPile != kFalse || c.pilePosition < 0) continue;
        const auto at = static_cast<std::size_t>(c.pilePosition);
        if (at >= places.size()) places.resize(at + 1, -1);
        if (places[at] == -1) places[at] = static_cast<std::int16_t>(card);
    }
    return places;
}

} // namespace

void DealInitialCards() {
    const auto receives = [](int seat) {
        return Game.players[seat].hasTableArea != kFalse || Game.external_hand != kFalse;
    };
    for (int d = 0; d < DeckCount(); ++d) {
        const DeckRecord& deck = Game.decks[d];
        const auto deckIndex = static_cast<std::int16_t>(d);
        // The receivers of each round, in turn.
        std::vector<std::int16_t> seats;
        if (deck.owner != 0) {
            if (deck.owner >= 1 && deck.owner <= kMaxSeats && receives(deck.owner))
                seats.push_back(deck.owner);
        } else {
            for (int p = 1; p <= std::clamp<int>(Game.playerCount, 0, kMaxPlayers); ++p)
                if (receives(p)) seats.push_back(static_cast<std::int16_t>(p));
        }
        const long long attempts = static_cast<long long>(std::max<int>(deck.deal, 0)) * seats.size();
        // Dealing takes cards off the pile and moves nothing else on it: the places found before
        // the deal stay true for the cards still there.
        const std::vector<std::int16_t> places = DrawPilePlaces(deckIndex);
        const auto topCard = [&]() -> std::int16_t {
            const std::int16_t at = Game.nextDrawPositions[d];
            if (at < 0) return FindCard(deckIndex, at, false);
            const std::int16_t card = static_cast<std::size_t>(at) < places.size() ? places[at] : -1;
            if (card == -1) return -1;
            const CardRecord& c = Cards[card];
            if (c.deck == deckIndex && c.inDiscardPile == kFalse && c.pilePosition == at) return card;
            return FindCard(deckIndex, at, false);
        };
        for (long long a = 0; a < attempts; ++a) {
            const std::int16_t card = topCard();
            if (card == -1) {
                // Nothing is left to deal: the rest of the deal, however large, only hands out the
                // control numbers its attempts would take.
                if (Game.external_hand == kFalse)
                    LoadedCardControls = ClampToInt16(LoadedCardControls + (attempts - a));
                break;
            }
            const auto slot = static_cast<std::int16_t>(a / static_cast<long long>(seats.size()) + 1);
            DealCardToTable(deckIndex, seats[static_cast<std::size_t>(a) % seats.size()], slot, card, true);
        }
    }

    // The cards that start in a hand are dealt by the model; those that took a table control
    // are shown after the opening deal's cards of their seat.
    const std::int16_t before = LoadedCardControls;
    ProcessOnHandCards();
    UpdateHandSizeCaptions();
    if (Game.external_hand == kFalse) {
        for (int card = 1; card <= std::clamp<int>(Game.totalCards, 0, kMaxCards); ++card) {
            const CardRecord& c = Cards[card];
            if (c.controlIndex < before || c.controlIndex >= LoadedCardControls || c.inHand == kFalse)
                continue;
            if (c.owner < 1 || c.owner > kMaxPlayers) continue;
            PrepareCardControl(c.controlIndex);
            ShowDealtCard(static_cast<std::int16_t>(card), c.owner,
                          static_cast<std::int16_t>(g_dealtSlots[static_cast<std::size_t>(c.owner)] + 1));
        }
    }
    for (int d = 0; d < DeckCount(); ++d)
        UpdateDeckCountCaption(static_cast<std::int16_t>(d));
}

void DealCardToTable(std::int16_t deck, std::int16_t player, std::int16_t slot, std::int16_t card,
                     bool advance) {
    if (card == -1 && IsDeckSlot(deck)) card = FindCard(deck, Game.nextDrawPositions[deck], false);
    DealCard(deck, player, slot, card, advance);
    if (Game.external_hand != kFalse) return;
    // The control is made even when nothing was dealt, in step with the model's count.
    const int index = LoadedCardControls - 1;
    PrepareCardControl(index);
    if (!CardTable::Contains(card)) return;
    const CardRecord& c = Cards[card];
    if (c.controlIndex != index || c.owner != player || c.pilePosition != kPileInPlay) return;
    ShowDealtCard(card, player, slot);
}

void LoadDeckControls() {
    for (int d = 0; d < DeckCount(); ++d)
        EnsureDeckControls(d);
}

void LoadDeckImages(bool keepPositions) {
    MainForm& table = Table();
    const int decks = DeckCount();
    for (int d = 0; d < decks; ++d) {
        EnsureDeckControls(d);
        controls::TranspImg& pile = *table.DeckImg(d);
        controls::TranspImg& discard = *table.DiscardImg(d);
        const DeckRecord& deck = Game.decks[d];
        if (HiddenFromThisSeat(d)) {
            pile.Surface().SetVisible(false);
            discard.Surface().SetVisible(false);
            continue;
        }
        if (IsDeckEmpty(static_cast<std::int16_t>(d))) pile.loadNewPicture(Game.backImages[d], true);
        if (deck.hideDiscardPile) discard.Surface().SetVisible(false);
        // The definition reader and the saved game's load refused a game whose pictures are
        // missing; one that went since only shows nothing, with the picture's own message.
        if (deck.resize) discard.loadNewPicture(Game.discardImages[d], true);
        if (!deck.transparentColor.empty()) {
            pile.MaskColor(AsColour(ParseColour(deck.transparentColor)));
            discard.MaskColor(AsColour(ParseColour(deck.transparentColor)));
        }
        UpdateDeckCountCaption(static_cast<std::int16_t>(d));
    }

    // Default columns: common decks and seats 1 and 2 from the left edge, seats 3 and 4 in the
    // middle, seats 5 and 6 from the right edge; a seat's further decks stand beside its first.
    const int W = table.Window().Width();
    const int H = table.Window().Height();
    std::array<int, 8> x{100, 100, 100, 0, 0, 0, 0, 0};
    std::array<int, 8> placed{};
    const auto hasOwnDeck = [](int seat) {
        return Game.playerCount >= seat && Game.players[seat].deckCount >= 1;
    };
    if (hasOwnDeck(3)) x[3] = static_cast<int>(std::nearbyint(W / 2.0 - WidthOf(table.DiscardImg, 3) / 2.0));
    if (hasOwnDeck(4)) x[4] = static_cast<int>(std::nearbyint(W / 2.0 - WidthOf(table.DiscardImg, 3) / 2.0));
    if (hasOwnDeck(5)) x[5] = W - (2 * WidthOf(table.DiscardImg, 5) + 100);
    if (hasOwnDeck(6)) x[6] = W - (2 * WidthOf(table.DiscardImg, 6) + 100);

    for (int d = 0; d < decks; ++d) {
        if (Game.deckSizes[d] < 1) continue;
        controls::TranspImg& pile = *table.DeckImg(d);
        controls::TranspImg& discard = *table.DiscardImg(d);
        const DeckRecord& deck = Game.decks[d];
        // The pictures come first: the columns are measured by them, and a control that has
        // shown nothing yet has no width.
        pile.loadNewPicture(
            IsDeckEmpty(static_cast<std::int16_t>(d)) ? Game.discardImages[d] : Game.backImages[d], true);
        const std::int16_t last = Game.lastDiscarded[d];
        const bool fit = deck.resize != kFalse;
        if (last < 0 || !CardTable::Contains(last))
            discard.loadNewPicture(Game.discardImages[d], true, fit);
        else
            // The pile shows its top card's face, also of a card discarded face down.
            discard.loadNewPicture(CardFacePath(last), true, fit);
        const auto o = static_cast<std::size_t>(std::clamp<int>(deck.owner, 0, 7));
        if (++placed[o] > 1) x[o] += 2 * discard.Surface().Width() + 200;
        if (!keepPositions) {
            pile.Surface().SetLeft(x[o]);
            discard.Surface().SetLeft(pile.Surface().Left() + discard.Surface().Width() + 50);
            if (o == 0)
                pile.Surface().SetTop(H / 2 - discard.Surface().Height() / 2);
            else if (o == 1 || o == 3 || o == 5)
                pile.Surface().SetTop(100);
            else if (o == 2 || o == 4 || o == 6)
                pile.Surface().SetTop(H - pile.Surface().Height());
            discard.Surface().SetTop(pile.Surface().Top());
        }
        if (!HiddenFromThisSeat(d)) {
            pile.Surface().SetVisible(true);
            if (deck.hideDiscardPile == kFalse) discard.Surface().SetVisible(true);
        }
    }
    if (!keepPositions) LoadLayout();
}

std::int16_t NewCardControl() {
    if (LoadedCardControls <= ControlFlags::kLast) {
        LoadedCardControls = static_cast<std::int16_t>(LoadedCardControls + 1);
        const auto index = static_cast<std::int16_t>(LoadedCardControls - 1);
        PrepareCardControl(index);
        return index;
    }
    // Every index was handed out (a long game, or a saved game that used the last one): the lowest
    // control that shows no card serves again. Both sides of a connection look alike and agree.
    MainForm& table = Table();
    for (int index = 0; index <= ControlFlags::kLast; ++index) {
        const controls::TranspImg* image = table.crd(index);
        if (image && !image->Surface().Tag().empty()) continue;
        PrepareCardControl(index);
        return static_cast<std::int16_t>(index);
    }
    // 32767 controls each showing a card: there are at most 500 cards.
    throw std::logic_error("every card control shows a card");
}

void LoadCardPicture(std::int16_t control, std::int16_t card, bool faceDown, bool applyRotation) {
    controls::TranspImg* image = Card(control);
    if (!image || !CardTable::Contains(card)) return;
    const CardRecord& c = Cards[card];
    const DeckRecord* deck = IsDeckSlot(c.deck) ? &Game.decks[c.deck] : nullptr;
    // The reset brings back magenta as the mask: the grey of a new control would make every
    // mid-grey of a card's picture see-through.
    image->reset();
    if (deck && !deck->transparentColor.empty())
        image->MaskColor(AsColour(ParseColour(deck->transparentColor)));
    image->loadNewPicture(faceDown ? CardBackImagePath(card) : CardFacePath(card));
    if (deck && deck->zoom != 100.0f && (!faceDown || HasCardBackProperty(card)))
        image->zoom(CardZoom(*image, deck->zoom));
    if (c.selectionMark != -1 && !image->selected()) image->selected(true);
    if (applyRotation && c.rotation != 0) image->rotation(c.rotation);
}

std::int16_t CardZoom(const controls::TranspImg& image, float deckZoom) {
    const int zoom = RoundToInt16(DeckZoom(deckZoom));
    const int side = std::max(image.Surface().ScaleWidth(), image.Surface().ScaleHeight());
    if (zoom <= 100 || side <= 0) return static_cast<std::int16_t>(zoom);
    // Enlarged no further than the largest zoomed look; a look larger already is not enlarged.
    return static_cast<std::int16_t>(std::min(zoom, std::max(100, kMaxZoomedCardSide * 100 / side)));
}

void PlaceCardOnTable(std::int16_t control, std::int16_t card) {
    controls::TranspImg* image = Card(control);
    if (!image || !CardTable::Contains(card)) return;
    CardRecord& c = Cards[card];
    c.faceShown = kTrue;
    if (IsDeckSlot(c.deck) && !Game.decks[c.deck].transparentColor.empty())
        image->MaskColor(AsColour(ParseColour(Game.decks[c.deck].transparentColor)));
    // The picture is loaded first and then turned, so that a turned card shows its own face.
    image->loadNewPicture(c.keptFaceDown ? CardBackImagePath(card) : CardFacePath(card));
    // Zoomed as every other way onto the table zooms a card (a draw, a load): a card placed at
    // the start must not change its size when the game is saved and loaded.
    const DeckRecord* deck = IsDeckSlot(c.deck) ? &Game.decks[c.deck] : nullptr;
    if (deck && deck->zoom != 100.0f && (c.keptFaceDown == kFalse || HasCardBackProperty(card)))
        image->zoom(CardZoom(*image, deck->zoom));
    if (c.keptFaceDown == kFalse && c.rotation != 0) RotateCard(control, c.rotation);
}

void PlaceOnPlayCards() {
    MainForm& table = Table();
    g_besideDeck.clear();
    int k = 0;
    for (int n = 1; n <= std::clamp<int>(Game.totalCards, 0, kMaxCards); ++n) {
        const auto card = static_cast<std::int16_t>(n);
        if (CardHasEffect(card, kOnPlay) == kFalse) continue;
        const std::int16_t index = NewCardControl();
        controls::TranspImg* image = table.crd(index);
        if (!image) continue;
        image->reset();
        Cards[card].controlIndex = index;
        Cards[card].pilePosition = kPileInPlay;
        image->Surface().SetTag(std::to_string(card));
        PlaceCardOnTable(index, card);
        if (!ApplySetupPosition(card, index)) {
            PlaceBesideDeck(card, k);
            g_besideDeck.emplace_back(card, k);
        }
        BringToFrontZOrder(kZCard, card, 0);
        image->Surface().SetVisible(true);
        image->Surface().BringToFront();
        ++k;
    }
}

bool ApplySetupPosition(std::int16_t card, std::int16_t control) {
    const std::string value = GetIni("setup default", "deckindex" + std::to_string(card), CurrentGameFile);
    if (value.empty()) return false;
    controls::TranspImg* image = Card(control);
    if (!image) return true;
    const std::vector<std::string> fields = GetFields(value, 3, ",");
    image->Surface().SetTop(LeadingNumber(fields[0]));
    image->Surface().SetLeft(LeadingNumber(fields[1]));
    const std::int16_t angle = LeadingInt16(fields[2]);
    if (angle != 0) RotateCard(control, angle);
    return true;
}

void RotateCard(std::int16_t control, std::int16_t angle) {
    controls::TranspImg* image = Card(control);
    if (!image) return;
    const std::int16_t card = CardShownBy(image);
    if (card == 0) return;
    if (angle == -1) angle = NextRotationAngle(static_cast<std::int16_t>(card));
    Cards[card].rotation = angle;
    LogCardRotated(static_cast<std::int16_t>(card));
    image->rotation(angle);
    image->Refresh();
    MoveAttachedMarkers(control, 0, 0, kMarkersTurn);
}

std::int16_t TakeCardToPlayer(std::int16_t card, std::int16_t player, std::int16_t k) {
    const std::int16_t index = NewCardControl();
    controls::TranspImg* image = Card(index);
    if (!image || !CardTable::Contains(card)) return index;
    CardRecord& c = Cards[card];
    c.owner = player;
    c.controlIndex = index;
    c.pilePosition = kPileInPlay;
    c.inHand = kTrue;
    c.eliminated = kFalse;
    c.inDiscardPile = kFalse;
    c.faceShown = ToFlag(player == Game.CurrentPlayer);
    // The control shows a card again: markers may be dropped on it.
    CardControlFree[index] = kFalse;
    image->Surface().SetTag(std::to_string(card));
    LoadCardPicture(index, card, player != Game.CurrentPlayer, false);

    const std::string section = IsDeckSlot(c.deck) ? Game.decks[c.deck].section : std::string();
    const std::vector<std::string> f = GetFields(GetIni(section, "cardOffset", CurrentGameFile), 4, ",");
    const auto whole = [&](std::size_t n, int otherwise) {
        const int v = RoundToInt32(LeadingNumber(f[n]));
        return v == 0 ? otherwise : v;
    };
    const int x = whole(0, 50), y = whole(1, 50), dx = whole(2, 100), dy = whole(3, 0);
    const PlayerAreaShape& area = PlayerAreas[std::clamp<int>(player, 1, kMaxPlayers) - 1];
    image->Surface().Move(area.left + x - image->GetOriginLeft() + (k - 1) * dx,
                          area.top + y - image->GetOriginTop() + (k - 1) * dy);
    image->Surface().SetVisible(true);
    image->Surface().BringToFront();
    UpdateHandSizeCaptions();
    return index;
}

void SendPlaceOfCard(std::int16_t control) {
    if (const controls::TranspImg* image = Table().crd(control))
        Outbox().SendCardMove(control, image->Surface().Left(), image->Surface().Top());
}

void RemoveCardControl(std::int16_t control) {
    MainForm& table = Table();
    if (controls::TranspImg* image = table.crd(control)) {
        image->Surface().SetTag("");
        if (control == 0)
            image->Surface().SetVisible(false);
        else
            table.crd.Unload(control);
    }
    if (ControlFlags::Contains(control)) CardControlFree[control] = kTrue;
}

void UpdateDeckCountCaption(std::int16_t deck) {
    MainForm& table = Table();
    const DeckPileTips tips = DeckCountTips(deck);
    if (controls::TranspImg* pile = table.DeckImg(deck)) pile->Surface().SetToolTipText(tips.drawPile);
    if (tips.discardPile)
        if (controls::TranspImg* discard = table.DiscardImg(deck))
            discard->Surface().SetToolTipText(*tips.discardPile);
}

void UpdateTitle() {
    Table().Window().SetCaption(TableCaption());
}

void ApplyMarkerTooltipSetting() {
    if (!GetBoolDirective("GAME", "displayMarkerTooltips", false)) return;
    MainForm& table = Table();
    for (int n = 1; n <= std::clamp<int>(GraphMarkerCount, 0, MarkerInstanceTable::kLast); ++n) {
        const MarkerInstanceRecord& marker = GraphMarkers[n];
        controls::TranspImg* image = table.mrk(n - 1);
        if (!image || marker.owner != Game.CurrentPlayer || !MarkerKindTable::Contains(marker.kind)) continue;
        image->Surface().SetToolTipText(MarkerKinds[marker.kind].label);
    }
}

void RestoreTablePositions(const PilePositions& piles) {
    MainForm& table = Table();
    for (int d = 0; d < DeckCount(); ++d) {
        EnsureDeckControls(d);
        const PilePosition& pile = piles[static_cast<std::size_t>(d)];
        const PilePosition& discard = piles[static_cast<std::size_t>(kMaxDecks + d)];
        table.DeckImg(d)->Surface().Move(pile.left, pile.top);
        table.DiscardImg(d)->Surface().Move(discard.left, discard.top);
    }
    const auto& g = Game.windowGeometry;
    // A window saved without a size (the record of a game that never showed its table) keeps the
    // window as it is rather than shrinking it to nothing.
    if (g[3] > 0 && g[4] > 0) table.Window().Move(g[2], g[1], g[4], g[3]);
}

bool DeckStandsInPanel(int deck) {
    return IsDeckSlot(deck) && GetIni(Game.decks[deck].section, "layout_panel", CurrentGameFile) == "INFO";
}

void LoadLayout() {
    MainForm& table = Table();
    const std::string& file = CurrentGameFile;
    const auto number = [](const std::vector<std::string>& fields, std::size_t n) {
        return RoundToInt32(LeadingNumber(fields[n]));
    };
    if (const std::string window = GetIni("GAME", "layout", file); !window.empty()) {
        const auto f = GetFields(window, 4, ",");
        table.Window().Move(number(f, 1), number(f, 0), number(f, 3), number(f, 2));
    }
    if (const std::string quick = GetIni("GAME", "quickmsg", file); quick.empty()) {
        table.QuickMsg.Move(200, 200);
    } else {
        const auto f = GetFields(quick, 2, ",");
        table.QuickMsg.Move(number(f, 1), number(f, 0));
    }
    if (const std::string background = GetIni("GAME", "background", file); !background.empty())
        table.BasePict.SetBackColor(AsColour(ParseColour(background)));
    for (int d = 0; d < DeckCount(); ++d) {
        EnsureDeckControls(d);
        // A deck may stand in the information panel, its positions then counted in the panel;
        // the next game of the same window may want it back on the table.
        platform::NativeWidget* container =
            DeckStandsInPanel(d) ? table.InfoPanel.Handle() : table.BasePict.Handle();
        table.DeckImg(d)->Surface().SetContainer(container);
        table.DiscardImg(d)->Surface().SetContainer(container);
        const std::string section = DeckLayoutSection(d);
        if (const std::string rect = GetIni(section, "layout_deck", file); !rect.empty()) {
            const auto f = GetFields(rect, 2, ",");
            table.DeckImg(d)->Surface().Move(number(f, 1), number(f, 0));
        }
        if (const std::string rect = GetIni(section, "layout_discard", file); !rect.empty()) {
            const auto f = GetFields(rect, 2, ",");
            table.DiscardImg(d)->Surface().Move(number(f, 1), number(f, 0));
        }
        // A split deck may hide its discard pile; a pile the loading of the deck images hid (the
        // deck is another seat's secret, or empty of cards) stays hidden.
        if (GetListValue(Game.decks[d].splitText, "hideDiscardPile", "|") == "true")
            table.DiscardImg(d)->Surface().SetVisible(false);
    }
}
