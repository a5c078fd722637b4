#include "front/regional_format_qt.h"

#include <QLocale>

#include <algorithm>
#include <cctype>
#include <QString>

namespace {

bool AsAsciiChar(const QString& text, char& c)
{
    if (text.size() != 1 || text[0].unicode() >= 128)
        return false;
    c = static_cast<char>(text[0].unicode());
    return true;
}

bool IsFieldLetter(QChar c) { return c == u'd' || c == u'M' || c == u'y'; }

// The order of the fields and the first separator of a Qt date format such as "dd.MM.yyyy",
// "M/d/yy" or "yyyy-MM-dd".
void ReadDateFormat(const QString& dateFormat, RegionalFormat& format)
{
    const qsizetype day = dateFormat.indexOf(u'd');
    const qsizetype month = dateFormat.indexOf(u'M');
    const qsizetype year = dateFormat.indexOf(u'y');
    if (day < 0 || month < 0 || year < 0)
        return;
    if (year < month && month < day)
        format.DateOrder = doYearMonthDay;
    else if (month < day && day < year)
        format.DateOrder = doMonthDayYear;
    else
        format.DateOrder = doDayMonthYear;

    qsizetype at = std::min({day, month, year});
    while (at < dateFormat.size() && IsFieldLetter(dateFormat[at]))
        ++at;
    // Only punctuation can separate numeric fields: formats that spell the month out
    // ("d MMM yyyy" of the C locale) keep the point.
    char separator = 0;
    if (at < dateFormat.size() && AsAsciiChar(QString(dateFormat[at]), separator) &&
        std::ispunct(static_cast<unsigned char>(separator)))
        format.DateSeparator = separator;
}

} // namespace

RegionalFormat RegionalFormatFromLocale(const QLocale& locale)
{
    RegionalFormat format;
    char separator = 0;
    if (AsAsciiChar(locale.decimalPoint(), separator))
        format.DecimalSeparator = separator;
    ReadDateFormat(locale.dateFormat(QLocale::ShortFormat), format);
    return format;
}
