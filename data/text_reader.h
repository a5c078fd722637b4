#pragma once
// The tab-delimited text data file, read from its bytes in memory: an optional header line,
// one row per further line, TAB between fields. A line ends at LF; CRs just before the line
// end are not part of it; a Ctrl-Z ends the file; a UTF-8 byte-order mark at the start is
// skipped. Text that is not UTF-8 (UTF-16, NUL bytes) is refused (data/line_source.h).

#include "data/data_table.h"
#include "data/regional_format.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Receives the line counter (lines read so far, the header included) every 100 lines and
// once at the end of the rows, also when the load fails. It may throw (ECancelled) to stop
// the load.
using TLoadProgress = std::function<void(long long lineCounter)>;

struct TColumnDefinition {
    std::string Name;
    TColumnKind Kind = ckNumber;
};

struct TTextHeader {
    std::vector<TColumnDefinition> Columns;
    int HeaderLines = 1; // 0 when the first line already holds data
};

// "V0000", "V0001", ..., "V10000": the name of column `position` when there is no header.
std::string NumberedColumnName(int position);

// Reads the first line of `text`: a header of column names (a name holding DATE makes a date
// column), or, when its first field reads as a number, the first data line, which defines
// number columns V0000... Throws EGeneric ("Ошибка в строке :1") for a name holding a control
// character or bytes that are no UTF-8.
TTextHeader ReadTextHeader(std::string_view text, const RegionalFormat& format);

// Skips `headerLines` lines and appends one row per further line to the open `table`, each
// field trimmed and read by its column's kind; an empty field leaves its cell empty, missing
// fields too. A field that does not convert, or a field beyond the last column, throws
// EGeneric "Ошибка в строке :" + the line counter. Throws EOutOfMemory when the rows do not
// fit the memory budget. `progress` may be empty.
void ReadTextRows(std::string_view text, int headerLines, const RegionalFormat& format,
                  TDataTable& table, const TLoadProgress& progress);
