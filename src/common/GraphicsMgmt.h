// Colour texts of definitions ("r,g,b", "r:g:b" or a colour name) turned into colour values.
#pragma once

#include <cstdint>
#include <string>

// The colour value of a colour text, red in the lowest byte: -1 for an empty text, 0 (black) for
// a text that is neither a number triple nor a known name. Components are clamped to 0..255.
std::int32_t ParseColour(const std::string& text);
