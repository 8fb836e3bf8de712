// The seats' table areas as a game's layout keys give them: which seats have an area, where it
// lies, and whether the outlines show. The table window draws the areas it is told of.
#pragma once

#include <string>

// Gives each seat with a [PLAYER n] layout its table area (placed, not yet shown); seats without
// one keep their flag.
void LoadPlayerLayouts();

// Shows the area of every seat that has one, or hides them all when the game keeps hands in the
// hand window or [GAME] show_hand_lines is "false" (in that spelling).
void ShowHandLines(const std::string& file);
