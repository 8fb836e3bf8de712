// The command words of direct play, each written once: the received command table, the senders
// and the handshake name a command by its constant here.
#pragma once

namespace wire {

// The handshake and the conversation.
inline constexpr const char* kSetup = "SETUP";          // the client asks for a game and a seat
inline constexpr const char* kRefusal = "ANF";          // the server cannot offer what was asked
inline constexpr const char* kClosed = "TERM";          // the other side closed its program
inline constexpr const char* kServerData = "SRVDATA";   // the server's player, game, seat and option
inline constexpr const char* kNewGame = "DECKDATA";     // the record of a game to deal anew
inline constexpr const char* kSavedGame = "DECKDATALD"; // the record of a saved game
inline constexpr const char* kChat = "CHAT";

// The decks and the dice.
inline constexpr const char* kDeckLock = "DKLCK";
inline constexpr const char* kDeckUnlock = "DKUNLCK";
inline constexpr const char* kDiceRoll = "DCENEW";
inline constexpr const char* kDeckShuffle = "DKSHUFF";
inline constexpr const char* kDiscardToBottom = "DKMD2B";

// The cards.
inline constexpr const char* kDrawCard = "CLOAD";
inline constexpr const char* kCardMove = "CMOVE";
inline constexpr const char* kCardDiscard = "CDISCARD";
inline constexpr const char* kCardEliminate = "CELIM";
inline constexpr const char* kCardFlip = "CFLIP";
inline constexpr const char* kCardTake = "CTAKE";
inline constexpr const char* kCardRotate = "CROTATE";
inline constexpr const char* kCardInvert = "CINVERT";
inline constexpr const char* kCardGive = "CGIVE";
inline constexpr const char* kCardPutBack = "CPUTBACK";
inline constexpr const char* kCardToBottomOfDrawDeck = "C2BTMDD";
inline constexpr const char* kDiscardToPlay = "CDSC2PLAY";
inline constexpr const char* kSelectedDraw = "CSELDR";
inline constexpr const char* kNewCard = "CNEWCARD";
inline constexpr const char* kEndGame = "GAMEEND";

// The hands.
inline constexpr const char* kDrawCardToHand = "CLDONHAND";
inline constexpr const char* kCardDropFromHand = "CDRPHND";
inline constexpr const char* kCardToWindowHand = "C2WINHAND";
inline constexpr const char* kCardToHand = "C2HAND";
inline constexpr const char* kDiscardToHand = "DSC2HND";
inline constexpr const char* kHandDiscard = "CHNDDSCARD";

// The markers.
inline constexpr const char* kMarkerNew = "MRKLOAD";
inline constexpr const char* kMarkerMove = "MRKMV";
inline constexpr const char* kMarkerUpdate = "MRKUPD";
inline constexpr const char* kMarkerRotate = "MRKROT";
inline constexpr const char* kMarkerDelete = "MRKDEL";
inline constexpr const char* kImageMarkerNew = "GPHMRKLOAD";
inline constexpr const char* kImageMarkerMove = "GPHMRKMV";
inline constexpr const char* kImageMarkerFlip = "GPHMRKFLP";
inline constexpr const char* kImageMarkerDelete = "GPHMRKDEL";

} // namespace wire
