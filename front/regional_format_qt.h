#pragma once
// The user's regional settings, as Qt knows them, in the form the data readers take.

#include "data/regional_format.h"

class QLocale;

// Decimal separator, order of day, month and year and the date separator of `locale`'s
// short date format. Parts that a single ASCII character cannot express fall back to the
// point and day.month.year.
RegionalFormat RegionalFormatFromLocale(const QLocale& locale);
