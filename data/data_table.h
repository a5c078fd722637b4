#pragma once
// The loaded data: named columns of numbers or dates, rows of cells that may be empty.
// Each column is stored contiguously (its values and an emptiness mask), so a million rows
// cost 9 bytes per cell and a column is extracted with one copy.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

enum TColumnKind { ckNumber, ckDate };

// Bytes one cell takes in the table: its value and its emptiness flag.
inline constexpr std::size_t kTableCellBytes = sizeof(double) + sizeof(std::uint8_t);

class TDataTable {
public:
    // --- building: define the columns of a closed table, open it, append rows ---

    // Throws ETableError for an empty name ("Field name missing") or a name that an earlier
    // column already has, letter case ignored ("A component named %s already exists").
    void AddColumn(const std::string& name, TColumnKind kind);
    // Opens the table with the columns defined so far and no rows.
    void Open();
    // Forgets columns and rows; the table is closed.
    void Close();
    // Makes room for `rows` more rows at once, after checking the memory budget
    // (EOutOfMemory), so that appending does not over-allocate.
    void ReserveRows(std::size_t rows);
    // Appends one row of an open table: `values` and `isEmpty` hold one entry per column
    // (the value of an empty cell is ignored and stored as 0).
    void AppendRow(std::span<const double> values, std::span<const std::uint8_t> isEmpty);
    // Orders the rows ascending by the column named `keyName`, stably (rows with equal keys
    // keep their order); empty key cells come before every value. Throws ETableError
    // "Field '%s' not found" for a name that holds ';' or begins or ends with a blank (it
    // cannot name a key; %s is the name without those blanks) or that no column has.
    void SortAscending(const std::string& keyName);

    // --- reading ---

    bool IsOpen() const { return open_; }
    // True when an open table has no rows.
    bool IsEmpty() const { return open_ && rowCount_ == 0; }
    int RowCount() const { return static_cast<int>(rowCount_); }
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    const std::string& ColumnName(int column) const;
    TColumnKind ColumnKind(int column) const;
    // `row` is the row position, 1 to RowCount(). A number, the day count of a date (days
    // since 30 December 1899), or 0 for an empty cell. Throws std::out_of_range outside the
    // table.
    double CellAsNumber(int row, int column) const;
    // Same addressing as CellAsNumber: true when the cell holds no value.
    bool CellIsEmpty(int row, int column) const;
    // Position of the column named `name`, letter case ignored, or -1.
    int FindColumn(const std::string& name) const;
    // The column named `name` (letter case ignored) as one value per row, in row order;
    // empty cells read as 0. Throws ETableError "Field '%s' not found".
    std::vector<double> ReadColumn(const std::string& name) const;

private:
    struct TColumn {
        std::string Name;
        TColumnKind Kind;
        std::vector<double> Values;
        std::vector<std::uint8_t> Empty; // 1 where the cell holds no value
    };

    std::size_t CellIndex(int row, int column) const;
    int KeyColumn(const std::string& keyName) const;

    std::vector<TColumn> columns_;
    std::unordered_map<std::string, int> positionByFoldedName_;
    std::size_t rowCount_ = 0;
    bool open_ = false;
};
