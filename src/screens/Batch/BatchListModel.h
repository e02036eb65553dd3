#pragma once

#include <functional>

#include <QAbstractTableModel>
#include <QImage>
#include <QSet>

#include "core/DataBeans/PhotoFile.h"

namespace vantrel {

/// The batch as the list's table: one row per photo, seven columns in a fixed order (name with
/// thumbnail, type, dimensions, size, location, check, delete). Rows read the batch live; the
/// list resets the model whenever the batch changes.
///
/// The name column's picture is the photo's cached thumbnail looked up by the row's own path, the
/// not-available image for a photo that could not be read, or the placeholder; so a row can
/// never show another photo's thumbnail.
class BatchListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        NameColumn,
        TypeColumn,
        DimensionsColumn,
        FileSizeColumn,
        FileLocationColumn,
        CheckColumn,
        DeleteColumn,
        ColumnCount
    };
    /// The image name a cell shows (check and delete columns: the button image).
    static constexpr int ImageNameRole = Qt::UserRole + 1;

    /// The columns' identifiers, in column order.
    static const QStringList& columnIdentifiers();

    using ThumbnailLookup = std::function<QImage(const QString& path)>;

    explicit BatchListModel(const QList<PhotoFilePtr>* batch, QObject* parent = nullptr);

    void setThumbnailLookup(ThumbnailLookup lookup) { m_lookup = std::move(lookup); }
    /// Marks a path as unreadable (the row shows "not_av_small.png").
    void setThumbnailFailed(const QString& path) { m_failed.insert(path); }
    void clearThumbnailFailures() { m_failed.clear(); }
    /// Redraws a row's thumbnail.
    void thumbnailChanged(int row);
    /// Redraws a row's check mark.
    void checkChanged(int row);
    void reload();

    PhotoFilePtr photoAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction; }
    QStringList mimeTypes() const override { return { QStringLiteral("text/uri-list") }; }

private:
    const QList<PhotoFilePtr>* m_batch;
    ThumbnailLookup m_lookup;
    QSet<QString> m_failed;
};

} // namespace vantrel
