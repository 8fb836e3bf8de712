// Dressing the table window for a game and dealing it: the set-up that the game list and direct
// play run for a new game, and the procedures of the table's card and deck controls it uses.
#pragma once

#include "state/TableState.h"

#include <array>
#include <cstdint>
#include <string>

class MainForm;
namespace controls {
class TranspImg;
}

// Reads the definition (LoadGameDefinition) for a table to be laid out from it: a game whose deck
// pictures the table cannot find is refused too, with a message (MissingDeckPicture). False when
// refused; nothing is dealt then.
bool LoadDefinitionForTable(const std::string& gameFile);
// Reads the definition and sets the table up for a new game, as the game list starts one: the
// definition, its copyright picture, the table's interaction state, the seats' areas, the
// table's look, the deck controls, the opening deal, the cards that start on the table and the
// deck pictures. False, with nothing dealt, when the definition is refused.
bool SetUpNewGame(MainForm& table, const std::string& gameFile);
// The part of it after the definition is read: the table's state, the seats' areas, the look,
// the decks, the opening deal, the cards that start on the table and the deck pictures.
void SetUpDealtTable(MainForm& table);

// Background, seat labels, hand lines and selection colour of the game in use.
void SetupTableAppearance();
void SetPlayerNameLabels();

// The opening deal of every deck, then the decks' count tips.
void DealInitialCards();
// Deals one card (see the model's DealCard) and, with hands on the table, shows it in the
// receiver's area with its face for the local seat and its back for the others.
void DealCardToTable(std::int16_t deck, std::int16_t player, std::int16_t slot, std::int16_t card,
                     bool advance);

// Takes every card off the table's controls: element 0 hidden, the others unloaded.
void ClearTableControls();
void LoadDeckControls();
void LoadDeckImages(bool keepPositions);
// Reads [GAME] useAntialias of the game in use, which every card control made from now on follows.
void ReadCardSmoothing();
// Card control `index` (loaded when it is not), ready for a card: the grey mask, enabled,
// smoothing as the game asks.
void PrepareCardControl(int index);
// The next card control, ready for a card: the grey mask, enabled; its index.
std::int16_t NewCardControl();
void LoadCardPicture(std::int16_t control, std::int16_t card, bool faceDown, bool applyRotation);
// The largest side, in pixels, to which a deck's zoom enlarges a card's look: 512, a megabyte of
// pixels. Zoomed looks are shared by the cards that show one picture at one turn and zoom, and no
// card holds more than one: a full table of 500 cards holds at most 500 MB of them, whatever the
// zoom a definition or a saved game asks for.
inline constexpr int kMaxZoomedCardSide = 512;
// The zoom a card control shows its deck's zoom with: the deck's, less where it would enlarge the
// control's present look beyond kMaxZoomedCardSide.
std::int16_t CardZoom(const controls::TranspImg& image, float deckZoom);
void PlaceCardOnTable(std::int16_t control, std::int16_t card);
void PlaceOnPlayCards();
bool ApplySetupPosition(std::int16_t card, std::int16_t control);
// Turns the card on a control to an angle (-1: the next of its deck's angles), logs it and puts
// the markers lying on it back in place.
void RotateCard(std::int16_t control, std::int16_t angle);
// Puts a card taken from a pile into a seat's area as the k-th of a row (from 1), face up for the
// local seat only, placed by its deck's cardOffset; the new control's index.
std::int16_t TakeCardToPlayer(std::int16_t card, std::int16_t player, std::int16_t k);
// The card's control goes; the control is marked free so that nothing attaches to it again.
void RemoveCardControl(std::int16_t control);
// Tells the other side of direct play where the card that the control shows lies here. For a card
// whose place only this side's view decides: beside a pile the player dragged on this table alone,
// or in the middle of the part of the table this window shows.
void SendPlaceOfCard(std::int16_t control);
void UpdateDeckCountCaption(std::int16_t deck);
void UpdateTitle();
// With [GAME] displayMarkerTooltips, each image marker of the local seat tips its kind's label.
void ApplyMarkerTooltipSetting();
// Top and left (twips) of a deck's draw pile or discard pile, as a saved game keeps them.
struct PilePosition {
    std::int16_t top = 0;
    std::int16_t left = 0;
};
// The draw piles of decks 0 to 11, then their discard piles.
using PilePositions = std::array<PilePosition, 2 * kMaxDecks>;
// Puts the piles and the table window where a saved game had them.
void RestoreTablePositions(const PilePositions& piles);

// The deck's piles stand in the information panel ([deck] layout_panel=INFO), their places
// counted in the panel.
bool DeckStandsInPanel(int deck);
// The layout keys of the game in use: window, quick-message label, background colour, decks.
void LoadLayout();
