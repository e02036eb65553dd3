#pragma once

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

#include "core/Batch/BatchInfoLine.h"
#include "core/Batch/BatchViewRules.h"
#include "core/Batch/PhotoInfoRows.h"

namespace vantrel {

/// Which button the screen's own alert sheet offers: removing the missing photos from the batch,
/// or only closing the sheet.
enum class AlertSheetButton { RemoveFromBatch, Ok };

/// What the batch presenter asks of the widgets that show the batch (the grid, the list, their
/// headers and popups). Main thread only.
class BatchView {
public:
    virtual ~BatchView() = default;

    /// Shows the mode's view (neither for an empty batch), its header and button images, reloads
    /// it and restarts its thumbnails.
    virtual void showViewMode(BatchViewMode mode, const BatchViewModeLook& look, bool batchEmpty) = 0;
    /// Lays the list header's buttons out again (after a mode switch or a window resize).
    virtual void windowResizing() = 0;
    /// Redraws one photo's check mark in the view shown.
    virtual void reloadCheckMark(qsizetype index) = 0;
    /// Reloads the view shown and its thumbnails.
    virtual void reloadVisibleView() = 0;
    /// Reloads both views.
    virtual void reloadBothViews() = 0;
    /// Takes one row out of the list.
    virtual void removeListRow(qsizetype index) = 0;
    virtual void setButtons(const BatchButtonsLook& look) = 0;
    /// The screen's own batch line; empty text clears it.
    virtual void setBatchLine(const BatchInfoLine::Styled& line) = 0;
    /// Drops every cached thumbnail and every thumbnail request not yet started.
    virtual void closeThumbnailWork() = 0;
    /// Shows the not-available image on the photo's grid cell when it is visible.
    virtual void showNotAvailableOnCell(qsizetype index) = 0;
    /// The screen's own alert sheet with a title, a message and one button.
    virtual void showNoNewPhotosAlert(const QString& title, const QString& message, AlertSheetButton button) = 0;
    virtual void hideNoNewPhotosAlert() = 0;
    /// The photo information popup at a point of the screen, with its rows.
    virtual void showInfoPopup(QPoint at, const QList<PhotoInfoRows::Row>& rows) = 0;
    virtual void dismissInfoPopup() = 0;
    /// The photo menu at a point of the screen.
    virtual void showPhotoMenu(QPoint at) = 0;
    virtual void dismissPhotoMenu() = 0;
};

/// What the batch presenter needs of the screen that hosts it (the add-photos screen): the
/// duplicate map of the add scan, the empty drop area, the refresh after a change of the batch,
/// and the add run for drops on the views.
class BatchHost {
public:
    virtual ~BatchHost() = default;

    /// Takes one path out of the duplicate map, so the photo can be added again.
    virtual void forgetAddedPath(const QString& path) = 0;
    virtual void forgetAllAddedPaths() = 0;
    /// Shows or hides the empty drop area for the batch's state.
    virtual void setPreviewImage() = 0;
    /// The refresh after any change of the batch (checks every photo, posts the footer, ...).
    virtual void processAfterAllPhotosAdded() = 0;
    /// Starts an add run for paths dropped on the grid or the list (folders read one level deep).
    virtual void addPhotosFromPathUrls(const QStringList& paths) = 0;
};

} // namespace vantrel
