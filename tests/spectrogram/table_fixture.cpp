#include "tests/spectrogram/table_fixture.h"

TDataTable MakeTable(const std::string& labelName, TColumnKind kind,
                     const std::vector<double>& labels,
                     const std::vector<std::vector<double>>& series)
{
    TDataTable table;
    table.AddColumn(labelName, kind);
    for (std::size_t k = 0; k < series.size(); ++k)
        table.AddColumn("S" + std::to_string(k + 1), ckNumber);
    table.Open();
    std::vector<double> row(series.size() + 1);
    const std::vector<std::uint8_t> full(series.size() + 1, 0);
    for (std::size_t r = 0; r < labels.size(); ++r) {
        row[0] = labels[r];
        for (std::size_t k = 0; k < series.size(); ++k)
            row[k + 1] = series[k][r];
        table.AppendRow(row, full);
    }
    return table;
}

std::vector<double> Counting(int n)
{
    std::vector<double> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        v[i] = i + 1;
    return v;
}
