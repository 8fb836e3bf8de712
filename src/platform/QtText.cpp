#include "platform/QtText.h"

#include "platform/Codec.h"

namespace platform {

QString ToQString(const std::string& ansi) {
    QString out;
    out.reserve(static_cast<qsizetype>(ansi.size()));
    for (unsigned char c : ansi)
        out += QChar(static_cast<char16_t>(CodePointOfAnsi(c)));
    return out;
}

std::string FromQString(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar ch : text) {
        int b = AnsiOfCodePoint(ch.unicode());
        out += b >= 0 ? static_cast<char>(b) : '?';
    }
    return out;
}

} // namespace platform
