#include "screens/Cells/GridCell.h"

#include <QIcon>
#include <QPixmap>

#include "core/ResourceImages.h"

namespace vantrel {

namespace {

constexpr int kInfoSide = 20;
constexpr int kInfoInset = 4;
// The thumbnail's top-right corner in a cell (y-down): it starts 8 below the top and ends 9
// before the right edge (the frame the base gives the thumbnail).
constexpr int kThumbnailTop = 8;
constexpr int kThumbnailRightMargin = 9;

} // namespace

GridCell::GridCell(QWidget* parent)
    : KeltCollectionViewCell(parent)
    , m_btnInfo(new QToolButton(this))
{
    setAccessibleName(tr("Photo"));
    m_btnInfo->setObjectName(QStringLiteral("btnInfo"));
    m_btnInfo->setAccessibleName(tr("Photo information"));
    m_btnInfo->setToolTip(tr("Photo information"));
    m_btnInfo->setAutoRaise(true);
    m_btnInfo->setCursor(Qt::PointingHandCursor);
    m_btnInfo->setFocusPolicy(Qt::NoFocus);
    m_btnInfo->setIconSize(QSize(kInfoSide, kInfoSide));
    m_btnInfo->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; padding: 0; }"));
    QIcon icon(QPixmap::fromImage(ResourceImages::named(QStringLiteral("info_image.png"))));
    icon.addPixmap(QPixmap::fromImage(ResourceImages::named(QStringLiteral("info_image_hover.png"))), QIcon::Active);
    m_btnInfo->setIcon(icon);
    m_btnInfo->setGeometry(infoButtonFrame(size()));
    connect(m_btnInfo, &QToolButton::clicked, this, [this] { btnInfoTapped(m_btnInfo); });
}

QRect GridCell::infoButtonFrame(const QSize& cellSize)
{
    return { cellSize.width() - kThumbnailRightMargin - kInfoInset - kInfoSide, kThumbnailTop + kInfoInset, kInfoSide,
        kInfoSide };
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
