// Conversions between the model's ANSI texts and Qt's strings. Only src/platform includes this.
#pragma once

#include <QString>
#include <string>

namespace platform {

QString ToQString(const std::string& ansi);
std::string FromQString(const QString& text);

} // namespace platform
