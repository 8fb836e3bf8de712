// What the rest of the engine needs of direct play: the message box every part reports through,
// and the senders that tell the other side about changes made outside a table action.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Shows a text in a modal message box with an OK button; returns when it is closed.
void ShowMsg(const std::string& text);

// In direct play while a game is being played, sends a deck's new draw order to the other
// side; otherwise does nothing.
void SendDeckShuffle(std::int16_t deck);

// The two direct-play seats: entry 0 the server's, entry 1 the client's.
struct NetPlayer {
    std::string name;
    std::string game;
    std::int16_t option = 0;
    std::string seatId;
};
inline std::array<NetPlayer, 2> NetPlayerData;

// This side of a connection is the server (true also when there is no connection).
inline bool IsServerSide = true;
bool IsServer();
