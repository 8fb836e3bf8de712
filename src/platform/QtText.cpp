#include "platform/QtText.h"

#include "platform/Codec.h"

namespace platform {

QString ToQString(const std::string& ansi) {
    // Every byte is one UTF-16 unit: the text is written in place, not appended unit by unit
    // (long lists convert tens of thousands of texts).
    QString out(static_cast<qsizetype>(ansi.size()), Qt::Uninitialized);
    QChar* unit = out.data();
    for (unsigned char c : ansi)
        *unit++ = QChar(static_cast<char16_t>(c < 0x80 ? c : CodePointOfAnsi(c)));
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
