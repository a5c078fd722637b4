#pragma once
// Reading numbers and dates as people write them, under a RegionalFormat. Independent of the
// C locale (LC_NUMERIC), allocation-free for ordinary field lengths.

#include "data/regional_format.h"

#include <optional>
#include <string_view>

// `text` without its leading and trailing characters of code 32 and below.
std::string_view TrimField(std::string_view text);

// The whole of `text` as a number: an optional sign, digits, optionally the regional decimal
// separator followed by digits, optionally E or e with an optional sign and digits. No blanks,
// no thousands separators, no "nan" or "inf". A value too large for a double is refused; one
// too small becomes 0 (or a subnormal) as the arithmetic rounds it. Nothing when refused.
std::optional<double> ReadNumber(std::string_view text, const RegionalFormat& format);

// The whole of `text` as a date in the regional short format: day, month and year in the
// regional order, separated by the regional date separator; day and month of 1 or 2 digits,
// the year of 4 digits (1..9999) or of 2 (00..49 are 2000..2049, 50..99 are 1950..1999).
// The result is the count of days since 30 December 1899. Nothing for text that is not such a
// date or names no calendar day (31.02.2005).
std::optional<double> ReadDate(std::string_view text, const RegionalFormat& format);
