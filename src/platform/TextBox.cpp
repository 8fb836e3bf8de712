#include "platform/TextBox.h"

#include "platform/QtFont.h"
#include "platform/QtPicture.h"
#include "platform/QtText.h"

#include <QFontMetrics>
#include <QList>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

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

// A line's height unrounded (QTextLine::height rounds it up to whole pixels): the lines of a
// block stand that far apart before each is put on a whole pixel.
qreal LineHeight(const QTextLine& line) {
    return line.ascent() + line.descent();
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

namespace {

// DrawTextBox with a painter already on the picture.
void DrawTextBoxWith(QPainter& painter, int left, int top, int right, int bottom, const std::string& text,
                     const FontSpec& font, Colour colour, const TextBoxFormat& format) {
    painter.setFont(ToQFont(font));
    painter.setPen(QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)));
    painter.drawText(QRect(left, top, right - left, bottom - top), FlagsOf(format), LinesOf(text));
}

} // namespace

void DrawTextBox(Picture& picture, int left, int top, int right, int bottom, const std::string& text,
                 const FontSpec& font, Colour colour, const TextBoxFormat& format) {
    if (picture.IsEmpty() || text.empty() || right <= left || bottom <= top) return;
    QPainter painter(&PictureAccess::MutableImage(picture));
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    DrawTextBoxWith(painter, left, top, right, bottom, text, font, colour, format);
}

struct TextFont::Impl {
    FontSpec spec;
    QFont font;
    QFontMetrics metrics;
    QFontMetricsF exact; // unrounded, for laying out blocks
    explicit Impl(const FontSpec& s) : spec(s), font(ToQFont(s)), metrics(font), exact(font) {}
};

TextFont::TextFont(const FontSpec& spec) : impl_(std::make_unique<Impl>(spec)) {}
TextFont::~TextFont() = default;

TextSize TextFont::Measure(const std::string& text) const {
    return TextSize{impl_->metrics.horizontalAdvance(ToQString(text)), impl_->metrics.height()};
}

int TextFont::LineHeight() const {
    return impl_->metrics.height();
}

// The block lays its text out the way Qt's own rectangle text routine does (the one behind
// MeasureTextBox and DrawTextBox): one layout of the whole text with a line separator for each
// line break, lines placed on whole pixels one font leading apart, the mnemonic marks taken out,
// tabs at eight widths of an "x" when they are expanded and blanks when not. It keeps the layout,
// so that drawing reuses the glyphs the measuring shaped.
struct TextBlock::Impl {
    TextBoxFormat format;
    int width = 0;     // the width the lines were broken to, with word breaking
    bool empty = true; // nothing to draw
    TextSize size;
    QTextLayout layout;
    // Underlined access keys split the text into runs of their own when drawn, which may shape it
    // differently from the measured layout; such a text is measured and drawn by the routines
    // above instead (a text shown as written never has one). So is a text whose tabs a drawing
    // aligned otherwise expands differently.
    bool underlines = false;
    bool tabs = false;
    FontSpec spec;
    std::string text;
};

TextBlock::TextBlock(const TextFont& font, const std::string& text, const TextBoxFormat& format, int width)
    : impl_(std::make_unique<Impl>()) {
    Impl& d = *impl_;
    d.format = format;
    d.spec = font.impl_->spec;
    d.text = text;
    d.width = format.wordBreak ? std::max(width, 1) : 0;
    const QFontMetricsF& fm = font.impl_->exact;
    if (text.empty()) {
        d.size = TextSize{0, font.impl_->metrics.height()};
        return;
    }
    const int flags = FlagsOf(format);
    const bool expandTabs = (flags & Qt::TextExpandTabs) && (flags & Qt::AlignLeft);
    QString s = LinesOf(text);
    qreal tabStops = 0;
    int marks = 0;
    for (QChar& c : s) {
        if (c == u'\n') {
            c = QChar::LineSeparator;
        } else if (c == u'&') {
            ++marks;
        } else if (c == u'\t') {
            d.tabs = true;
            if (!expandTabs)
                c = u' ';
            else if (tabStops == 0)
                tabStops = qRound(fm.horizontalAdvance(u'x') * 8);
        }
    }
    if (marks > 0) {
        // "&&" stands for one "&", a lone "&" marks the next character and a last one vanishes.
        QString out;
        out.reserve(s.size());
        for (qsizetype i = 0; i < s.size(); ++i) {
            if (s[i] == u'&') {
                if (++i == s.size()) break;
                if (s[i] != u'&') d.underlines = true;
            }
            out += s[i];
        }
        s = out;
    }
    if (d.underlines) {
        d.empty = false;
        d.size = MeasureTextBox(d.spec, text, width, format);
        return;
    }
    QTextOption option;
    if (tabStops > 0) option.setTabStopDistance(tabStops);
    option.setTextDirection(Qt::LeftToRight);
    option.setAlignment(Qt::AlignLeft); // each line is placed by the drawing
    d.layout.setText(s);
    d.layout.setFont(font.impl_->font);
    d.layout.setTextOption(option);
    d.layout.setCacheEnabled(true);
    qreal height = 0, widest = 0;
    if (s.isEmpty()) {
        height = fm.height();
    } else {
        d.empty = false;
        const qreal lineWidth = format.wordBreak ? d.width : 0x01000000;
        const qreal leading = fm.leading();
        height = -leading;
        d.layout.beginLayout();
        for (QTextLine line = d.layout.createLine(); line.isValid(); line = d.layout.createLine()) {
            line.setLineWidth(lineWidth);
            height = std::ceil(height + leading);
            line.setPosition(QPointF(0, height));
            height += LineHeight(line);
            widest = std::max(widest, line.naturalTextWidth());
        }
        d.layout.endLayout();
    }
    qreal x = 0;
    if (flags & Qt::AlignRight)
        x = d.width - widest;
    else if (flags & Qt::AlignHCenter)
        x = (d.width - widest) / 2;
    const QRect box = QRectF(x, 0, widest, height).toAlignedRect();
    d.size = TextSize{box.width(), box.height()};
}

TextBlock::~TextBlock() = default;
TextBlock::TextBlock(TextBlock&&) noexcept = default;
TextBlock& TextBlock::operator=(TextBlock&&) noexcept = default;

TextSize TextBlock::Size() const {
    return impl_->size;
}

std::optional<int> TextBlock::Advance() const {
    const Impl& d = *impl_;
    if (d.empty || d.underlines || d.tabs || d.layout.lineCount() != 1) return std::nullopt;
    // A line's width leaves out blanks at its end (a drawing aligned right sets them past it);
    // the advance of a text counts them.
    const QString& shown = d.layout.text();
    if (shown.back().isSpace()) return std::nullopt;
    for (QChar c : shown)
        if (c == QChar::LineSeparator) return std::nullopt;
    return qRound(d.layout.lineAt(0).horizontalAdvance());
}

void TextBlock::Draw(Picture& picture, int left, int top, int right, int bottom, Colour colour,
                     int align) const {
    if (impl_->empty || picture.IsEmpty() || right <= left || bottom <= top) return;
    TextPainter(picture).Draw(*this, left, top, right, bottom, colour, align);
}

struct TextPainter::Impl {
    std::optional<QPainter> painter; // none on an empty picture
};

TextPainter::TextPainter(Picture& picture) : impl_(std::make_unique<Impl>()) {
    if (picture.IsEmpty()) return;
    impl_->painter.emplace(&PictureAccess::MutableImage(picture));
    impl_->painter->setRenderHint(QPainter::TextAntialiasing, true);
}

TextPainter::~TextPainter() = default;

void TextPainter::Draw(const TextBlock& block, int left, int top, int right, int bottom, Colour colour,
                       int align) {
    const TextBlock::Impl& d = *block.impl_;
    if (!impl_->painter || d.empty || right <= left || bottom <= top) return;
    QPainter& painter = *impl_->painter;
    TextBoxFormat format = d.format;
    format.align = align;
    const int flags = FlagsOf(format);
    if (d.underlines ||
        (d.tabs && format.expandTabs && (flags & Qt::AlignLeft) != (FlagsOf(d.format) & Qt::AlignLeft))) {
        DrawTextBoxWith(painter, left, top, right, bottom, d.text, d.spec, colour, format);
        return;
    }
    const QRectF r(left, top, right - left, bottom - top);
    // The lines a drawing into this rectangle lays out: up to the first that reaches its bottom.
    int lines = 0;
    qreal widest = 0, height = 0;
    while (lines < d.layout.lineCount()) {
        const QTextLine line = d.layout.lineAt(lines++);
        widest = std::max(widest, line.naturalTextWidth());
        height = line.y() + LineHeight(line);
        if (height >= r.height()) break;
    }
    qreal x = 0;
    if (flags & Qt::AlignRight)
        x = r.width() - widest;
    else if (flags & Qt::AlignHCenter)
        x = (r.width() - widest) / 2;
    painter.setPen(QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)));
    const bool clip = !r.contains(QRectF(r.x() + x, r.y(), widest, height));
    if (clip) {
        painter.save();
        painter.setClipRect(r, Qt::IntersectClip);
    }
    for (int i = 0; i < lines; ++i) {
        const QTextLine line = d.layout.lineAt(i);
        const qreal advance = line.horizontalAdvance();
        qreal xoff = 0;
        if (flags & Qt::AlignRight)
            xoff = r.width() - advance;
        else if (flags & Qt::AlignHCenter)
            xoff = (r.width() - advance) / 2;
        line.draw(&painter, QPointF(r.x() + xoff, r.y()));
    }
    if (clip) painter.restore();
}

} // namespace platform
