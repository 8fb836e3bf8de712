#include "platform/TextBox.h"

#include "platform/QtFont.h"
#include "platform/QtPicture.h"
#include "platform/QtText.h"

#include <QFontMetrics>
#include <QPainter>

namespace platform {

namespace {

int FlagsOf(const TextBoxFormat& format) {
    int flags = Qt::AlignTop | Qt::TextShowMnemonic;
    switch (format.align) {
    case 1:
        flags |= Qt::AlignHCenter;
        break;
    case 2:
        flags |= Qt::AlignRight;
        break;
    default:
        flags |= Qt::AlignLeft;
        break;
    }
    if (format.wordBreak) flags |= Qt::TextWordWrap;
    if (format.expandTabs) flags |= Qt::TextExpandTabs;
    return flags;
}

// Every CR LF pair, lone CR and lone LF is one line break.
QString LinesOf(const std::string& text) {
    QString s = ToQString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

} // namespace

TextSize MeasureTextBox(const FontSpec& font, const std::string& text, int width,
                        const TextBoxFormat& format) {
    QFontMetrics metrics(ToQFont(font));
    if (text.empty()) return TextSize{0, metrics.height()};
    const QRect box = metrics.boundingRect(QRect(0, 0, format.wordBreak ? std::max(width, 1) : 0, 0),
                                           FlagsOf(format), LinesOf(text));
    return TextSize{box.width(), box.height()};
}

void DrawTextBox(Picture& picture, int left, int top, int right, int bottom, const std::string& text,
                 const FontSpec& font, Colour colour, const TextBoxFormat& format) {
    if (picture.IsEmpty() || text.empty() || right <= left || bottom <= top) return;
    QPainter painter(&PictureAccess::MutableImage(picture));
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(ToQFont(font));
    painter.setPen(QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)));
    painter.drawText(QRect(left, top, right - left, bottom - top), FlagsOf(format), LinesOf(text));
}

} // namespace platform
