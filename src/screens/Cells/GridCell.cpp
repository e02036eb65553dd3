#include "screens/Cells/GridCell.h"

#include "core/ResourceImages.h"

namespace vantrel {

namespace {

constexpr int kInfoInset = 4;
// The thumbnail's top-right corner in a cell (y-down): it starts 8 below the top and ends 9
// before the right edge (the frame the base gives the thumbnail).
constexpr int kThumbnailTop = 8;
constexpr int kThumbnailRightMargin = 9;

} // namespace

GridCell::GridCell(QWidget* parent)
    : KeltCollectionViewCell(parent)
    , m_btnInfo(new PhotoInfoButton(this))
{
    setAccessibleName(tr("Photo"));
    m_btnInfo->setGeometry(infoButtonFrame(size()));
    connect(m_btnInfo, &QToolButton::clicked, this, [this] { btnInfoTapped(m_btnInfo); });
}

QRect GridCell::infoButtonFrame(const QSize& cellSize)
{
    constexpr int side = PhotoInfoButton::kSide;
    return { cellSize.width() - kThumbnailRightMargin - kInfoInset - side, kThumbnailTop + kInfoInset, side, side };
}

void GridCell::resizeEvent(QResizeEvent* event)
{
    KeltCollectionViewCell::resizeEvent(event);
    m_btnInfo->setGeometry(infoButtonFrame(size()));
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
    m_btnInfo->setAccessibleDescription(name);
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
