// The card actions of the table window: the pop-up menus of a card, a deck and a discard pile,
// the checks that run on the acting side before an action, the bodies that change the table
// (run alike by the acting side and, in direct play, by the other side's commands), drawing,
// the mouse on cards, decks and piles, and the end of the game. The object and its wiring are in
// CardActions.cpp, the checks and the card menu's actions in CardMenus.cpp, the bodies in
// CardBodies.cpp, the decks and discard piles in DeckActions.cpp, the mouse in CardMouse.cpp.
//
// Bodies never check and never send. The acting side sends each action once, before or after
// its body, and a send lets window events run: nothing holds a control index or a card across
// a send without checking that the control still shows that card afterwards.
#pragma once

#include "controls/TranspImg.h"
#include "platform/Graphics.h"
#include "platform/Menu.h"
#include "state/TableState.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class MainForm;
class ZoomForm;

class CardActions {
  public:
    explicit CardActions(MainForm& table);
    ~CardActions();
    CardActions(const CardActions&) = delete;
    CardActions& operator=(const CardActions&) = delete;

    // The window's values the bodies and the other side's commands share; -1 is none.
    std::int16_t MenuCard = -1;
    std::int16_t MenuDeck = -1;
    std::int16_t PressedDeck = -1;
    std::int16_t ZoomCard = -1;
    bool RubberBandActive = false;
    // Options of the pile viewer that the show_hand effect sets.
    Flag ShowHidden = kFalse;
    Flag TakeCard = kFalse;

    // The card menu.
    platform::Menu ActionsMenu;
    platform::Menu RotateCrd{ActionsMenu, "Rotate"};
    platform::Menu InvertCardMenuItem{ActionsMenu, "Invert"};
    platform::Menu Flip{ActionsMenu, "Flip"};
    platform::Menu DiscardAction{ActionsMenu, "Discard"};
    platform::Menu EliminateAction{ActionsMenu, "Eliminate"};
    platform::Menu MoveToHandMenuAction{ActionsMenu, "Move To Hand"};
    platform::Menu TakeCardMenuItem{ActionsMenu, "Take the card"};
    platform::Menu InfoMenuItem{ActionsMenu, "Info"};
    platform::Menu Move2BottomOfDrawDeckItem{ActionsMenu, "Move to bottom of Draw deck"};
    platform::Menu GiveToMenu{ActionsMenu, "Give to player"};
    platform::Menu PutBackAndReshuffle{ActionsMenu, "Put it in the deck and reshuffle"};
    platform::Menu EffectMenu{ActionsMenu, "Effect"};
    platform::Menu DiscardAllBtn{ActionsMenu, "Discard All"};
    platform::Menu FlipAllMenuItem{ActionsMenu, "Flip All"};
    // giveTo(1) to giveTo(7), one per seat; effect(0) to effect(3), one per effect slot.
    std::array<std::unique_ptr<platform::Menu>, kMaxPlayers + 1> giveTo;
    std::array<std::unique_ptr<platform::Menu>, kEffectSlots> effect;

    // The deck menu and the discard-pile menu.
    platform::Menu DrawDeckMenu;
    platform::Menu DisplayDrawDeckMenuItem{DrawDeckMenu, "Display deck"};
    platform::Menu ReshuffleDrawDeckMenuItem{DrawDeckMenu, "Reshuffle"};
    platform::Menu DummyDrawDeckItem{DrawDeckMenu, "Dummy"};
    platform::Menu DiscardPileMenu;
    platform::Menu DisplayDrawPileItem{DiscardPileMenu, "Display Deck"};
    platform::Menu ReshuffleAction{DiscardPileMenu, "Reshuffle"};
    platform::Menu DrawLastDiscardItem{DiscardPileMenu, "Play  last card"};
    platform::Menu MoveLastDiscard2Bottom{DiscardPileMenu, "Move to bottom"};

    // The rectangle drawn on the bare table to select the cards whose centres it holds.
    platform::Shape SelectionRectangle;

    // The discard pile window; until the table has one, a pile that may be looked at opens nothing.
    std::function<void(std::int16_t deck)> OpenDiscardWindow;

    // The card menu's fixed items from the game's [CARDMENU] keys; run after a game starts or loads.
    void SetSpecialMenu();

    // The checked actions of the acting side, on the card of element MenuCard.
    void RotateCrd_Click();
    void InvertCardMenuItem_Click();
    void Flip_Click();
    void DiscardCardProcedure();
    void EliminateAction_Click();
    void MoveToHandMenuAction_Click();
    void TakeCardMenuItem_Click();
    void giveTo_Click(int seat);
    void InfoMenuItem_Click();
    void effect_Click(int index);
    void Move2BottomOfDrawDeckItem_Click();
    void PutBackAndReshuffle_Click();
    void DiscardAllSelectedCards();
    void FlipAllMenuItem_Click();
    void EndGameBtn_Click();

    // The deck and the discard pile.
    void DeckImg_DblClick(std::int16_t deck);
    void DisplayDrawDeckMenuItem_Click();
    void ReshuffleDrawDeckMenuItem_Click();
    void ShowDiscardPile(std::int16_t deck);
    void DrawLastDiscardItem_Click();
    void MoveLastDiscard2Bottom_Click();
    void ReshuffleAction_Click();

    // The mouse (points in pixels of the control, as the card image control reports them).
    void crd_MouseDown(int index, int button, int shift, platform::PixelPoint at);
    // False when the move was refused or ended the drag; the balloon and panel then stay as they are.
    bool crd_MouseMove(int index, int button, int shift, platform::PixelPoint at);
    void crd_MouseUp(int index, int button, int shift, platform::PixelPoint at);
    void crd_DblClick(int index);
    void DeckImg_MouseDown(std::int16_t deck, int button, platform::PixelPoint at);
    void DeckImg_MouseMove(std::int16_t deck, platform::PixelPoint at);
    void DiscardImg_MouseDown(std::int16_t deck, int button, platform::PixelPoint at);
    void DiscardImg_MouseMove(std::int16_t deck, platform::PixelPoint at);
    void DiscardImg_MouseUp(std::int16_t deck, int button);
    void BasePict_MouseDown(int button, float x, float y);
    void BasePict_MouseMove(float x, float y);
    void BasePict_MouseUp(int button, float x, float y);

    // The bodies.
    void DiscardCardProcedure_body(std::int16_t card, std::int16_t element);
    void EliminateCardBody(std::int16_t element, std::int16_t card);
    // The card's element is MenuCard.
    void Flip_Click_body(std::int16_t card);
    void TakeCard_body(std::int16_t element, std::int16_t card, std::int16_t player);
    void Move2BottomOfDrawDeck_body(std::int16_t card);
    void PutBackAndReshuffle_body(std::int16_t element);
    // The card of the element leaves the table and waits in its deck for the shuffle that follows.
    void PutBack_body(std::int16_t element);
    void InvertCard_body(std::int16_t element);
    void GiveCard_body(std::int16_t element, std::int16_t card, std::int16_t seat);
    void EndGame_body();
    // A card found at the deck's next draw position, already given to its drawer, goes to the
    // table on `control` (or into the hand window). `mirrored`: the other side's draw repeated here.
    void DrawNewCard(std::int16_t deck, std::int16_t card, std::int16_t control, bool mirrored);
    // The top card of the pile goes back onto the table for `owner` (the seat that played it).
    void DP_CrdPlayedFromDiscard_body(std::int16_t deck, std::int16_t owner);
    void MoveDiscard2Bottom_body(std::int16_t deck);
    void ReshuffleDrawDeck_body(std::int16_t deck);
    void ReshuffleDiscardPile_body(std::int16_t deck);

    // The card the element shows (its Tag); 0 when it shows none.
    std::int16_t CardOfElement(std::int16_t element) const;
    // The card leaves the table: its markers, its stacking-order entry, its selection and control.
    void TakeOffTable(std::int16_t card, std::int16_t element);
    // A card's picture on its deck's discard pile (the face, whatever way it lay), or the empty
    // pile's picture.
    void ShowPileTop(std::int16_t deck);
    // The local hand holds as many cards as the game allows (the refusal is shown).
    static bool HandIsFull();
    // The zoom window shows the card (the table's or the hand window's double click).
    void ZoomOn(std::int16_t card);

  private:
    void OpenCardMenu(int index);
    void BuildGiveToMenu(std::int16_t card);
    void WireCard(int index, controls::TranspImg& card);
    void WireDeck(int deck);
    void DragPileImage(controls::TranspImg* image, std::int16_t deck, platform::PixelPoint at);
    // Runs `act` for each selected card that still lies on its control and passes the checks a
    // single action of that word makes (each refusal shows its message and the next card goes on).
    void ForEachSelectedCard(const std::string& word, const std::string& verb, const std::string& enemyHand,
                             const std::function<void(std::int16_t card, std::int16_t element)>& act);
    // The checks, each showing its message when it refuses.
    bool EnemyHandRefuses(std::int16_t card, std::int16_t element, const std::string& message) const;
    static bool RestrictionRefuses(std::int16_t card, const std::string& word, const std::string& message);
    // The deck is another seat's and this side may not look at it.
    static bool OpponentsDeck(std::int16_t deck);
    // The card's picture and details may be seen from this seat.
    static bool FaceVisibleHere(std::int16_t card, std::int16_t element);

    MainForm& table_;
    std::unique_ptr<ZoomForm> zoom_;
    bool useFlip_ = true;
    bool useDiscard_ = true;
    // The mouse at the last button press on a card or pile (pixels of that control).
    platform::PixelPoint kept_{};
    // The dragged card lay in a hand when the drag started, and a move of it is refused.
    bool draggedInHand_ = false;
    bool dragRefused_ = false;
};

// The actions of the open table window; nullptr when none is open.
CardActions* Actions();
