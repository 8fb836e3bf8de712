// The Qt image behind a picture, for the platform's own widgets.
#pragma once

#include "platform/Picture.h"

#include <QImage>

namespace platform {

struct PictureAccess {
    static const QImage& Image(const Picture& picture);
    // For drawing with a painter: the painter detaches it from the picture's copies.
    static QImage& MutableImage(Picture& picture);
    static Picture FromImage(const QImage& image);
};

} // namespace platform
