// The card actions object: its menus wired to their actions, the table's cards, decks and
// discard piles wired to the mouse handlers, and the card an element shows (the other rooms of the
// card actions are listed in CardActions.h).
#include "table/CardActions.h"
#include "table/CardTags.h"

#include "table/DiscardPileForm.h"
#include "table/HandCards.h"
#include "table/HandForm.h"
#include "table/MainForm.h"
#include "table/ShowCardsForm.h"
#include "table/ZoomForm.h"

#include <cstdlib>

namespace {

CardActions* g_actions = nullptr;

} // namespace

CardActions* Actions() {
    return g_actions;
}

CardActions::CardActions(MainForm& table)
    : SelectionRectangle(table.BasePict.Handle()), table_(table), zoom_(std::make_unique<ZoomForm>()) {
    for (auto* hidden :
         {&InvertCardMenuItem, &MoveToHandMenuAction, &InfoMenuItem, &Move2BottomOfDrawDeckItem, &GiveToMenu,
          &PutBackAndReshuffle, &EffectMenu, &DiscardAllBtn, &FlipAllMenuItem})
        hidden->SetVisible(false);
    for (int seat = 1; seat <= kMaxPlayers; ++seat) {
        giveTo[static_cast<std::size_t>(seat)] = std::make_unique<platform::Menu>(GiveToMenu);
        giveTo[static_cast<std::size_t>(seat)]->SetIndex(seat);
        giveTo[static_cast<std::size_t>(seat)]->OnClick = [this, seat] { giveTo_Click(seat); };
    }
    for (int k = 0; k < kEffectSlots; ++k) {
        effect[static_cast<std::size_t>(k)] = std::make_unique<platform::Menu>(EffectMenu);
        effect[static_cast<std::size_t>(k)]->SetIndex(k);
        effect[static_cast<std::size_t>(k)]->OnClick = [this, k] { effect_Click(k); };
    }
    RotateCrd.OnClick = [this] { RotateCrd_Click(); };
    InvertCardMenuItem.OnClick = [this] { InvertCardMenuItem_Click(); };
    Flip.OnClick = [this] { Flip_Click(); };
    DiscardAction.OnClick = [this] { DiscardCardProcedure(); };
    EliminateAction.OnClick = [this] { EliminateAction_Click(); };
    MoveToHandMenuAction.OnClick = [this] { MoveToHandMenuAction_Click(); };
    TakeCardMenuItem.OnClick = [this] { TakeCardMenuItem_Click(); };
    InfoMenuItem.OnClick = [this] { InfoMenuItem_Click(); };
    Move2BottomOfDrawDeckItem.OnClick = [this] { Move2BottomOfDrawDeckItem_Click(); };
    PutBackAndReshuffle.OnClick = [this] { PutBackAndReshuffle_Click(); };
    DiscardAllBtn.OnClick = [this] { DiscardAllSelectedCards(); };
    FlipAllMenuItem.OnClick = [this] { FlipAllMenuItem_Click(); };
    DisplayDrawDeckMenuItem.OnClick = [this] { DisplayDrawDeckMenuItem_Click(); };
    ReshuffleDrawDeckMenuItem.OnClick = [this] { ReshuffleDrawDeckMenuItem_Click(); };
    DisplayDrawPileItem.OnClick = [this] {
        if (MenuDeck != -1) ShowDiscardPile(MenuDeck);
    };
    ReshuffleAction.OnClick = [this] { ReshuffleAction_Click(); };
    DrawLastDiscardItem.OnClick = [this] { DrawLastDiscardItem_Click(); };
    MoveLastDiscard2Bottom.OnClick = [this] { MoveLastDiscard2Bottom_Click(); };

    SelectionRectangle.SetVisible(false);
    SelectionRectangle.SetBorderWidth(1);

    // The table window wires its own card events (the balloon, the panel); the actions come first.
    for (int index : table.crd.Indexes())
        WireCard(index, *table.crd(index));
    auto previous = table.crd.OnLoaded;
    table.crd.OnLoaded = [this, previous](int index, controls::TranspImg& card) {
        if (previous) previous(index, card);
        WireCard(index, card);
    };
    for (int deck : table.DeckImg.Indexes())
        WireDeck(deck);
    table.DeckImg.OnLoaded = [this](int deck, controls::TranspImg&) { WireDeck(deck); };
    table.DiscardImg.OnLoaded = [this](int deck, controls::TranspImg&) { WireDeck(deck); };
    table.EndGameBtn.Click = [this] { EndGameBtn_Click(); };
    table.BasePict.OnMouseDown = [this](const platform::MouseEvent& e) {
        BasePict_MouseDown(e.button, e.x, e.y);
    };
    table.BasePict.OnMouseMove = [this](const platform::MouseEvent& e) { BasePict_MouseMove(e.x, e.y); };
    table.BasePict.OnMouseUp = [this](const platform::MouseEvent& e) {
        BasePict_MouseUp(e.button, e.x, e.y);
    };
    table.BasePict.OnDragDrop = [](const platform::DragEvent& e) { BasePict_DragDrop(e.source, e.x, e.y); };
    OpenDiscardWindow = [](std::int16_t deck) { DiscardForm::Open(deck); };
    g_actions = this;
}

CardActions::~CardActions() {
    ShowCardsForm::CloseCurrent();
    DiscardForm::CloseCurrent();
    DestroyHandForm();
    if (g_actions == this) g_actions = nullptr;
}

void CardActions::WireCard(int index, controls::TranspImg& card) {
    auto hover = card.MouseMove;
    card.MouseDown = [this, index](std::int16_t button, std::int16_t shift, platform::PixelPoint at) {
        crd_MouseDown(index, button, shift, at);
    };
    card.MouseMove = [this, index, hover](std::int16_t button, std::int16_t shift, platform::PixelPoint at) {
        if (crd_MouseMove(index, button, shift, at) && hover) hover(button, shift, at);
    };
    card.MouseUp = [this, index](std::int16_t button, std::int16_t shift, platform::PixelPoint at) {
        crd_MouseUp(index, button, shift, at);
    };
    card.DblClick = [this, index] { crd_DblClick(index); };
    // A hand card dropped on a card lands on the table all the same.
    card.Surface().OnDragDrop = [&card](const platform::DragEvent& e) {
        BasePict_DragDrop(e.source, card.Surface().Left() + e.x, card.Surface().Top() + e.y);
    };
}

void CardActions::WireDeck(int deck) {
    const auto d = static_cast<std::int16_t>(deck);
    if (controls::TranspImg* pile = table_.DeckImg(deck)) {
        pile->MouseDown = [this, d](std::int16_t button, std::int16_t, platform::PixelPoint at) {
            DeckImg_MouseDown(d, button, at);
        };
        pile->MouseMove = [this, d](std::int16_t, std::int16_t, platform::PixelPoint at) {
            DeckImg_MouseMove(d, at);
        };
        pile->MouseUp = [this](std::int16_t, std::int16_t, platform::PixelPoint) { PressedDeck = -1; };
        pile->DblClick = [this, d] { DeckImg_DblClick(d); };
    }
    if (controls::TranspImg* discard = table_.DiscardImg(deck)) {
        discard->MouseDown = [this, d](std::int16_t button, std::int16_t, platform::PixelPoint at) {
            DiscardImg_MouseDown(d, button, at);
        };
        discard->MouseMove = [this, d](std::int16_t, std::int16_t, platform::PixelPoint at) {
            DiscardImg_MouseMove(d, at);
        };
        discard->MouseUp = [this, d](std::int16_t button, std::int16_t, platform::PixelPoint) {
            DiscardImg_MouseUp(d, button);
        };
        discard->DblClick = [this, d] { ShowDiscardPile(d); };
    }
}

std::int16_t CardActions::CardOfElement(std::int16_t element) const {
    return CardShownBy(table_.crd(element));
}
