#include "screens/Logs/LogDetailsTableModel.h"

namespace vantrel {

const std::array<QString, LogDetailsTableModel::ColumnCount>& LogDetailsTableModel::identifiers()
{
    static const std::array<QString, ColumnCount> kIdentifiers { QStringLiteral("number"),
        QStringLiteral("inputfFileName"), QStringLiteral("outputFileName"), QStringLiteral("information"),
        QStringLiteral("oldSize"), QStringLiteral("newSize"), QStringLiteral("ratio"), QStringLiteral("save") };
    return kIdentifiers;
}

int LogDetailsTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int LogDetailsTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString LogDetailsTableModel::text(int row, int column) const
{
    if (row < 0 || row >= m_rows || column < 0 || column >= ColumnCount)
        return {};
    if (column == Number)
        return QString::number(row + 1);
    return m_columns[size_t(column - 1)].at(row);
}

QVariant LogDetailsTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int column = index.column();
    if (role == Qt::DisplayRole)
        return text(index.row(), column);
    if (role == Qt::ToolTipRole && (column == InputFile || column == OutputFile || column == Information)) {
        // A cell with nothing to show (the run stores " " for a photo without output) has no
        // tip: a blank one would show as an empty box.
        const QString shown = text(index.row(), column);
        return shown.trimmed().isEmpty() ? QVariant() : QVariant(shown);
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter | (column == Number ? Qt::AlignHCenter : Qt::AlignLeft));
    return {};
}

QVariant LogDetailsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* kTitles[ColumnCount]
        = { "#", "Input File", "Output File", "Information", "Old Size", "New Size", "Ratio (%)", "Saved" };
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return QString::fromLatin1(kTitles[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void LogDetailsTableModel::clear()
{
    beginResetModel();
    for (PackedTextColumn& column : m_columns)
        column.clear();
    m_rows = 0;
    endResetModel();
}

void LogDetailsTableModel::appendRows(const QList<DBManager::LogDetailValues>& rows)
{
    if (rows.isEmpty())
        return;
    beginInsertRows({}, m_rows, m_rows + int(rows.size()) - 1);
    for (const DBManager::LogDetailValues& values : rows) {
        // values[0] is the run stamp, the same for every row: not kept.
        for (size_t c = 0; c < m_columns.size(); ++c)
            m_columns[c].append(values[c + 1]);
    }
    m_rows += int(rows.size());
    endInsertRows();
}

qsizetype LogDetailsTableModel::byteSize() const
{
    qsizetype total = 0;
    for (const PackedTextColumn& column : m_columns)
        total += column.byteSize();
    return total;
}

} // namespace vantrel
