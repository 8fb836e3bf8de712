// Where the things on a window go: clear of what they would cover, and kept on the surface they
// are dragged over. Plain arithmetic on rectangles in twips, shared by Karvel and wizard (the
// places of windows on the screen are the platform's: FitInto and CentreOver in Twips.h).
#pragma once

#include "platform/Twips.h"

#include <optional>
#include <vector>

// The place nearest to where `box` stands at which it lies inside `bounds` and overlaps none of
// the obstacles; nullopt when there is none. Places are tried on a grid of `step` twips and beside
// every obstacle's edges.
std::optional<platform::TwipRect> FreePlace(const platform::TwipRect& box, const platform::TwipRect& bounds,
                                            const std::vector<platform::TwipRect>& obstacles, int step);

// The smallest rectangle holding both; an empty rectangle (no width or height) adds nothing.
platform::TwipRect Enclosing(const platform::TwipRect& a, const platform::TwipRect& b);

// A move of an item that must stay on a surface, as far as it may go: the item ends inside the
// surface, or, where it already lies partly outside (or is larger than the surface), no further
// out than it was. A move towards the inside is always allowed.
struct Shift {
    int dx = 0;
    int dy = 0;
};
Shift ClampedShift(const platform::TwipRect& item, int dx, int dy, const platform::TwipRect& surface);
