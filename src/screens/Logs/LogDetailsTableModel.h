#pragma once

#include <array>

#include <QAbstractTableModel>

#include "core/DbManager/DBManager.h"
#include "screens/Logs/PackedTextColumn.h"

namespace vantrel {

/// The rows of one run in the log viewer's table, packed per column (PackedTextColumn) so that a
/// run of a million photos fits in memory and the table view asks only for the rows it shows.
/// Columns: the row number from 1, input file, output file, information, old size, new size,
/// ratio and saving; every text is shown as stored. Rows are appended a page at a time.
class LogDetailsTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Number, InputFile, OutputFile, Information, OldSize, NewSize, Ratio, Save, ColumnCount };

    /// The column identifiers of the table, in column order.
    static const std::array<QString, ColumnCount>& identifiers();

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// The text of a cell (the number column counts from 1).
    QString text(int row, int column) const;
    void clear();
    /// Appends rows, as the log database hands them over, in one insertion.
    void appendRows(const QList<DBManager::LogDetailValues>& rows);
    qsizetype byteSize() const;

private:
    std::array<PackedTextColumn, ColumnCount - 1> m_columns; // every column but the number
    int m_rows = 0;
};

} // namespace vantrel
