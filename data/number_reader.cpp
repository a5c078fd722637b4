#include "data/number_reader.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view text, std::size_t at)
{
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    return at;
}

// Where the parts of a number lie in its text; what is left of the grammar's checks.
struct TNumberParts {
    std::size_t IntBegin = 0, IntEnd = 0;   // digits before the separator
    std::size_t FracBegin = 0, FracEnd = 0; // digits after it (empty range without one)
    bool NegativeExponent = false;
    long long Exponent = 0; // saturated: only its order of magnitude matters
};

bool SplitNumber(std::string_view text, char separator, TNumberParts& parts)
{
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        ++at;
    parts.IntBegin = at;
    at = SkipDigits(text, at);
    parts.IntEnd = at;
    if (parts.IntEnd == parts.IntBegin)
        return false;
    parts.FracBegin = parts.FracEnd = at;
    if (at < text.size() && text[at] == separator) {
        parts.FracBegin = ++at;
        at = SkipDigits(text, at);
        parts.FracEnd = at;
        if (parts.FracEnd == parts.FracBegin)
            return false;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            parts.NegativeExponent = text[at++] == '-';
        const std::size_t expBegin = at;
        for (; at < text.size() && IsDigit(text[at]); ++at)
            parts.Exponent = std::min(parts.Exponent * 10 + (text[at] - '0'), 1'000'000'000LL);
        if (at == expBegin)
            return false;
    }
    return at == text.size();
}

// A value out of the range of doubles is an overflow when its first significant digit sits at
// or above the units place; otherwise it is an underflow.
bool IsUnderflow(std::string_view text, const TNumberParts& parts)
{
    long long magnitude = 0;
    std::size_t at = parts.IntBegin;
    while (at < parts.IntEnd && text[at] == '0')
        ++at;
    if (at < parts.IntEnd) {
        magnitude = static_cast<long long>(parts.IntEnd - at);
    } else {
        at = parts.FracBegin;
        while (at < parts.FracEnd && text[at] == '0')
            ++at;
        magnitude = -static_cast<long long>(at - parts.FracBegin);
    }
    magnitude += parts.NegativeExponent ? -parts.Exponent : parts.Exponent;
    return magnitude <= 0;
}

// Clinger's fast path: a significand of at most 15 digits and a power of ten up to 10^22 are
// exact doubles, so a single multiplication or division rounds correctly. Most data fields
// take this path; the rest go to from_chars.
std::optional<double> ReadShortNumber(std::string_view text, const TNumberParts& parts)
{
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const std::size_t fractionDigits = parts.FracEnd - parts.FracBegin;
    if (parts.IntEnd - parts.IntBegin + fractionDigits > 15)
        return std::nullopt;
    const long long power =
        (parts.NegativeExponent ? -parts.Exponent : parts.Exponent) -
        static_cast<long long>(fractionDigits);
    if (power < -22 || power > 22)
        return std::nullopt;
    std::uint64_t significand = 0;
    for (std::size_t at = parts.IntBegin; at < parts.IntEnd; ++at)
        significand = significand * 10 + static_cast<unsigned>(text[at] - '0');
    for (std::size_t at = parts.FracBegin; at < parts.FracEnd; ++at)
        significand = significand * 10 + static_cast<unsigned>(text[at] - '0');
    double value = static_cast<double>(significand);
    value = power < 0 ? value / kPowersOfTen[-power] : value * kPowersOfTen[power];
    return text[0] == '-' ? -value : value;
}

// from_chars after the checks above: it reads a point as separator, a leading '-' but no '+'.
std::optional<double> Convert(std::string_view text, const TNumberParts& parts)
{
    const std::size_t skip = text[0] == '+' ? 1 : 0;
    const std::string_view digits = text.substr(skip);
    const bool hasSeparator = parts.FracBegin != parts.IntEnd;
    char small[96];
    std::string large;
    const char* begin = digits.data();
    if (hasSeparator && text[parts.IntEnd] != '.') {
        char* copy = small;
        if (digits.size() > sizeof small) {
            large.assign(digits);
            copy = large.data();
        } else {
            digits.copy(small, digits.size());
        }
        copy[parts.IntEnd - skip] = '.';
        begin = copy;
    }
    double value = 0;
    const char* const end = begin + digits.size();
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error == std::errc::result_out_of_range && IsUnderflow(text, parts))
        return text[0] == '-' ? -0.0 : 0.0;
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool ReadDatePart(std::string_view text, std::size_t minDigits, std::size_t maxDigits, int& value)
{
    if (text.size() < minDigits || text.size() > maxDigits)
        return false;
    value = 0;
    for (const char c : text) {
        if (!IsDigit(c))
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

// Two-digit years fall into 1950..2049: fixed, so that a file reads the same in every year.
int FullYear(int year, std::size_t digits)
{
    if (digits != 2)
        return year;
    return year < 50 ? 2000 + year : 1900 + year;
}

} // namespace

std::string_view TrimField(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32)
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32)
        text.remove_suffix(1);
    return text;
}

std::optional<double> ReadNumber(std::string_view text, const RegionalFormat& format)
{
    TNumberParts parts;
    if (!SplitNumber(text, format.DecimalSeparator, parts))
        return std::nullopt;
    if (const std::optional<double> value = ReadShortNumber(text, parts))
        return value;
    return Convert(text, parts);
}

std::optional<double> ReadDate(std::string_view text, const RegionalFormat& format)
{
    const std::size_t first = text.find(format.DateSeparator);
    if (first == std::string_view::npos)
        return std::nullopt;
    const std::size_t second = text.find(format.DateSeparator, first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    const std::string_view fields[3] = {text.substr(0, first),
                                        text.substr(first + 1, second - first - 1),
                                        text.substr(second + 1)};
    // Positions of day, month and year among the three fields.
    static constexpr int kOrder[3][3] = {{0, 1, 2}, {1, 0, 2}, {2, 1, 0}};
    const int* order = kOrder[format.DateOrder];
    const std::string_view yearText = fields[order[2]];
    int day = 0, month = 0, year = 0;
    if (!ReadDatePart(fields[order[0]], 1, 2, day) || !ReadDatePart(fields[order[1]], 1, 2, month) ||
        !(yearText.size() == 2 || yearText.size() == 4) || !ReadDatePart(yearText, 2, 4, year) ||
        year == 0)
        return std::nullopt;
    using namespace std::chrono;
    const year_month_day date{std::chrono::year(FullYear(year, yearText.size())),
                              std::chrono::month(static_cast<unsigned>(month)),
                              std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok())
        return std::nullopt;
    constexpr sys_days kDayZero = 1899y / December / 30;
    return static_cast<double>((sys_days(date) - kDayZero).count());
}
