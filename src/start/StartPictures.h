// The pictures of the start windows, drawn by the program itself so that nothing beside the
// program is needed before a game is chosen: the splash's logo and the icons of the picture
// buttons of the game type window and the game list.
#pragma once

#include "controls/cpvButton.h"
#include "platform/Picture.h"

#include <string>

namespace startpictures {

// The splash's logo: a green table with a fan of three cards and the program's name.
platform::Picture Logo();

// Icons of the picture buttons, 32 x 32 pixels each.
platform::Picture NewGameIcon();    // a fresh deck
platform::Picture SavedGameIcon();  // a sealed letter, as a saved game passes between players
platform::Picture StartIcon();      // an arrow pointing on
platform::Picture DesignIcon();     // a ruler and a square laid on the table
platform::Picture DirectPlayIcon(); // two tables joined by a line

// Dresses a picture button of the start windows: its icon, its tool tip, a square of 600 twips at
// the place given.
void DressPictureButton(controls::cpvButton& button, const std::string& name, const platform::Picture& icon,
                        const std::string& toolTip, int left, int top);

} // namespace startpictures
