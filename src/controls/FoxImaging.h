// The imaging functions the card image control draws with: turning, greying, and the mask and
// data images of the two-pass transparent copy. Pure pixel code on pictures; the destination is
// changed only where the function says so.
#pragma once

#include "platform/Picture.h"

namespace controls {

using platform::Colour;
using platform::Picture;

// Flags of FoxCreateFastMask and FoxCreateFastData.
constexpr int kFoxMaskInverse = 1;    // black on the key colour, white elsewhere
constexpr int kFoxMaskForAnd = 0x401; // white on the key colour, black elsewhere (mask); black on it (data)

// Quality of FoxRotate: 1 takes the nearest source pixel; 3 smooths the picture's inside.
constexpr int kFoxQualityFast = 1;
constexpr int kFoxQualitySmooth = 3;

// Turns the srcWidth x srcHeight block of src at (srcX, srcY) clockwise on screen by the angle
// (degrees) and draws it so that the block's pivot lands on (cx, cy) of dest. The pivot is the
// block's pixel (srcWidth \ 2, srcHeight - 1 - srcHeight \ 2); with the centres the control
// passes, quarter turns of a square block are exact pixel permutations about its centre. Other
// angles map every destination pixel back into the source; with quality 3 they blend the
// neighbours but never a key-coloured one, so no key colour bleeds into the picture's edge.
// Destination pixels whose source lies outside the block are left as they were.
void FoxRotate(Picture& dest, int cx, int cy, int srcWidth, int srcHeight, const Picture& src, int srcX,
               int srcY, double angle, Colour key, int quality);

// Grey of the block; pixels of the key colour stay as they are.
void FoxGreyScale(Picture& dest, int dx, int dy, int width, int height, const Picture& src, int sx, int sy,
                  Colour key, int flags);

// The mask image of the block for the key colour (see the flags above).
void FoxCreateFastMask(Picture& dest, int dx, int dy, int width, int height, const Picture& src, int sx,
                       int sy, Colour key, int flags);

// The data image of the block: its pixels, black where it has the key colour.
void FoxCreateFastData(Picture& dest, int dx, int dy, int width, int height, const Picture& src, int sx,
                       int sy, Colour key, int flags);

// The imaging code is part of the program: loading it at start has nothing to do.
inline void LoadImagingLibrary() {}

} // namespace controls
