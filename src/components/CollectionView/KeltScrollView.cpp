#include "components/CollectionView/KeltScrollView.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include <QScrollBar>

#include "components/CollectionView/KeltClipView.h"

namespace vantrel {

namespace {

int toBarValue(double value)
{
    return int(std::clamp(std::ceil(value), 0.0, double(INT_MAX)));
}

} // namespace

KeltScrollView::KeltScrollView(QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_clipView(new KeltClipView(this))
{
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(true);
    setBackgroundColor(m_backgroundColor);
}

KeltScrollView::~KeltScrollView() = default;

QSizeF KeltScrollView::visibleSize() const
{
    return QSizeF(viewport()->size());
}

QRectF KeltScrollView::documentVisibleRect() const
{
    return m_clipView->documentVisibleRect();
}

void KeltScrollView::setDocumentSize(const QSizeF& size)
{
    if (m_documentSize == size)
        return;
    m_documentSize = size;
    updateScrollBars();
    m_clipView->constrainOrigin();
}

void KeltScrollView::updateScrollBars()
{
    m_settingBars = true;
    const QSizeF visible = visibleSize();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, toBarValue(m_documentSize.height() - visible.height()));
    vertical->setPageStep(std::max(int(visible.height()), 1));
    vertical->setSingleStep(20);
    vertical->setValue(m_pixelOrigin.y());
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, toBarValue(m_documentSize.width() - visible.width()));
    horizontal->setPageStep(std::max(int(visible.width()), 1));
    horizontal->setSingleStep(20);
    horizontal->setValue(m_pixelOrigin.x());
    m_settingBars = false;
}

void KeltScrollView::applyOrigin()
{
    const QPointF origin = m_clipView->origin();
    const QPoint pixel(int(std::lround(origin.x())), int(std::lround(origin.y())));
    const QPoint delta = m_pixelOrigin - pixel;
    m_pixelOrigin = pixel;
    updateScrollBars();
    if (!delta.isNull())
        viewport()->scroll(delta.x(), delta.y());
    reflectScrolledClipView();
    emit boundsDidChange();
}

void KeltScrollView::scrollContentsBy(int, int)
{
    // The user moved a scroll bar (or the wheel did): an immediate scroll to the bars' place.
    if (m_settingBars)
        return;
    m_clipView->scrollToPoint(QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value()));
}

void KeltScrollView::setBackgroundColor(const QColor& color)
{
    m_backgroundColor = color;
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Base, color);
    viewport()->setPalette(palette);
    viewport()->update();
}

void KeltScrollView::setDrawsBackground(bool draws)
{
    m_drawsBackground = draws;
    viewport()->setAutoFillBackground(draws);
    viewport()->update();
}

} // namespace vantrel
