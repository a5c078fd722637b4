#pragma once
// Compact texts of a table for comparing whole tables in one line.

#include "data/data_table.h"

#include <cstdio>
#include <string>

// Column names joined by '|'.
inline std::string DumpNames(const TDataTable& table)
{
    std::string text;
    for (int c = 0; c < table.ColumnCount(); ++c)
        text += (c ? "|" : "") + table.ColumnName(c);
    return text;
}

// Rows joined by '|', cells by ' ', an empty cell as '_', values as by "%.17g".
inline std::string DumpRows(const TDataTable& table)
{
    std::string text;
    for (int r = 1; r <= table.RowCount(); ++r) {
        if (r > 1)
            text += '|';
        for (int c = 0; c < table.ColumnCount(); ++c) {
            if (c)
                text += ' ';
            char cell[32];
            std::snprintf(cell, sizeof cell, "%.17g", table.CellAsNumber(r, c));
            text += table.CellIsEmpty(r, c) ? "_" : cell;
        }
    }
    return text;
}
