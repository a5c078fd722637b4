#include "spectrogram/sample_labels.h"

#include <cmath>
#include <cstdio>

namespace {

// Day 0 of the table's day counts, 1899-12-30, as a count of days since 1970-01-01.
constexpr long long kDayCountEpoch = -25569;

// The proleptic Gregorian date of a count of days since 1970-01-01.
TCalendarDate CivilFromUnixDays(long long z)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const long long year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    return {static_cast<int>(year), month, day};
}

std::string MonthMark(double dayCount)
{
    const TCalendarDate d = DateOfDayCount(static_cast<long long>(std::floor(dayCount)));
    if (d.Day != 1)
        return {};
    char text[16];
    std::snprintf(text, sizeof text, "%02d-%02d", ((d.Year % 100) + 100) % 100, d.Month);
    return text;
}

} // namespace

TCalendarDate DateOfDayCount(long long dayCount)
{
    return CivilFromUnixDays(dayCount + kDayCountEpoch);
}

std::string NumericLabel(double value)
{
    char text[32];
    if (std::fabs(std::trunc(value)) >= 100000.0)
        std::snprintf(text, sizeof text, "%.4E", value);
    else
        std::snprintf(text, sizeof text, "%.0f", std::round(value) + 0.0); // no "-0"
    return text;
}

std::string SampleLabel(const TDataTable& table, double firstLabel, int c)
{
    if (table.ColumnKind(0) == ckDate)
        return MonthMark(firstLabel + c);
    if (c % 30 != 0)
        return {};
    try {
        return NumericLabel(table.CellAsNumber(c + 1, 0));
    } catch (const std::exception&) {
        return {}; // a label that cannot be read gets no mark; the picture goes on
    }
}
