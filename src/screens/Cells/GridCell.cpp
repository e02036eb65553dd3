#include "screens/Cells/GridCell.h"

#include "core/ResourceImages.h"

namespace vantrel {

GridCell::GridCell(QWidget* parent)
    : KeltCollectionViewCell(parent)
{
    setAccessibleName(tr("Photo"));
}

void GridCell::setImage(const QImage& image)
{
    m_image = image;
    setBackgroundImage(image);
}

void GridCell::setFileName(const QString& name)
{
    m_fileName = name;
    setNameValue(name);
    setAccessibleName(name);
}

void GridCell::setFileDimension(const QString& dimension)
{
    m_fileDimension = dimension;
    setDimensionValue(dimension);
}

void GridCell::setFileSize(const QString& size)
{
    m_fileSize = size;
    setSizeValue(size);
}

void GridCell::setRowIndex(qint32 index)
{
    m_rowIndex = index;
    setCellIndex(index);
}

void GridCell::setIsForSmallThumbnail(bool flag)
{
    m_isForSmallThumbnail = flag;
    setIsForSmallThubnails(flag);
}

void GridCell::setIsForBigThubnails(bool flag)
{
    m_isForBigThumbnails = flag;
    setIsForBigThumbnail(flag);
}

void GridCell::selectCellWithFlag(bool flag)
{
    m_checked = flag;
    setCheckImage(
        ResourceImages::named(flag ? QStringLiteral("checked_image.png") : QStringLiteral("uncheck_image.png")));
    setBgselectedColor(flag ? QColor(68, 78, 94) : QColor(Qt::transparent));
}

void GridCell::setSelected(bool) { }

} // namespace vantrel
