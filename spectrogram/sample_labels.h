#pragma once
// The text under each sample column of a 1-D picture: month marks for dated data, every
// thirtieth label for numbered data.

#include "data/data_table.h"

#include <string>

struct TCalendarDate {
    int Year;
    int Month;
    int Day;
};

// The calendar date of a day count since 30 December 1899.
TCalendarDate DateOfDayCount(long long dayCount);

// The label of a numeric sample: the value rounded to a whole number, halves away from zero;
// values whose integer part has more than five digits in exponent notation.
std::string NumericLabel(double value);

// The label of sample column c (0-based), possibly empty. Dated labels ("yy-mm" on the first
// day of a month) count one sample a day from `firstLabel`; numeric ones (c = 0, 30, 60, ...)
// show the label cell of row c + 1.
std::string SampleLabel(const TDataTable& table, double firstLabel, int c);
