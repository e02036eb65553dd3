#pragma once

#include <QPoint>
#include <QStringList>
#include <QWidget>

#include "core/Batch/BatchViewRules.h"
#include "core/DataBeans/PhotoFile.h"

namespace vantrel {

class ThumbnailService;

/// The batch as a grid of thumbnails: 180 x 220 items (220 x 300 in the big grid), thumbnails
/// requested for the visible cells once scrolling pauses for 0.02 seconds.
class BatchGridView : public QWidget {
    Q_OBJECT
public:
    static constexpr qint64 kCacheBytes = 128LL * 1024 * 1024;

    explicit BatchGridView(const QList<PhotoFilePtr>* batch, QWidget* parent = nullptr);
    ~BatchGridView() override;

    ThumbnailService* thumbnails() const { return m_thumbnails; }
    void setThumbnailService(ThumbnailService* service);

    void setMode(BatchViewMode mode);
    void reloadData();
    void collectionViewBoundsDidChange();
    void scrollingEndAfterDelay();
    void reloadCheckMark(qsizetype index);
    void showNotAvailable(qsizetype index);
    void selectItem(qsizetype index);
    void closeThumbnailWork();

signals:
    void checkboxTapped(QPoint location, qsizetype index);
    void infoTapped(QPoint location, qsizetype index);
    void rightClicked(QPoint location, qsizetype index);
    void pathsDropped(const QStringList& paths);
    void scrolled();

private:
    const QList<PhotoFilePtr>* m_batch;
    ThumbnailService* m_thumbnails = nullptr;
    BatchViewMode m_mode = BatchViewMode::Grid;
};

} // namespace vantrel
