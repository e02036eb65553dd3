#include "core/AddPhotos/AddPhotosLogic.h"

#include <chrono>

#include <QFileInfo>

#include "core/AddPhotos/AddPhotosView.h"
#include "core/AddPhotos/AddScan.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/DataBeans/PhotoFile.h"
#include "core/PhotoLibrary/DataFiller.h"
#include "core/Processing/ProcessingSerialExecutor.h"
#include "platform/Defaults.h"
#include "platform/MainThread.h"
#include "platform/NotificationCenter.h"
#include "platform/imaging/ImageFileTypes.h"

namespace vantrel {

namespace {

void post(const char* name, const QVariantMap& userInfo = {})
{
    NotificationCenter::defaultCenter().post(QString::fromLatin1(name), userInfo);
}

QString pluralSuffix(qint32 count)
{
    return count >= 2 ? QStringLiteral("s") : QString();
}

} // namespace

AddPhotosLogic::AddPhotosLogic(AddPhotosView* view, RunExecutor* executor)
    : m_view(view)
    , m_executor(executor)
    , m_shared(std::make_shared<Shared>())
{
    m_shared->owner = this;
    if (!m_executor) {
        m_ownExecutor = std::make_unique<ProcessingSerialExecutor>();
        m_executor = m_ownExecutor.get();
    }
}

AddPhotosLogic::~AddPhotosLogic()
{
    // A scan still running ends at its next candidate; its hops find no owner and do nothing.
    m_shared->owner = nullptr;
    m_shared->stop = true;
    NotificationCenter::defaultCenter().removeObserver(&m_observerContext);
}

QStringList AddPhotosLogic::arrAddPhotosOptions()
{
    return { QStringLiteral("Add Photos"), QStringLiteral("Add Folder"), QStringLiteral("Add with Filters"),
        QStringLiteral("Add iPhoto/Photos library") };
}

void AddPhotosLogic::setDeliveryGrouping(int maxGroup, int intervalMs)
{
    m_maxGroup = maxGroup;
    m_intervalMs = intervalMs;
}

QString AddPhotosLogic::progressTextInScreen(const QString& path, qint32 photosAdded)
{
    return QStringLiteral("%1 added\nPlease wait while importing photo%2").arg(path, pluralSuffix(photosAdded));
}

QString AddPhotosLogic::progressTextOnSheet(qint32 photosAdded)
{
    return QStringLiteral("%1 Photo%2 added").arg(photosAdded).arg(pluralSuffix(photosAdded));
}

void AddPhotosLogic::startObservingDrops()
{
    NotificationCenter::defaultCenter().addObserver(
        &m_observerContext, QString::fromLatin1(kFileDragDropNotification), [this](const Notification& n) {
            handleFileDragDropPaths(n.userInfo.value(QString::fromLatin1(kUserInfoPaths)).toStringList());
        });
}

bool AddPhotosLogic::handleFileDragDropPaths(const QStringList& paths)
{
    if (isProcessingInProgress() || paths.isEmpty())
        return false;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    m_isAddFromSubFolderSelected = true;
    return addPhotosFromPathUrls(urls);
}

bool AddPhotosLogic::addPhotosFromPathUrls(const QList<QUrl>& urls, bool /*isiPhoto*/)
{
    if (isProcessingInProgress())
        return false;
    QStringList paths;
    for (const QUrl& url : urls)
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    if (paths.isEmpty())
        return false;
    return startRun(paths);
}

bool AddPhotosLogic::startRun(const QStringList& paths)
{
    m_totalPhotoToAdd = 0;
    m_photosAdded = 0;
    m_outcome = {};
    m_shared->stop = false;
    m_shared->inProgress = true;

    m_view->setStopButtonHidden(true);
    m_view->setAddingProgressViewHidden(false);
    m_view->enableDragDrop(false);
    post(kNotificationsDisbleCross);
    post(kNotificationsDisbleView);
    if (!AppDelegate::shareDelegate()->arraySelectedImagesToProcess.isEmpty()) {
        AppDelegate::shareDelegate()->isSubWindowOpened = true;
        m_view->showProgressSheet();
    }

    AddScanOptions options;
    options.isAddFromSubFolderSelected = m_isAddFromSubFolderSelected;
    options.limit = m_limit;
    const int maxGroup = m_maxGroup;
    const int intervalMs = m_intervalMs;
    std::shared_ptr<Shared> shared = m_shared;
    m_executor->submit([shared, options, paths, maxGroup, intervalMs] {
        AddScan scan(options, shared->added, shared->stop);
        scan.setDeliver(
            [shared](const QList<PhotoFilePtr>& photos) {
                runOnMainThreadSync([&] {
                    if (shared->owner)
                        shared->owner->appendPhotos(photos);
                });
            },
            maxGroup, std::chrono::milliseconds(intervalMs));
        const AddScanOutcome outcome = scan.run(paths);
        runOnMainThreadSync([&] {
            if (shared->owner)
                shared->owner->finishRun(outcome);
            else
                shared->inProgress = false;
        });
    });
    return true;
}

void AddPhotosLogic::appendPhotos(const QList<PhotoFilePtr>& photos)
{
    if (photos.isEmpty())
        return;
    AppDelegate::shareDelegate()->arraySelectedImagesToProcess.append(photos);
    m_photosAdded += qint32(photos.size());
    m_view->setStopButtonHidden(false);
    const QString& path = photos.last()->filePath();
    m_view->setProgressTexts(progressTextInScreen(path, m_photosAdded), progressTextOnSheet(m_photosAdded), path);
}

void AddPhotosLogic::btnStopAddingTapped()
{
    m_shared->stop = true;
}

void AddPhotosLogic::finishRun(const AddScanOutcome& outcome)
{
    m_outcome = outcome;
    m_totalPhotoToAdd = outcome.totalPhotoToAdd;
    if (outcome.isRawImageExist)
        m_isRawImageExist = true;
    if (outcome.pathType != AddPathType::None)
        m_pathType = outcome.pathType;
    m_shared->inProgress = false;

    AppDelegate::shareDelegate()->isSubWindowOpened = false;
    m_view->endProgressSheet();
    post(kNotificationsHideLoading);
    processAfterAllPhotosAdded();
    m_view->addRunFinished();
    const AddAlert alert = completionAlertFor(outcome);
    if (alert != AddAlert::None)
        post(kNotificationShowAlertWithType, { { QString::fromLatin1(kUserInfoType), int(alert) } });
    // Once per run, however many such libraries the run read.
    if (outcome.archivePathMissing)
        m_view->showMessageAlert(DataFiller::kArchiveMissingMessage, DataFiller::kArchiveMissingInformativeText,
            DataFiller::kArchiveMissingButton);
}

void AddPhotosLogic::processAfterAllPhotosAdded()
{
    post(kNotificationsEnableCross);
    post(kNotificationsEnable);
    m_view->updateBatchInformationInBottomView();
    m_view->enableDragDrop(true);
    m_view->setAddingProgressViewHidden(true);
    for (const PhotoFilePtr& photo : AppDelegate::shareDelegate()->arraySelectedImagesToProcess)
        photo->setIsSelected(true);
    showPhotosAfterCompletion();
    m_view->updateButtonsEnability();
    m_view->addBottomInfoAboutBatch();
    post(kNotificationsPhotosModified);
}

void AddPhotosLogic::showPhotosAfterCompletion()
{
    m_isAddFromSubFolderSelected = false;
    m_view->resetProgress();
    if (!AppDelegate::shareDelegate()->arraySelectedImagesToProcess.isEmpty()) {
        m_view->hideDragnDropImageSetHidden(true);
        m_view->endProgressSheet();
        m_view->changePhotosViewImageMode();
    } else {
        m_view->hideDragnDropImageSetHidden(false);
        m_view->endProgressSheet();
    }
}

bool AddPhotosLogic::addToImageArray(const QString& path, const QString& fileType)
{
    if (fileType != QLatin1String(kAddFileTypeAll) && !path.endsWith(fileType))
        return false;
    if (dictFileAdded().contains(path))
        return false;
    const QString extension = fileNameExtension(path);
    if (!ImageFileTypes::isImageExtension(extension))
        return false;
    PhotoFilePtr photo = PhotoFile::initWithFileUrl(path, QFileInfo(path).fileName(), false);
    if (!(photo->width() > 0 && photo->height() > 0)) {
        m_outcome.isPhotoFormatNotSupported = true;
        return false;
    }
    dictFileAdded().insert(path);
    if (!isCommonOutputFormat(extension))
        m_isRawImageExist = true;
    runOnMainThreadSync([&] { appendPhotos({ photo }); });
    return true;
}

int AddPhotosLogic::countTotalPhotosInIPhotoFolder(const QString& packagePath, const QString& fileType)
{
    AddScanOptions options;
    options.fileType = fileType;
    options.limit = m_limit;
    AddScan scan(options, dictFileAdded(), m_shared->stop);
    scan.setDeliver([this](const QList<PhotoFilePtr>& photos) { runOnMainThreadSync([&] { appendPhotos(photos); }); });
    const AddScanOutcome outcome = scan.run({ packagePath });
    if (outcome.isMaxPhotosLimitExceeded)
        m_outcome.isMaxPhotosLimitExceeded = true;
    if (outcome.isRawImageExist)
        m_isRawImageExist = true;
    return outcome.totalPhotoToAdd;
}

int AddPhotosLogic::countTotalPhotosInPhotosAppFolder(const QString& packagePath, const QString& fileType)
{
    for (const AddScan::LibraryItem& item : AddScan::libraryItems(packagePath))
        std::fprintf(stderr, "photo path == %s\n", item.path.toUtf8().constData());
    return countTotalPhotosInIPhotoFolder(packagePath, fileType);
}

QStringList AddPhotosLogic::getAllFilesInFolder(
    const QString& folder, const QString& /*fileType*/, bool isSubFolderSelected)
{
    return AddScan::getAllFilesInFolder(folder, isSubFolderSelected);
}

bool AddPhotosLogic::isTipsAlreadyDisplayed()
{
    const Defaults& defaults = Defaults::standard();
    return defaults.contains(QString::fromLatin1(kDefaultsTipsIsDisable))
        || defaults.contains(QString::fromLatin1(kDefaultsTipsAddPhotosView));
}

} // namespace vantrel
