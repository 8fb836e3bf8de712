// What the end-to-end tests need of the start road: the way from the splash to the game list, its
// picture buttons and rows, and the seat login.
#pragma once

#include "Session.h"

#include <string>

namespace e2e {

inline constexpr char kGameList[] = "Start or Load a PBEM game";

// The picture button beside a caption: the start windows show each choice as a picture with its
// text to the right. Invalid when there is none.
Point ButtonBeside(const Scene& scene, const std::string& window, const std::string& caption);

// The first row of a list that starts with the text (a save is listed with its game and date).
const RowInfo* RowStarting(const Scene& scene, const std::string& text);

// From the splash (closed by a click unless it went by itself) through the game type window to
// the game list of new games; the list's scene.
Scene OpenGameList(Session& s);

// Logs in to the seat the login window offers first as a player does: a click into the ID box, the
// ID typed (which must replace the box's default), Login. What follows is the caller's to wait for.
void LogIn(Session& s, const std::string& id);

} // namespace e2e
