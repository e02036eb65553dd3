#include "screens/Batch/BatchArea.h"

#include <QEvent>
#include <QLayout>

#include "core/AppDelegate.h"
#include "screens/Batch/BatchBrowser.h"

namespace vantrel {

BatchArea::BatchArea(AddPhotosVC* screen)
    : QObject(screen)
    , m_screen(screen)
    , m_browser(new BatchBrowser(this, nullptr, screen->batchViewsContainer()))
{
    if (QLayout* layout = screen->batchViewsContainer()->layout())
        layout->addWidget(m_browser);
    screen->setBatchArea(this);
    screen->installEventFilter(this);
}

BatchPresenter* BatchArea::presenter() const
{
    return m_browser->presenter();
}

void BatchArea::updateBatchInformationInBottomView()
{
    presenter()->updateBatchInformationInBottomView();
}

void BatchArea::changePhotosViewImageMode()
{
    presenter()->changePhotosViewImageMode(presenter()->mode());
}

void BatchArea::updateButtonsEnability()
{
    presenter()->updateButtonsEnability();
}

void BatchArea::addBottomInfoAboutBatch()
{
    presenter()->addBottomInfoAboutBatch();
}

void BatchArea::processWithSkippedFilesNotification()
{
    presenter()->processWithSkippedFilesNotification();
}

void BatchArea::windowResizing()
{
    m_browser->windowResizing();
}

void BatchArea::forgetAddedPath(const QString& path)
{
    m_screen->forgetAddedPath(path);
}

void BatchArea::forgetAllAddedPaths()
{
    m_screen->forgetAllAddedPaths();
}

void BatchArea::setPreviewImage()
{
    m_screen->hideDragnDropImageSetHidden(!AppDelegate::shareDelegate()->arraySelectedImagesToProcess.isEmpty());
}

void BatchArea::processAfterAllPhotosAdded()
{
    m_screen->processAfterAllPhotosAdded();
}

void BatchArea::addPhotosFromPathUrls(const QStringList& paths)
{
    m_screen->addPhotosFromDroppedPaths(paths);
}

bool BatchArea::eventFilter(QObject* watched, QEvent* event)
{
    // Each time the screen appears (returning from a later step too), as the screen's own
    // viewWillAppear would.
    if (watched == m_screen && event->type() == QEvent::Show)
        presenter()->checkForDeletedPhotosInSourceFolder();
    return false;
}

} // namespace vantrel
