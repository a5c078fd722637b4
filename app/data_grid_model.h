#pragma once
// The read-only grid's view of the data table: a title row of column names, one line per row,
// numbers and dates as people read them, empty cells empty. It reads cells on demand, so a
// table of millions of rows costs the grid nothing.

#include <QAbstractTableModel>

class TDataTable;

class TDataGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TDataGridModel(QObject* parent = nullptr);

    // Attaches the grid to `table` (kept by the caller), or detaches it with nullptr.
    void SetTable(const TDataTable* table);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const TDataTable* FTable = nullptr;
};
