#include "app/regional_text.h"

#include <QDate>
#include <QLocale>

#include <cmath>

QString RegionalNumberText(double value)
{
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

QString RegionalDateText(double dayCount)
{
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(dayCount)));
    return QLocale::system().toString(date, QLocale::ShortFormat);
}
