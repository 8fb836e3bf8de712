// The copy of a picture with one key colour left out, as the side bar draws its item pictures.
#pragma once

#include "platform/Picture.h"

namespace controls {

// Copies the width x height block at (srcX, srcY) of `source` to (destX, destY) of `destination`,
// leaving the destination unchanged wherever the source pixel has the key colour. The source is
// not changed.
inline void DrawTransparentBitmap(platform::Picture& destination, int destX, int destY, int width, int height,
                                  const platform::Picture& source, int srcX, int srcY,
                                  platform::Colour keyColour) {
    destination.CopyColourKey(destX, destY, width, height, source, srcX, srcY,
                              platform::ResolveColour(keyColour));
}

} // namespace controls
