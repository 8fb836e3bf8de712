// Whether a point of an image control shows its picture or lies on its see-through colour.
#pragma once

#include "controls/TranspImg.h"

#include <cstdint>

// x and y are twips from the control's left and top edges. True when the control shows the pixel
// there (drawn and not its mask colour, or its selection halo); a point off the control is no hit.
bool PixelHitTest(std::int16_t x, std::int16_t y, const controls::TranspImg& image);
