// What the end-to-end tests need of the table window: finding it, a bare spot of its felt, making
// it the active window, and selecting cards the way a player does.
#pragma once

#include "Session.h"
#include "StartRoad.h"

#include <string>
#include <vector>

namespace e2e {

const WindowInfo* TableWindow(const Scene& scene);

// From the splash through the game type to the game list, where the game is chosen and started:
// the login window is next.
void StartFromList(Session& s, const std::string& game);

// A point of the felt with nothing within `margin` pixels of it: no control but the table surface
// itself and no other window. Invalid when there is none.
Point OpenSpot(Session& s, const Scene& scene, int margin = 0);

// A widget a click can reach: on the screen and under no other window. The table window lies
// below every window it owns (the hand window, the pile windows, the tool bars).
bool Reachable(Session& s, const Scene& scene, const WidgetInfo& widget);

// The point lies in a seat's area of the table.
bool InAnyArea(const Scene& scene, Point p);

// Makes the table window the active one, as a player does by clicking the bare felt, so that the
// keys go to the table.
void FocusTable(Session& s);
// The same for a table that random input may have left about to show a message (a click whose
// message comes a moment later): false, instead of a failure, when a dialog shows instead.
bool TryFocusTable(Session& s);

// Saves the game under the name through the tool bar's Save and the save dialog, answering what
// follows.
void SaveGameAs(Session& s, const std::string& name);

// Opens the marker picker with M on the table and double-clicks its first marker kind.
void PickFirstMarkerKind(Session& s);

// Clears the selection, then selects the last two of the cards with Ctrl and a click each.
void SelectLastTwo(Session& s, const std::vector<Point>& cards);

} // namespace e2e
