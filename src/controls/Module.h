// Colour helpers of the push button: hue, saturation and lightness conversions, and the fill the
// toggled look dithers over the button.
#pragma once

#include "platform/Picture.h"

#include <cstdint>

// H in sixths of the colour circle, between -1 and 5 (red near 0, green near 2, blue near 4);
// S and L between 0 and 1.
void RGBToHSL(std::int32_t R, std::int32_t G, std::int32_t B, float& H, float& S, float& L);
// The inverse; each channel rounded half to even.
void HSLToRGB(float H, float S, float L, std::int32_t& R, std::int32_t& G, std::int32_t& B);

float Max3(float a, float b, float c);
float Min3(float a, float b, float c);

// The drawing callback of the toggled look: fills (0, 0, cx, cy) with black.
bool FillSolidRect(platform::Picture& dc, std::intptr_t data, std::intptr_t extra, std::int32_t cx,
                   std::int32_t cy);

// Draws what a callback draws onto a cx x cy picture dithered over `dc` at (x, y): only every
// other pixel, in a checkerboard, takes the drawing.
using DrawStateProc = bool (*)(platform::Picture&, std::intptr_t, std::intptr_t, std::int32_t, std::int32_t);
void DrawUnionState(platform::Picture& dc, DrawStateProc proc, int x, int y, int cx, int cy);
