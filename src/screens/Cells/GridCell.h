#pragma once

#include <QImage>
#include <QString>

#include "components/CollectionView/KeltCollectionView.h"
#include "components/CollectionView/KeltCollectionViewCell.h"
#include "screens/Cells/PhotoInfoButton.h"

namespace vantrel {

/// A photo of the batch grid: thumbnail, name, dimension and size texts, and the check mark that
/// shows the photo's own state (the collection view's selection has no look here). The cell also
/// remembers which photo path it shows, so a thumbnail that arrives late lands only on the cell
/// that still shows its photo. Its info control, at the thumbnail's top-right corner, asks the
/// collection view for the photo's information popup.
class GridCell : public KeltCollectionViewCell {
    Q_OBJECT
public:
    explicit GridCell(QWidget* parent = nullptr);

    QImage image() const { return m_image; }
    void setImage(const QImage& image);
    QString fileName() const { return m_fileName; }
    void setFileName(const QString& name);
    QString fileDimension() const { return m_fileDimension; }
    void setFileDimension(const QString& dimension);
    QString fileSize() const { return m_fileSize; }
    void setFileSize(const QString& size);
    qint32 rowIndex() const { return m_rowIndex; }
    void setRowIndex(qint32 index);
    bool isForSmallThumbnail() const { return m_isForSmallThumbnail; }
    void setIsForSmallThumbnail(bool flag);
    bool isForBigThumbnails() const { return m_isForBigThumbnails; }
    void setIsForBigThubnails(bool flag);
    /// The photo path whose thumbnail this cell is waiting for or shows.
    QString photoPath() const { return m_photoPath; }
    void setPhotoPath(const QString& path) { m_photoPath = path; }

    /// YES: "checked_image.png" and the selection colour (68, 78, 94); NO: "uncheck_image.png"
    /// and no selection colour.
    void selectCellWithFlag(bool flag);
    bool isChecked() const { return m_checked; }

    /// The collection view's selection is not shown.
    void setSelected(bool selected) override;

    /// The info control (accessible name "Photo information").
    PhotoInfoButton* btnInfo() const { return m_btnInfo; }
    /// The info control's frame in a cell of the given size (y-down): 20 x 20, 4 pixels inside
    /// the thumbnail's top-right corner.
    static QRect infoButtonFrame(const QSize& cellSize);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    PhotoInfoButton* m_btnInfo;
    QImage m_image;
    QString m_fileName;
    QString m_fileDimension;
    QString m_fileSize;
    QString m_photoPath;
    qint32 m_rowIndex = 0;
    bool m_isForSmallThumbnail = false;
    bool m_isForBigThumbnails = false;
    bool m_checked = false;
};

} // namespace vantrel
