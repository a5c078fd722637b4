#pragma once
// How people write numbers and dates where the user lives. Data files and the parameter edits
// follow it; numbers that machines read never do.

enum TDateOrder { doDayMonthYear, doMonthDayYear, doYearMonthDay };

struct RegionalFormat {
    char DecimalSeparator = '.';
    TDateOrder DateOrder = doDayMonthYear;
    char DateSeparator = '.';
};
