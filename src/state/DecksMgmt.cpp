#include "state/DecksMgmt.h"

#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Codec.h"
#include "state/EffectMgmt.h"
#include "state/HandMgmt.h"
#include "state/Helpers.h"
#include "state/TableState.h"
#include "state/TableView.h"

#include <algorithm>
#include <vector>

namespace {

// The cards in use: 1 to the total, never beyond the card table.
int LastCard() {
    return std::clamp<int>(Game.totalCards, 0, kMaxCards);
}

std::int16_t AsInt16(int value) {
    return ClampToInt16(value);
}

// Deck numbers reach these operations from saved games and peers as well: one outside the deck
// table names no deck.
bool IsDeck(int deck) {
    return DeckTable<DeckRecord>::Contains(deck);
}

// A card that lies in a hand is never gathered by a shuffle. An ON_HAND card dealt at load has no
// control yet, but its position (in play) already keeps it out of every mode. The in-hand flag is
// not asked beyond the in-hand test: in a game whose hands lie on the table a card discarded
// straight from its owner's area keeps the flag, and it belongs to the discard pile all the same.
bool IsHeld(int card) {
    return IsCardInHand(Cards[card].controlIndex, AsInt16(card));
}

// While the game is being set up an ON_PLAY card waits at position 0 until it is put on the table;
// it belongs to no pile until then. Once play has started, position 0 means that the card was put
// back into its deck and waits for the shuffle, ON_PLAY or not.
bool AwaitsTable(int card) {
    const CardRecord& c = Cards[card];
    return Game.GamePhase == kPhaseGameList && !c.inDiscardPile && c.pilePosition == 0 &&
           CardHasEffect(AsInt16(card), kOnPlay);
}

// The cards a shuffle of the deck takes, in card order. Counting and placing both use this one
// list, so that every taken card gets a place and every place gets a card.
std::vector<int> GatherForShuffle(int deck, bool discard, bool drawPile) {
    std::vector<int> taken;
    for (int card = 1; card <= LastCard(); ++card) {
        const CardRecord& c = Cards[card];
        if (c.deck != deck || c.eliminated || IsHeld(card)) continue;
        bool take;
        if (drawPile)
            take = !c.inDiscardPile && c.pilePosition >= 0 && !AwaitsTable(card);
        else if (discard)
            take = (c.inDiscardPile || c.controlIndex == -1) && c.pilePosition != kPileInPlay &&
                   c.pilePosition != kPileEliminated && !AwaitsTable(card);
        else
            take = !c.inDiscardPile && c.pilePosition == 0 && !CardHasEffect(AsInt16(card), kOnPlay);
        if (take) taken.push_back(card);
    }
    return taken;
}

std::int16_t RandomRotation(const DeckRecord& record) {
    const int count = CountFields(record.rotate, ",");
    return LeadingInt16(GetField(record.rotate, RandomInt(count), ","));
}

// Numbers the deck's draw pile 1..N again, keeping its order (after cards left it).
void RenumberDrawPile(int deck) {
    const std::vector<std::int16_t> pile = DrawPileInOrder(AsInt16(deck));
    for (std::size_t i = 0; i < pile.size(); ++i)
        Cards[pile[i]].pilePosition = AsInt16(static_cast<int>(i) + 1);
}

// Puts a card under the draw pile of another deck.
void MoveUnderDeck(int card, int from, int to, std::int16_t owner) {
    CardRecord& c = Cards[card];
    c.owner = owner;
    c.deck = AsInt16(to);
    Game.deckSizes[from] = AsInt16(Game.deckSizes[from] - 1);
    Game.deckSizes[to] = AsInt16(Game.deckSizes[to] + 1);
    // Under the cards already there: one past the last placed card, even when the deck also holds
    // cards that are not in its draw pile (hand or ON_PLAY cards).
    int placed = 0;
    for (int other = 1; other <= LastCard(); ++other)
        if (Cards[other].deck == to && !Cards[other].inDiscardPile && Cards[other].pilePosition >= 1)
            ++placed;
    c.pilePosition = AsInt16(placed); // the moved card still holds its old place, so it is counted
}

// A new deck made from deck `from` at load; -1 when the deck table is full.
int AddDeckLike(int from) {
    if (Game.deckCount >= kMaxDecks) return -1;
    const int made = Game.deckCount;
    Game.deckCount = AsInt16(made + 1);
    Game.decks[made] = Game.decks[from];
    Game.deckSizes[made] = 0;
    Game.nextDrawPositions[made] = 1;
    Game.nextDiscardPositions[made] = 1;
    Game.lastDiscarded[made] = -1;
    Game.backImages[made] = Game.backImages[from];
    Game.discardImages[made] = Game.discardImages[from];
    return made;
}

void ReportDeckTableFull(int deck) {
    ShowMsg("Too many decks: [" + Game.decks[deck].section + "] cannot be split further (at most " +
            std::to_string(kMaxDecks) + " decks)");
}

} // namespace

namespace {

// One pass over the card table and a sort, so that a whole pile costs no more than a few passes.
std::vector<std::int16_t> PileInOrder(std::int16_t deck, bool discard) {
    std::vector<std::int16_t> pile;
    if (!IsDeck(deck)) return pile;
    for (int card = 1; card <= LastCard(); ++card) {
        const CardRecord& c = Cards[card];
        if (c.deck == deck && (c.inDiscardPile != kFalse) == discard && c.pilePosition >= 1)
            pile.push_back(AsInt16(card));
    }
    std::stable_sort(pile.begin(), pile.end(), [](std::int16_t a, std::int16_t b) {
        return Cards[a].pilePosition < Cards[b].pilePosition;
    });
    return pile;
}

} // namespace

std::vector<std::int16_t> DrawPileInOrder(std::int16_t deck) {
    return PileInOrder(deck, false);
}

std::vector<std::int16_t> DiscardPileInOrder(std::int16_t deck) {
    return PileInOrder(deck, true);
}

std::vector<std::int16_t> BuildRandomOrder(std::int16_t n, bool keepOrder) {
    const int count = std::clamp<int>(n, 0, kMaxCards);
    std::vector<std::int16_t> order(static_cast<std::size_t>(count));
    if (keepOrder) {
        for (int k = 1; k <= count; ++k)
            order[static_cast<std::size_t>(k - 1)] = AsInt16(k);
        return order;
    }
    // Each number takes a random free place, every place equally likely: a Fisher-Yates pass
    // over the places, in linear time whatever the size.
    for (int k = 1; k <= count; ++k)
        order[static_cast<std::size_t>(k - 1)] = AsInt16(k);
    for (int k = count; k >= 2; --k)
        std::swap(order[static_cast<std::size_t>(k - 1)], order[static_cast<std::size_t>(RandomInt(k) - 1)]);
    return order;
}

void ShuffleDeck(std::int16_t deck, bool discard, bool drawPile) {
    if (!IsDeck(deck)) return;
    const DeckRecord& record = Game.decks[deck];
    const std::vector<int> taken = GatherForShuffle(deck, discard, drawPile);
    const int n = static_cast<int>(taken.size());
    const std::vector<std::int16_t> order = BuildRandomOrder(AsInt16(n), record.noReshuffle != kFalse);
    for (std::size_t i = 0; i < order.size(); ++i) {
        CardRecord& c = Cards[taken[i]];
        c.inDiscardPile = kFalse;
        c.controlIndex = -1;
        // Back in the draw pile a card lies face down and in no hand, as the other side's copy of
        // the new order leaves it: a card discarded from a hand on the table kept its in-hand flag.
        c.inHand = kFalse;
        c.faceShown = kFalse;
        c.pilePosition = order[i];
        c.rotation = record.shuffleAndRotate ? RandomRotation(record) : 0;
    }
    View().DeckShuffled(deck);
}

std::int16_t FindCard(std::int16_t deck, std::int16_t position, bool inDiscard) {
    for (int card = 1; card <= LastCard(); ++card) {
        const CardRecord& c = Cards[card];
        if (c.deck == deck && (c.inDiscardPile != kFalse) == inDiscard && c.pilePosition == position)
            return AsInt16(card);
    }
    return -1;
}

bool IsDeckEmpty(std::int16_t deck) {
    if (!IsDeck(deck)) return true;
    const std::int16_t next = Game.nextDrawPositions[deck];
    return next > Game.deckSizes[deck] || FindCard(deck, next, false) == -1;
}

bool IsCardEliminated(std::int16_t card) {
    return CardTable::Contains(card) && Cards[card].eliminated != kFalse;
}

std::vector<std::int16_t> ListHandCards(std::int16_t player) {
    std::vector<std::int16_t> hand;
    for (int slot = 1; slot <= kMaxCards; ++slot)
        if (Cards[slot].owner == player && IsCardInHand(Cards[slot].controlIndex, AsInt16(slot)))
            hand.push_back(AsInt16(slot));
    return hand;
}

std::vector<std::int16_t> ListDrawPileCards(std::int16_t deck, std::int16_t maxCount) {
    std::vector<std::int16_t> pile;
    if (!IsDeck(deck)) return pile;
    // One ordered pass over the pile instead of a search of the card table per position.
    for (std::int16_t card : DrawPileInOrder(deck)) {
        const CardRecord& c = Cards[card];
        if (c.pilePosition < Game.nextDrawPositions[deck]) continue;
        if (c.pilePosition > Game.deckSizes[deck]) break;
        if (c.faceShown) continue;
        pile.push_back(card);
        if (static_cast<int>(pile.size()) == maxCount || pile.size() == kMaxCards) break;
    }
    return pile;
}

std::int16_t CountHandCards(std::int16_t player) {
    int count = 0;
    for (int card = 1; card <= LastCard(); ++card)
        if (Cards[card].owner == player && IsCardInHand(Cards[card].controlIndex, AsInt16(card))) ++count;
    return AsInt16(count);
}

std::int16_t CountPileCards(std::int16_t deck, bool discard) {
    int count = 0;
    for (int card = 1; card <= LastCard(); ++card) {
        const CardRecord& c = Cards[card];
        if (c.deck != deck) continue;
        if (discard ? c.inDiscardPile != kFalse
                    : !c.inDiscardPile && c.pilePosition >= 0 && !IsCardInHand(c.controlIndex, AsInt16(card)))
            ++count;
    }
    return AsInt16(count);
}

void CloseDrawPileGaps(std::int16_t deck, std::int16_t from) {
    if (!IsDeck(deck)) return;
    const int size = Game.deckSizes[deck];
    // Each card from `from` on moves down by the empty places below it.
    int next = from;
    for (std::int16_t card : DrawPileInOrder(deck)) {
        const int position = Cards[card].pilePosition;
        if (position < from || position > size) continue;
        Cards[card].pilePosition = AsInt16(next++);
    }
}

bool IsActionAllowed(std::int16_t player, const std::string& action, std::int16_t card) {
    if (DesignMode || ArbitratorLoggedIn) return true;
    static const char* const kGuarded[] = {"FLIP", "DISCARD", "ELIMINATE", "ROTATE", "DRAW"};
    const std::string upper = platform::AnsiUpper(action);
    if (std::none_of(std::begin(kGuarded), std::end(kGuarded),
                     [&](const char* name) { return upper == name; }))
        return true;
    if (!CardTable::Contains(card)) return true;
    const CardRecord& c = Cards[card];
    if (c.owner == player) return true;
    if (!IsDeck(c.deck)) return true;
    // A plain substring test, so that the names need no particular separator.
    return Game.decks[c.deck].restricted_actions.find(action) == std::string::npos;
}

std::int16_t FindPlayerDeck(std::int16_t player) {
    for (int deck = 0; deck < Game.deckCount && deck < kMaxDecks; ++deck)
        if (Game.decks[deck].owner == player) return AsInt16(deck);
    return -1;
}

void SplitDeckAmongPlayers() {
    const int decks = std::min<int>(Game.deckCount, kMaxDecks);
    for (int d = 0; d < decks; ++d) {
        if (!Game.decks[d].split || Game.playerCount < 1) continue;
        const int size = Game.deckSizes[d];
        int player = 0;
        for (int position = 1; position <= size; ++position) {
            const std::int16_t card = FindCard(AsInt16(d), AsInt16(position), false);
            // A place without a card (its card waits for the table or a hand) is passed over.
            if (card == -1) continue;
            player = player % Game.playerCount + 1;
            int target = FindPlayerDeck(AsInt16(player));
            if (target == -1) {
                target = AddDeckLike(d);
                if (target == -1) {
                    ReportDeckTableFull(d);
                    break;
                }
                Game.decks[target].owner = AsInt16(player);
                Game.decks[target].section = "DECK 1 PLAYER " + std::to_string(player);
            }
            MoveUnderDeck(card, d, target, AsInt16(player));
        }
        RenumberDrawPile(d);
    }
}

void SplitDecks() {
    const int decks = std::min<int>(Game.deckCount, kMaxDecks);
    for (int d = 0; d < decks; ++d) {
        int parts = Game.decks[d].splitCount;
        if (parts <= 1) continue;
        if (Game.deckCount + parts - 1 > kMaxDecks) {
            ReportDeckTableFull(d);
            parts = kMaxDecks - Game.deckCount + 1;
            if (parts <= 1) continue;
        }
        std::vector<int> part(static_cast<std::size_t>(parts) + 1, d);
        for (int k = 2; k <= parts; ++k) {
            part[static_cast<std::size_t>(k)] = AddDeckLike(d);
            Game.decks[part[static_cast<std::size_t>(k)]].splitCount = AsInt16(-k);
        }
        const int deal = Game.decks[d].deal;
        if (deal > 0) {
            const int share = deal / parts;
            for (int k = 2; k <= parts; ++k)
                Game.decks[part[static_cast<std::size_t>(k)]].deal = AsInt16(share);
            Game.decks[d].deal = AsInt16(deal - (parts - 1) * share);
        }
        const int size = Game.deckSizes[d];
        int turn = 0;
        for (int position = 1; position <= size; ++position) {
            const std::int16_t card = FindCard(AsInt16(d), AsInt16(position), false);
            if (card == -1) continue;
            turn = turn % parts + 1;
            if (turn == 1) continue;
            MoveUnderDeck(card, d, part[static_cast<std::size_t>(turn)], Game.decks[d].owner);
        }
        ShuffleDeck(AsInt16(d), false, true);
    }
}
