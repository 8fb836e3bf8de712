// The commands the other side of a connection sends: one table that names, for each command word,
// its fields with their kinds and ranges, the phases of the game in which it is taken, the state of
// the table it fits, and the handler that runs the same body the local action runs. A message that
// does not fit its row is dropped before anything changes.
#pragma once

#include "net/NetSocket.h"

#include <functional>
#include <optional>
#include <string>

// Checks one received message against the command table and runs its handler. An unknown command
// shows "Command <word> not known" once per connection (the word cut to 40 characters); a table
// command that does not fit this table (the two tables went apart) is told once per connection
// with its word, so that the players bring their tables together again. Both are written to the
// debug log every time.
void DispatchNetCommand(const NetCommand& command);
// Makes DispatchNetCommand the connection's handler of received messages, with its notices told
// afresh.
void InstallNetDispatcher();
// What was told once per connection is told again at the next fault.
void ResetNetNotices();

// The connection dialog takes the handshake and the game transfer ("SETUP", "ANF", "TERM",
// "SRVDATA", "DECKDATA", "DECKDATALD"); the chat window takes "CHAT". Until they are set, those
// commands are dropped and logged.
using NetCommandHook = std::function<void(const NetCommand&)>;
NetCommandHook SetHandshakeHandler(NetCommandHook handler);
NetCommandHook SetChatHandler(NetCommandHook handler);

// A number field as the protocol writes it: decimal, perhaps signed, perhaps with a fraction and
// surrounded by blanks; none for anything else, NaN, infinities and numbers beyond a double.
std::optional<double> WireNumber(const std::string& field);
