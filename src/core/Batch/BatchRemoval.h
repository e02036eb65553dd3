#pragma once

#include <functional>

#include <QList>
#include <QString>

#include "core/DataBeans/PhotoFile.h"

namespace vantrel {

/// Alert numbers the batch views request through "notificationShowAlertWithType".
namespace BatchAlert {
inline constexpr int kNone = 0;
inline constexpr int kChosenPhotoMissing = 103; ///< the chosen photo, or the only photo, is gone
inline constexpr int kOnePhotoMissing = 104;
inline constexpr int kSomePhotosMissing = 105;
inline constexpr int kAllPhotosMissing = 106;
inline constexpr int kRemoveChecked = 113;
inline constexpr int kRemoveAll = 114;
inline constexpr int kNothingChecked = 116;
} // namespace BatchAlert

/// Changes of the batch's membership and check marks, and the choices that lead to them.
///
/// Every removal is one pass over the batch that keeps the order of what stays, so removing
/// 100,000 photos costs one walk, never a search per photo. Records are matched by identity
/// (the same object), never by path or value. The caller owns the duplicate map of the add scan
/// and passes a `forget` callback that takes one removed photo's path out of it.
///
/// Main thread only: the batch is changed where its readers live.
class BatchRemoval {
public:
    using ForgetPath = std::function<void(const QString& path)>;

    BatchRemoval() = delete;

    /// Removes the checked photos. Returns how many left.
    static qsizetype removeChecked(QList<PhotoFilePtr>& batch, const ForgetPath& forget);
    /// Removes exactly these records (by identity); a record no longer in the batch is skipped
    /// and its path is not forgotten. Returns how many left.
    static qsizetype removeRecords(
        QList<PhotoFilePtr>& batch, const QList<PhotoFilePtr>& records, const ForgetPath& forget);
    /// Removes the photo at `index`; false (nothing changed) when the index is outside the batch.
    static bool removeAt(QList<PhotoFilePtr>& batch, qsizetype index, const ForgetPath& forget);

    /// The checked photos in batch order.
    static QList<PhotoFilePtr> getSelectedPhotoFiles(const QList<PhotoFilePtr>& batch);
    static bool isAnyChecked(const QList<PhotoFilePtr>& batch);
    /// True for a non-empty batch whose photos are all checked.
    static bool isAllChecked(const QList<PhotoFilePtr>& batch);
    static void setAllChecked(const QList<PhotoFilePtr>& batch, bool checked);
    /// Mark all: unchecks every photo when all are checked, else checks every photo.
    static void markUnmarkAll(const QList<PhotoFilePtr>& batch);

    /// The alert a remove button asks for: tag 0 (remove checked) gives 113 with a checked photo
    /// and 116 without; tag 1 (remove all) gives 114; other tags, or any tag while a panel or
    /// sheet is open, give kNone.
    static int alertForRemoveRequest(int tag, bool subWindowOpened, bool anyChecked);
};

} // namespace vantrel
