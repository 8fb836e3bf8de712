// The Qt image behind a picture, for the platform's own widgets.
#pragma once

#include "platform/Picture.h"

#include <QImage>

namespace platform {

struct PictureAccess {
    static const QImage& Image(const Picture& picture);
    static Picture FromImage(const QImage& image);
};

} // namespace platform
