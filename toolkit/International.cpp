#include "toolkit/International.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#include "toolkit/QtText.h"

namespace {

QString DateFormatWithFullYear(const QLocale &locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy"))) {
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    }
    return format;
}

// The long time format has seconds; the time zone it may add is left out.
QString TimeFormatWithSeconds(const QLocale &locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
    if (!format.contains(QStringLiteral("ss"))) {
        format = QStringLiteral("HH:mm:ss");
    }
    return format.trimmed();
}

} // namespace

std::string FormatDateTime(int64_t secondsSince1970)
{
    const QLocale locale = QLocale::system();
    const QDateTime time = QDateTime::fromSecsSinceEpoch(secondsSince1970, Qt::LocalTime);
    return FromQt(locale.toString(time.date(), DateFormatWithFullYear(locale)) +
                  QStringLiteral("  ") + locale.toString(time.time(), TimeFormatWithSeconds(locale)));
}
