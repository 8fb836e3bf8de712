// The Qt font of a font spec, for the platform's own drawing and measuring.
#pragma once

#include "platform/Fonts.h"

#include <QFont>

namespace platform {

QFont ToQFont(const FontSpec& spec);

} // namespace platform
