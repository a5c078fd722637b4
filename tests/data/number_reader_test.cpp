#include "data/number_reader.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <clocale>
#include <cstdint>
#include <random>
#include <cmath>
#include <limits>

namespace {

const RegionalFormat kRussian{',', doDayMonthYear, '.'};
const RegionalFormat kEnglish{'.', doMonthDayYear, '/'};
const RegionalFormat kIso{'.', doYearMonthDay, '-'};

constexpr double kRefused = std::numeric_limits<double>::quiet_NaN();

struct TCase {
    const char* Text;
    double Russian; // kRefused when the text is no number under that format
    double English;
};

// One table for both formats: the separator decides, everything else is the same rule.
const TCase kNumberCases[] = {
    {"12", 12, 12},
    {"-0", -0.0, -0.0},
    {"+7", 7, 7},
    {"1,5", 1.5, kRefused},
    {"1.5", kRefused, 1.5},
    {"-2,25e3", -2250, kRefused},
    {"2.25E-2", kRefused, 0.0225},
    {"1e+3", 1000, 1000},
    {"007", 7, 7},
    {"1e-400", 0, 0},       // underflow passes as zero
    {"-1e-400", -0.0, -0.0},
    {"4.9e-324", kRefused, 4.9e-324},
    {"1e308", 1e308, 1e308},
    {"1e999", kRefused, kRefused}, // overflow
    {"1.8e308", kRefused, kRefused},
    {"1e99999999999999999999", kRefused, kRefused},
    {"1e-99999999999999999999", 0, 0},
    {"nan", kRefused, kRefused},
    {"inf", kRefused, kRefused},
    {"-infinity", kRefused, kRefused},
    {"0x10", kRefused, kRefused},
    {"", kRefused, kRefused},
    {"-", kRefused, kRefused},
    {"+-1", kRefused, kRefused},
    {",5", kRefused, kRefused},
    {".5", kRefused, kRefused},
    {"5,", kRefused, kRefused},
    {"5.", kRefused, kRefused},
    {"1e", kRefused, kRefused},
    {"1e+", kRefused, kRefused},
    {"1 000", kRefused, kRefused},   // no thousands separators
    {"1,000.5", kRefused, kRefused}, // mixed separators
    {"1.000,5", kRefused, kRefused},
    {" 1", kRefused, kRefused},      // fields are trimmed before, not here
    {"1\r", kRefused, kRefused},
    {"1d", kRefused, kRefused},
    {"١", kRefused, kRefused},
};

void ExpectRead(const char* text, const RegionalFormat& format, double expected)
{
    const std::optional<double> value = ReadNumber(text, format);
    if (std::isnan(expected)) {
        EXPECT_FALSE(value) << '"' << text << "\" read as " << value.value_or(0);
        return;
    }
    ASSERT_TRUE(value) << '"' << text << "\" refused";
    EXPECT_EQ(*value, expected) << text;
    EXPECT_EQ(std::signbit(*value), std::signbit(expected)) << text;
}

TEST(ReadNumber, FollowsTheNumberRuleUnderBothFormats)
{
    for (const TCase& c : kNumberCases) {
        ExpectRead(c.Text, kRussian, c.Russian);
        ExpectRead(c.Text, kEnglish, c.English);
    }
}

TEST(ReadNumber, RoundsLongMantissasCorrectlyAndIgnoresTheCLocale)
{
    // A locale with a comma as its decimal point must not change what a point means.
    const bool haveGerman = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    EXPECT_EQ(ReadNumber("0.1000000000000000055511151231257827", kEnglish), 0.1);
    EXPECT_EQ(ReadNumber("3,14159265358979323846264338327950288", kRussian), 3.141592653589793);
    const std::string hundredDigits = "1" + std::string(99, '0') + ",5";
    EXPECT_EQ(ReadNumber(hundredDigits, kRussian), 1e99);
    EXPECT_EQ(ReadNumber(std::string(200, '0') + "1" + "e-200", kEnglish), 1e-200);
    if (haveGerman)
        std::setlocale(LC_NUMERIC, "C");
}

// from_chars is the oracle: every text of the grammar it reads must come out bit for bit the
// same, whichever path the reader takes for it.
TEST(ReadNumber, AgreesWithFromCharsOnRandomTexts)
{
    std::mt19937_64 random(42);
    const auto digits = [&](int most) {
        std::string text(1 + random() % most, '0');
        for (char& c : text)
            c = static_cast<char>('0' + random() % 10);
        return text;
    };
    for (int i = 0; i < 200000; ++i) {
        std::string text = (random() % 2 ? "-" : "") + digits(18);
        if (random() % 2)
            text += "." + digits(18);
        if (random() % 2)
            text += (random() % 2 ? "e-" : "e") + digits(3);
        double expected = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), expected);
        if (error != std::errc())
            continue;
        const std::optional<double> value = ReadNumber(text, kEnglish);
        ASSERT_TRUE(value) << text;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(*value), std::bit_cast<std::uint64_t>(expected))
            << text;
    }
}

struct TDateCase {
    const char* Text;
    const RegionalFormat* Format;
    double Days; // kRefused when no date
};

const TDateCase kDateCases[] = {
    {"30.12.1899", &kRussian, 0},
    {"1.1.1900", &kRussian, 2},
    {"01.01.1900", &kRussian, 2},
    {"28.02.1900", &kRussian, 60},
    {"01.03.1900", &kRussian, 61}, // 1900 was no leap year
    {"29.12.1899", &kRussian, -1},
    {"10.12.2026", &kRussian, 46366},
    {"29.02.2024", &kRussian, 45351},
    {"12/10/2026", &kEnglish, 46366},
    {"2/29/2024", &kEnglish, 45351},
    {"2026-12-10", &kIso, 46366},
    {"10.12.26", &kRussian, 46366},  // two-digit years: 00..49 are 20xx
    {"01.01.49", &kRussian, 54424},
    {"01.01.50", &kRussian, 18264},  // 50..99 are 19xx
    {"31.02.2005", &kRussian, kRefused},
    {"29.02.2023", &kRussian, kRefused},
    {"00.01.2005", &kRussian, kRefused},
    {"01.13.2005", &kRussian, kRefused},
    {"01.00.2005", &kRussian, kRefused},
    {"01.01.0000", &kRussian, kRefused},
    {"13/01/2005", &kEnglish, kRefused}, // month 13 in month/day/year
    {"01.02.2005", &kEnglish, kRefused}, // wrong separator
    {"01/02/2005", &kRussian, kRefused},
    {"01.02", &kRussian, kRefused},
    {"01.02.2005.", &kRussian, kRefused},
    {"01.02.205", &kRussian, kRefused},
    {"01.02.20051", &kRussian, kRefused},
    {"001.02.2005", &kRussian, kRefused},
    {"1.2.2005 12:00", &kRussian, kRefused},
    {"+1.2.2005", &kRussian, kRefused},
    {"..", &kRussian, kRefused},
    {"38000", &kRussian, kRefused},
};

TEST(ReadDate, CountsDaysFromTheEndOf1899)
{
    for (const TDateCase& c : kDateCases) {
        const std::optional<double> days = ReadDate(c.Text, *c.Format);
        if (std::isnan(c.Days)) {
            EXPECT_FALSE(days) << '"' << c.Text << "\" read as " << days.value_or(0);
        } else {
            EXPECT_EQ(days, c.Days) << c.Text;
        }
    }
}

TEST(TrimField, RemovesCodesUpTo32OnBothSides)
{
    EXPECT_EQ(TrimField(std::string_view(" \t\r\x01\0x y\x1f \x20", 11)), "x y");
    EXPECT_EQ(TrimField("\xA0x"), "\xA0x"); // 8-bit letters are kept
    EXPECT_EQ(TrimField(" \n "), "");
}

} // namespace
