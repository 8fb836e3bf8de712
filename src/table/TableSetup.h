// Dressing the table window for a game and dealing it: the set-up that the game list and direct
// play run for a new game, and the procedures of the table's card and deck controls it uses.
#pragma once

#include <cstdint>
#include <string>

class MainForm;

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

void LoadDeckControls();
void LoadDeckImages(bool keepPositions);
// The next card control, ready for a card: the grey mask, enabled; its index.
std::int16_t NewCardControl();
void LoadCardPicture(std::int16_t control, std::int16_t card, bool faceDown, bool applyRotation);
void PlaceCardOnTable(std::int16_t control, std::int16_t card);
void PlaceOnPlayCards();
bool ApplySetupPosition(std::int16_t card, std::int16_t control);
void RotateCard(std::int16_t control, std::int16_t angle);
// The card's control goes; the control is marked free so that nothing attaches to it again.
void RemoveCardControl(std::int16_t control);
void UpdateDeckCountCaption(std::int16_t deck);
void UpdateTitle();
// The layout keys of the game in use: window, quick-message label, background colour, decks.
void LoadLayout();
