#include "components/CollectionView/KeltCollectionViewCell.h"

#include <algorithm>

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

#include "components/CollectionView/KeltCollectionView.h"
#include "components/Geometry.h"
#include "core/ResourceImages.h"

namespace vantrel {

namespace {

const QColor kBottomBoxColor(36, 41, 50);
const QColor kBackdropColor(105, 126, 165);
const QColor kLineSelectedColor(68, 78, 94);
const QColor kSmallTextColor(217, 217, 217);

QFont systemFont(int pixelSize)
{
    QFont font;
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

bool KeltCollectionViewCellBackgroundView::setColor(const QColor& color)
{
    if (m_color == color)
        return false;
    m_color = color;
    return true;
}

bool KeltCollectionViewCellBackgroundView::setImage(const QImage& image)
{
    if (m_image.isNull() && image.isNull())
        return false;
    m_image = image;
    return true;
}

KeltCollectionViewCell::KeltCollectionViewCell(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Collection cell"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    // Cells are made with a zero frame; the parts follow the cell's size from there on.
    setGeometry(0, 0, 0, 0);
    const double w = 0;
    const double h = 0;
    auto place = [this](Part part, QRectF frame, bool widthSizable, bool heightSizable, bool hidden = false) {
        PartGeometry& g = partGeometry(part);
        g.frame = frame;
        g.cellSize = QSizeF(0, 0);
        g.widthSizable = widthSizable;
        g.heightSizable = heightSizable;
        g.hidden = hidden;
    };
    place(Part::CheckBoxBtn, { 140, 5, 33, 33 }, false, false);
    place(Part::LblTitle, { 21, 45, w - 40, 27 }, true, false);
    place(Part::LblDimension, { 21, 33, w - 40, 15 }, true, false);
    place(Part::LblSize, { 21, 18, w - 40, 15 }, true, false);
    place(Part::BottomBox, { 10, 9, w - 20, 70 }, true, false);
    place(Part::ImgVwThumbnail, { 0, 79, w - 20, h - 73 }, true, true);
    place(Part::BgThumbnail, { 0, 0, 0, 0 }, true, true, true);
    place(Part::BackgroundView, { 10, 80, w - 20, h - 90 }, true, true);
    place(Part::VwSelectedState, { 7, 6, w - 14, h - 12 }, true, true);
    place(Part::VwLineSelected, { 8, 8, w - 36, 3 }, true, false, true);
    m_lineSelectedColor = kLineSelectedColor;
    m_checkImage = ResourceImages::named(QStringLiteral("checked_image.png"));
    m_checkAlternateImage = ResourceImages::named(QStringLiteral("uncheck_image.png"));
}

KeltCollectionViewCell::~KeltCollectionViewCell() = default;

void KeltCollectionViewCell::setCollectionView(KeltCollectionView* collectionView)
{
    m_collectionView = collectionView;
    m_backgroundView.setCollectionView(collectionView);
}

void KeltCollectionViewCell::setSelected(bool selected)
{
    m_selected = selected;
}

void KeltCollectionViewCell::setSelected(bool selected, bool animated)
{
    if (animated && selected != m_selected && m_crossfadeDuration > 0) {
        m_pendingFade = m_crossfadeDuration;
        m_fadeFromColor = m_backgroundView.color();
        m_fadeFromImage = m_backgroundView.image();
        m_fadeProgress = 0;
        crossfadeTicks()->start(kFadeFrameMs);
    } else if (!animated) {
        stopCrossfade(); // shown at once, also over a fade still running
    }
    setSelected(selected);
    update();
}

void KeltCollectionViewCell::prepareForReuse()
{
    m_pendingFade = 0;
    stopCrossfade();
}

TickSource* KeltCollectionViewCell::crossfadeTicks()
{
    if (!m_fadeTicks) {
        if (!m_ownFadeTicks)
            m_ownFadeTicks = new TickSource(this);
        setCrossfadeTickSource(m_ownFadeTicks);
    }
    return m_fadeTicks;
}

void KeltCollectionViewCell::setCrossfadeTickSource(TickSource* source)
{
    if (m_fadeTicks)
        disconnect(m_fadeTicks, &TickSource::tick, this, &KeltCollectionViewCell::stepCrossfade);
    m_fadeTicks = source;
    if (source)
        connect(source, &TickSource::tick, this, &KeltCollectionViewCell::stepCrossfade);
}

void KeltCollectionViewCell::stepCrossfade()
{
    if (m_fadeProgress >= 1)
        return;
    m_fadeProgress = std::min(1.0, m_fadeProgress + kFadeFrameMs / 1000.0 / m_crossfadeDuration);
    if (m_fadeProgress >= 1)
        stopCrossfade();
    update();
}

void KeltCollectionViewCell::stopCrossfade()
{
    if (m_fadeProgress < 1)
        update();
    m_fadeProgress = 1;
    m_fadeFromColor = QColor();
    m_fadeFromImage = QImage();
    if (m_fadeTicks)
        m_fadeTicks->stop();
}

void KeltCollectionViewCell::setAlphaValue(double alpha)
{
    if (m_alphaValue == alpha)
        return;
    m_alphaValue = alpha;
    update();
}

QWidget* KeltCollectionViewCell::contentView()
{
    if (!m_contentView)
        setContentView(new QWidget);
    return m_contentView;
}

void KeltCollectionViewCell::setContentView(QWidget* view)
{
    if (m_contentView && m_contentView != view)
        m_contentView->deleteLater();
    m_contentView = view;
    if (view) {
        view->setParent(this);
        view->setGeometry(rect());
        view->show();
    }
}

void KeltCollectionViewCell::setBackgroundColor(const QColor& color)
{
    if (m_backgroundView.setColor(color))
        update();
}

void KeltCollectionViewCell::setPartFrame(Part part, const QRectF& frame)
{
    PartGeometry& g = partGeometry(part);
    g.frame = frame;
    g.cellSize = size();
}

QRectF KeltCollectionViewCell::partFrame(Part part) const
{
    const PartGeometry& g = partGeometry(part);
    QRectF frame = g.frame;
    if (g.widthSizable)
        frame.setWidth(frame.width() + width() - g.cellSize.width());
    if (g.heightSizable)
        frame.setHeight(frame.height() + height() - g.cellSize.height());
    return frame;
}

bool KeltCollectionViewCell::isPartHidden(Part part) const
{
    return partGeometry(part).hidden;
}

QRectF KeltCollectionViewCell::partRect(Part part) const
{
    return Geometry::flipY(partFrame(part), height());
}

void KeltCollectionViewCell::setBackgroundImage(const QImage& image)
{
    const QRectF box = partFrame(Part::BottomBox);
    const QRectF frame(
        10, Geometry::maxY(box), partFrame(Part::VwSelectedState).width() - 5, height() - box.height() + box.y() - 26);
    setPartFrame(Part::ImgVwThumbnail, frame);
    setPartFrame(Part::BgThumbnail, frame);
    partGeometry(Part::BgThumbnail).hidden = false;
    m_thumbnail = image;
    update();
}

void KeltCollectionViewCell::setNameValue(const QString& value)
{
    m_nameValue = value;
    setToolTip(value);
    update();
}

void KeltCollectionViewCell::setDimensionValue(const QString& value)
{
    m_dimensionValue = value;
    update();
}

void KeltCollectionViewCell::setSizeValue(const QString& value)
{
    m_sizeValue = value;
    update();
}

void KeltCollectionViewCell::setBgselectedColor(const QColor& color)
{
    // The selection frame and the selection line share the colour.
    m_bgselectedColor = color;
    m_lineSelectedColor = color;
    update();
}

void KeltCollectionViewCell::setCheckImage(const QImage& image)
{
    m_checkImage = image;
    update();
}

void KeltCollectionViewCell::setIsForSmallThubnails(bool flag)
{
    m_isForSmallThubnails = flag;
    const double w = width();
    const double h = height();
    setPartFrame(Part::BackgroundView, { 8, 8, w - 16, h - 10 });
    setPartFrame(Part::VwSelectedState, { 6, 6, w - 12, h - 6 });
    setPartFrame(Part::VwLineSelected, { 6, 0, w - 12, 3 });
    partGeometry(Part::VwLineSelected).hidden = false;
    partGeometry(Part::BottomBox).hidden = true;
    partGeometry(Part::LblTitle).hidden = true;
    update();
}

void KeltCollectionViewCell::setIsForBigThumbnail(bool flag)
{
    // The flag is stored; the button moves whatever its value.
    m_isForBigThumbnail = flag;
    setPartFrame(Part::CheckBoxBtn, { 180, 5, 33, 33 });
    update();
}

QString KeltCollectionViewCell::description() const
{
    const QRectF f = m_documentFrame;
    return QStringLiteral("<%1: %2; frame = {{%3, %4}, {%5, %6}}>")
        .arg(QString::fromLatin1(metaObject()->className()))
        .arg(quintptr(this), 0, 16)
        .arg(f.x())
        .arg(f.y())
        .arg(f.width())
        .arg(f.height());
}

// ---- Painting -------------------------------------------------------------------------------

void KeltCollectionViewCell::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setOpacity(m_alphaValue);
    auto fill = [&](Part part, const QColor& color) {
        if (!isPartHidden(part) && color.isValid() && color.alpha() > 0)
            painter.fillRect(partRect(part), color);
    };
    const qreal ratio = devicePixelRatioF();
    // Scaled down proportionally to fit, never up, centred on whole pixels; drawn from the
    // cache's copy at that size, so that a frame only copies pixels.
    auto drawFitted = [&](CellPaintCache::ImageSlot slot, const QImage& image, const QRectF& box) {
        QSizeF size = image.size();
        if (size.width() > box.width() || size.height() > box.height())
            size.scale(box.size(), Qt::KeepAspectRatio);
        const QSize pixels(qMax(1, qRound(size.width() * ratio)), qMax(1, qRound(size.height() * ratio)));
        QImage shown = m_paintCache.scaled(slot, image, pixels);
        shown.setDevicePixelRatio(ratio);
        const QPointF origin(qRound(box.center().x() - size.width() / 2), qRound(box.center().y() - size.height() / 2));
        painter.drawImage(origin, shown);
    };
    // Bottom-most first: the last part built lies below all the others.
    fill(Part::VwLineSelected, m_lineSelectedColor);
    fill(Part::VwSelectedState, m_bgselectedColor);
    if (!isPartHidden(Part::BackgroundView)) {
        const QRectF box = partRect(Part::BackgroundView);
        auto drawLook = [&](const QColor& color, const QImage& image) {
            if (color.isValid() && color.alpha() > 0)
                painter.fillRect(box, color);
            if (!image.isNull())
                painter.drawImage(box, image);
        };
        if (m_fadeProgress < 1) {
            // The cross-fade: the look before the selection change under the new one, which
            // comes in with the fade's progress.
            drawLook(m_fadeFromColor, m_fadeFromImage);
            painter.setOpacity(m_alphaValue * m_fadeProgress);
        }
        drawLook(m_backgroundView.color(), m_backgroundView.image());
        painter.setOpacity(m_alphaValue);
    }
    fill(Part::BgThumbnail, kBackdropColor);
    if (!m_thumbnail.isNull() && !isPartHidden(Part::ImgVwThumbnail))
        drawFitted(CellPaintCache::ImageSlot::Thumbnail, m_thumbnail, partRect(Part::ImgVwThumbnail));
    fill(Part::BottomBox, kBottomBoxColor);
    auto text
        = [&](Part part, CellPaintCache::TextSlot slot, const QString& value, const QColor& color, int pixelSize) {
              if (isPartHidden(part) || value.isEmpty())
                  return;
              const QRectF box = partRect(part).adjusted(2, 0, -2, 0);
              const QFont font = systemFont(pixelSize);
              painter.setFont(font);
              painter.setPen(color);
              const QStaticText& laidOut = m_paintCache.text(slot, value, font, box.width());
              // Clipped to its box only when it does not fit there, as drawText does.
              const bool clip = laidOut.size().width() > box.width() || laidOut.size().height() > box.height();
              if (clip) {
                  painter.save();
                  painter.setClipRect(box, Qt::IntersectClip);
              }
              painter.drawStaticText(box.topLeft(), laidOut);
              if (clip)
                  painter.restore();
          };
    text(Part::LblSize, CellPaintCache::TextSlot::Size, m_sizeValue, kSmallTextColor, 10);
    text(Part::LblDimension, CellPaintCache::TextSlot::Dimension, m_dimensionValue, kSmallTextColor, 10);
    text(Part::LblTitle, CellPaintCache::TextSlot::Title, m_nameValue, Qt::white, 12);
    if (!isPartHidden(Part::CheckBoxBtn)) {
        const QImage& image
            = m_pressingCheckBox && !m_checkAlternateImage.isNull() ? m_checkAlternateImage : m_checkImage;
        if (!image.isNull())
            drawFitted(CellPaintCache::ImageSlot::CheckBox, image, partRect(Part::CheckBoxBtn));
    }
}

void KeltCollectionViewCell::resizeEvent(QResizeEvent*)
{
    if (m_contentView)
        m_contentView->setGeometry(rect());
}

// ---- Mouse ----------------------------------------------------------------------------------

bool KeltCollectionViewCell::inCheckBox(const QPointF& point) const
{
    return !isPartHidden(Part::CheckBoxBtn) && Geometry::mouseInRect(point, partRect(Part::CheckBoxBtn), true);
}

void KeltCollectionViewCell::mousePressEvent(QMouseEvent* event)
{
    // The check box behaves as a button of its own: its clicks never reach the collection view.
    if (event->button() == Qt::LeftButton && inCheckBox(event->position())) {
        m_pressingCheckBox = true;
        update();
        return;
    }
    m_doubleClickPending = false;
    if (!m_collectionView)
        return;
    if (event->button() == Qt::RightButton)
        m_collectionView->rightClickInCollectionViewCell(this, event);
    else if (event->button() == Qt::LeftButton)
        m_collectionView->mouseDownInCollectionViewCell(this, event);
}

void KeltCollectionViewCell::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click: a press as any other, and its release also reports the
    // double click.
    mousePressEvent(event);
    if (event->button() == Qt::LeftButton && !m_pressingCheckBox)
        m_doubleClickPending = true;
}

void KeltCollectionViewCell::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_pressingCheckBox) {
        m_pressingCheckBox = false;
        update();
        if (event->button() == Qt::LeftButton && inCheckBox(event->position()))
            btnCheckboxTapped();
        return;
    }
    if (event->button() != Qt::LeftButton || !m_collectionView)
        return;
    const bool doubleClick = m_doubleClickPending;
    m_doubleClickPending = false;
    QPointer<KeltCollectionViewCell> alive(this);
    m_collectionView->mouseUpInCollectionViewCell(this, event);
    if (doubleClick && alive && m_collectionView)
        m_collectionView->doubleClickInCollectionViewCell(this, event);
}

void KeltCollectionViewCell::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    if (!m_collectionView || m_pressingCheckBox)
        return;
    if (event->buttons() & Qt::LeftButton)
        m_collectionView->mouseDraggedInCollectionViewCell(this, event);
    else
        m_collectionView->mouseMovedInCollectionViewCell(this, event);
}

void KeltCollectionViewCell::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    if (m_collectionView)
        m_collectionView->mouseEnteredInCollectionViewCell(this, event);
}

void KeltCollectionViewCell::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (m_collectionView)
        m_collectionView->mouseExitedInCollectionViewCell(this, event);
}

QPointF KeltCollectionViewCell::locationOfPart(Part part) const
{
    const QPointF origin = partRect(part).topLeft();
    if (!m_collectionView)
        return origin;
    return QPointF(mapTo(m_collectionView->locationsView(), origin.toPoint()));
}

void KeltCollectionViewCell::btnInfoTapped(QWidget* sender)
{
    if (!m_collectionView || !m_indexPath)
        return;
    const QPointF location = sender ? QPointF(sender->mapTo(m_collectionView->locationsView(), QPoint(0, 0)))
                                    : locationOfPart(Part::CheckBoxBtn);
    m_collectionView->btnInfoTappedAtLocationInCollectionView(location, *m_indexPath);
}

void KeltCollectionViewCell::btnCheckboxTapped()
{
    if (!m_collectionView || !m_indexPath)
        return;
    m_collectionView->btnCheckboxTappedAtLocationInCollectionView(locationOfPart(Part::CheckBoxBtn), *m_indexPath);
}

} // namespace vantrel
