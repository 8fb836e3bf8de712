// What the rest of the engine needs of direct play: the senders that tell the other side about
// changes made outside a table action, and the two seats of a connection.
#pragma once

#include "state/TableState.h"

#include <array>
#include <cstdint>
#include <string>

// In direct play while a game is being played, sends a deck's new draw order to the other
// side; otherwise does nothing.
void SendDeckShuffle(std::int16_t deck);

// The two direct-play seats: entry 0 the server's, entry 1 the client's.
extern std::array<NetPlayer, 2>& NetPlayerData;

// This side of a connection is the server (true also when there is no connection).
extern bool& IsServerSide;
bool IsServer();
