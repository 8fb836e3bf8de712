#include "platform/Dates.h"

#include "platform/Files.h"
#include "platform/QtText.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

#include <optional>

namespace platform {

namespace {

std::optional<QLocale> g_dateLocale;

} // namespace

std::string FileDateText(const std::string& path) {
    const auto real = ResolvePath(path);
    if (!real) return "";
    const QFileInfo info(QString::fromStdString(*real));
    if (!info.exists()) return "";
    const QLocale locale = g_dateLocale ? *g_dateLocale : QLocale::system();
    return FromQString(locale.toString(info.lastModified().toLocalTime(), QLocale::ShortFormat));
}

void SetDateLocale(const std::string& name) {
    if (name.empty())
        g_dateLocale.reset();
    else
        g_dateLocale = QLocale(QString::fromStdString(name));
}

} // namespace platform
