#include "screens/Batch/BatchGridView.h"

#include "core/Batch/ThumbnailService.h"

namespace vantrel {

BatchGridView::BatchGridView(const QList<PhotoFilePtr>* batch, QWidget* parent)
    : QWidget(parent)
    , m_batch(batch)
{
    setObjectName(QStringLiteral("collectionView"));
    setAccessibleName(tr("Photos of the batch"));
    setThumbnailService(new ThumbnailService(
        { BatchViewRules::kGridThumbnailWidth, BatchViewRules::kGridThumbnailHeight }, kCacheBytes));
}

BatchGridView::~BatchGridView() = default;

void BatchGridView::setThumbnailService(ThumbnailService* service)
{
    delete m_thumbnails;
    m_thumbnails = service;
    m_thumbnails->setParent(this);
}

void BatchGridView::setMode(BatchViewMode mode)
{
    m_mode = mode;
}

void BatchGridView::reloadData() { }
void BatchGridView::collectionViewBoundsDidChange() { }
void BatchGridView::scrollingEndAfterDelay() { }
void BatchGridView::reloadCheckMark(qsizetype) { }
void BatchGridView::showNotAvailable(qsizetype) { }
void BatchGridView::selectItem(qsizetype) { }

void BatchGridView::closeThumbnailWork()
{
    m_thumbnails->invalidatePending();
    m_thumbnails->clearCache();
}

} // namespace vantrel
