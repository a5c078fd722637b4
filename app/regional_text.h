#pragma once
// Numbers and dates written as people read them under the user's regional settings.

#include <QString>

// General format with up to 15 significant digits, the regional decimal separator and no
// thousands separators.
QString RegionalNumberText(double value);

// A day count since 30 December 1899 in the regional short date format.
QString RegionalDateText(double dayCount);
