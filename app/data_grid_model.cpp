#include "app/data_grid_model.h"

#include "data/data_table.h"
#include "app/regional_text.h"

TDataGridModel::TDataGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void TDataGridModel::SetTable(const TDataTable* table)
{
    beginResetModel();
    FTable = table;
    endResetModel();
}

int TDataGridModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !FTable || !FTable->IsOpen())
        return 0;
    return FTable->RowCount();
}

int TDataGridModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !FTable || !FTable->IsOpen())
        return 0;
    return FTable->ColumnCount();
}

QVariant TDataGridModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const int row = index.row() + 1; // the table counts rows from 1
    const int column = index.column();
    if (FTable->CellIsEmpty(row, column))
        return QString();
    const double value = FTable->CellAsNumber(row, column);
    return FTable->ColumnKind(column) == ckDate ? RegionalDateText(value)
                                                : RegionalNumberText(value);
}

QVariant TDataGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || !FTable)
        return {};
    if (orientation == Qt::Horizontal)
        return QString::fromStdString(FTable->ColumnName(section));
    return section + 1;
}
