#pragma once

#include <QObject>

#include "screens/AddPhotos/AddPhotosVC.h"
#include "screens/Batch/BatchViewInterfaces.h"

namespace vantrel {

class BatchBrowser;
class BatchPresenter;

/// The batch views inside the add-photos screen: puts a BatchBrowser into the screen's batch
/// container and joins the two. The screen's refresh reaches the browser through
/// AddPhotosBatchArea; the browser reaches the screen's duplicate set, drop area, refresh and add
/// run through BatchHost. Each time the screen appears, the photos of the batch are checked for
/// files gone meanwhile (off the main thread).
class BatchArea : public QObject, public AddPhotosBatchArea, public BatchHost {
    Q_OBJECT
public:
    explicit BatchArea(AddPhotosVC* screen);

    BatchBrowser* browser() const { return m_browser; }
    BatchPresenter* presenter() const;

    // AddPhotosBatchArea
    void updateBatchInformationInBottomView() override;
    void changePhotosViewImageMode() override;
    void updateButtonsEnability() override;
    void addBottomInfoAboutBatch() override;
    void processWithSkippedFilesNotification() override;
    void windowResizing() override;

    // BatchHost
    void forgetAddedPath(const QString& path) override;
    void forgetAllAddedPaths() override;
    void setPreviewImage() override;
    void processAfterAllPhotosAdded() override;
    void addPhotosFromPathUrls(const QStringList& paths) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AddPhotosVC* m_screen;
    BatchBrowser* m_browser;
};

} // namespace vantrel
