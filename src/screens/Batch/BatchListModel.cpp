#include "screens/Batch/BatchListModel.h"

#include "core/ResourceImages.h"

namespace vantrel {

const QStringList& BatchListModel::columnIdentifiers()
{
    static const QStringList identifiers { "nameColumn", "typeColumn", "dimensionsColumn", "fileSizeColumn",
        "fileLocationColumn", "checkColumn", "deleteColumn" };
    return identifiers;
}

BatchListModel::BatchListModel(const QList<PhotoFilePtr>* batch, QObject* parent)
    : QAbstractTableModel(parent)
    , m_batch(batch)
{
}

void BatchListModel::thumbnailChanged(int row)
{
    const QModelIndex cell = index(row, NameColumn);
    emit dataChanged(cell, cell, { Qt::DecorationRole });
}

void BatchListModel::checkChanged(int row)
{
    const QModelIndex cell = index(row, CheckColumn);
    emit dataChanged(cell, cell, { ImageNameRole });
}

void BatchListModel::reload()
{
    beginResetModel();
    endResetModel();
}

PhotoFilePtr BatchListModel::photoAt(int row) const
{
    return row >= 0 && row < m_batch->size() ? m_batch->at(row) : nullptr;
}

int BatchListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_batch->size());
}

int BatchListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BatchListModel::data(const QModelIndex& index, int role) const
{
    const PhotoFilePtr photo = photoAt(index.row());
    if (!photo)
        return {};
    const PhotoFile& p = *photo;
    switch (index.column()) {
    case NameColumn:
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return p.fileName();
        if (role == Qt::DecorationRole) {
            if (m_failed.contains(p.filePath()))
                return ResourceImages::named(QStringLiteral("not_av_small.png"));
            const QImage thumbnail = m_lookup ? m_lookup(p.filePath()) : QImage();
            return thumbnail.isNull() ? ResourceImages::named(QStringLiteral("place_holder.png")) : thumbnail;
        }
        break;
    case TypeColumn:
        if (role == Qt::DisplayRole)
            return p.fileExtension();
        break;
    case DimensionsColumn:
        if (role == Qt::DisplayRole)
            return QStringLiteral("%1X%2").arg(qint64(p.width())).arg(qint64(p.height()));
        break;
    case FileSizeColumn:
        if (role == Qt::DisplayRole)
            return p.fileSizeAsString();
        break;
    case FileLocationColumn:
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return p.filePath();
        break;
    case CheckColumn:
        if (role == ImageNameRole)
            return p.isSelected() ? QStringLiteral("checked_image.png") : QStringLiteral("uncheck_image.png");
        if (role == Qt::AccessibleTextRole)
            return p.isSelected() ? tr("Checked") : tr("Unchecked");
        break;
    case DeleteColumn:
        if (role == ImageNameRole)
            return QStringLiteral("close-normal.png");
        if (role == Qt::ToolTipRole || role == Qt::AccessibleTextRole)
            return tr("Remove from batch");
        break;
    default:
        break;
    }
    return {};
}

QVariant BatchListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const titles[] = { "Name", "Type", "Dimensions", "Size", "Location", "", "" };
    return section >= 0 && section < ColumnCount ? tr(titles[section]) : QVariant();
}

Qt::ItemFlags BatchListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
}

} // namespace vantrel
