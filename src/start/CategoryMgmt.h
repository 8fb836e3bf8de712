// The game categories of the game list. Their names come from categ.dat beside the program (made
// from the shipped base_categ.dat when missing); which category a game belongs to is the user's
// own filing, kept in usercat.dat.
#pragma once

#include <string>

class StartForm;

// The two fixed categories: every game, and the games the user has not filed elsewhere.
inline const std::string kAllGames = "(All games)";
inline const std::string kGenericCategory = "(generic)";
// The category menu holds "(generic)" and at most this many named categories.
constexpr int kMaxCategories = 7;

// Copies base_categ.dat to categ.dat when categ.dat is missing; without base_categ.dat a
// message says so and the list offers no categories.
void EnsureCategoryFile();

// Fills the category box ("(All games)" and the named categories) and the category menu, then
// chooses "(All games)", which lists every game.
void FillCategoryCombo(StartForm& list);

// Whether a game (its file name less ".game") belongs to a category: "(All games)" holds every
// game, "(generic)" every game the user has not filed, any other the games filed under exactly
// that name.
bool GameInCategory(const std::string& game, const std::string& category);

// Files a game under the category of menu item `item` (0 "(generic)", 1 to 7 the named ones).
void SetGameCategory(StartForm& list, int item, const std::string& game);

// Lists the games of the category in the box again (its choice or its typed text changed).
void ClickNewGame(StartForm& list);
