#include "front/regional_format_qt.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

TEST(RegionalFormatFromLocale, TakesSeparatorsAndDateOrderFromTheLocale)
{
    const struct {
        QLocale::Language Language;
        QLocale::Territory Territory;
        char Decimal;
        TDateOrder Order;
        char DateSeparator;
    } cases[] = {
        {QLocale::Russian, QLocale::Russia, ',', doDayMonthYear, '.'},
        {QLocale::English, QLocale::UnitedStates, '.', doMonthDayYear, '/'},
        {QLocale::English, QLocale::UnitedKingdom, '.', doDayMonthYear, '/'},
        {QLocale::German, QLocale::Germany, ',', doDayMonthYear, '.'},
        {QLocale::Swedish, QLocale::Sweden, ',', doYearMonthDay, '-'},
    };
    for (const auto& c : cases) {
        const QLocale locale(c.Language, c.Territory);
        SCOPED_TRACE(locale.name().toStdString() + " " +
                     locale.dateFormat(QLocale::ShortFormat).toStdString());
        const RegionalFormat format = RegionalFormatFromLocale(locale);
        EXPECT_EQ(format.DecimalSeparator, c.Decimal);
        EXPECT_EQ(format.DateOrder, c.Order);
        EXPECT_EQ(format.DateSeparator, c.DateSeparator);
    }
}

TEST(RegionalFormatFromLocale, FallsBackWhereOneAsciiCharacterCannotSay)
{
    // Arabic in Egypt writes its decimal separator as U+066B.
    const RegionalFormat format = RegionalFormatFromLocale(QLocale(QLocale::Arabic, QLocale::Egypt));
    EXPECT_EQ(format.DecimalSeparator, '.');

    // The C locale spells the month out ("d MMM yyyy"): numeric dates keep the point.
    const RegionalFormat c = RegionalFormatFromLocale(QLocale::c());
    EXPECT_EQ(c.DateSeparator, '.');
    EXPECT_EQ(c.DateOrder, doDayMonthYear);
}

} // namespace
