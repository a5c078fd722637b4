// Loads one data file the way the window does and prints the time it took and the memory the
// load added; bench/load_text.sh runs it beside pandas.

#include "bench/process_status.h"
#include "data/data_loader.h"

#include <chrono>
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DATA_FILE\n", argv[0]);
        return 2;
    }
    ImagickSession session;
    const long baselineKiB = StatusKiB("VmRSS:");
    TDataTable table;
    const auto start = std::chrono::steady_clock::now();
    try {
        LoadDataFile(argv[1], RegionalFormat{'.', doMonthDayYear, '/'}, table);
    } catch (const TulvoError& error) {
        std::fprintf(stderr, "%s(%s)\n", error.what(), error.kind().c_str());
        return 1;
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    const double cells = double(table.RowCount()) * table.ColumnCount();
    std::printf("tulvo:  %.3f s  %d rows x %d columns  peak added %.1f MiB (doubles %.1f MiB)\n",
                seconds.count(), table.RowCount(), table.ColumnCount(),
                (StatusKiB("VmHWM:") - baselineKiB) / 1024.0, cells * 8 / (1024.0 * 1024.0));
    return 0;
}
