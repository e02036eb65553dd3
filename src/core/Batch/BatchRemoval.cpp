#include "core/Batch/BatchRemoval.h"

#include <unordered_set>

namespace vantrel {

namespace {

template <typename Doomed>
qsizetype removeWhere(QList<PhotoFilePtr>& batch, const BatchRemoval::ForgetPath& forget, Doomed doomed)
{
    return batch.removeIf([&](const PhotoFilePtr& photo) {
        if (!doomed(photo))
            return false;
        if (forget)
            forget(photo->filePath());
        return true;
    });
}

} // namespace

qsizetype BatchRemoval::removeChecked(QList<PhotoFilePtr>& batch, const ForgetPath& forget)
{
    return removeWhere(batch, forget, [](const PhotoFilePtr& photo) { return photo->isSelected(); });
}

qsizetype BatchRemoval::removeRecords(
    QList<PhotoFilePtr>& batch, const QList<PhotoFilePtr>& records, const ForgetPath& forget)
{
    if (records.isEmpty())
        return 0;
    std::unordered_set<const PhotoFile*> doomed;
    doomed.reserve(size_t(records.size()));
    for (const PhotoFilePtr& record : records)
        doomed.insert(record.get());
    return removeWhere(batch, forget, [&](const PhotoFilePtr& photo) { return doomed.count(photo.get()) > 0; });
}

bool BatchRemoval::removeAt(QList<PhotoFilePtr>& batch, qsizetype index, const ForgetPath& forget)
{
    if (index < 0 || index >= batch.size())
        return false;
    const PhotoFilePtr photo = batch.takeAt(index);
    if (forget)
        forget(photo->filePath());
    return true;
}

QList<PhotoFilePtr> BatchRemoval::getSelectedPhotoFiles(const QList<PhotoFilePtr>& batch)
{
    QList<PhotoFilePtr> selected;
    for (const PhotoFilePtr& photo : batch) {
        if (photo->isSelected())
            selected.append(photo);
    }
    return selected;
}

bool BatchRemoval::isAnyChecked(const QList<PhotoFilePtr>& batch)
{
    return std::any_of(batch.begin(), batch.end(), [](const PhotoFilePtr& photo) { return photo->isSelected(); });
}

bool BatchRemoval::isAllChecked(const QList<PhotoFilePtr>& batch)
{
    return !batch.isEmpty()
        && std::all_of(batch.begin(), batch.end(), [](const PhotoFilePtr& photo) { return photo->isSelected(); });
}

void BatchRemoval::setAllChecked(const QList<PhotoFilePtr>& batch, bool checked)
{
    for (const PhotoFilePtr& photo : batch)
        photo->setIsSelected(checked);
}

void BatchRemoval::markUnmarkAll(const QList<PhotoFilePtr>& batch)
{
    setAllChecked(batch, !isAllChecked(batch));
}

int BatchRemoval::alertForRemoveRequest(int tag, bool subWindowOpened, bool anyChecked)
{
    if (subWindowOpened)
        return BatchAlert::kNone;
    switch (tag) {
    case 0:
        return anyChecked ? BatchAlert::kRemoveChecked : BatchAlert::kNothingChecked;
    case 1:
        return BatchAlert::kRemoveAll;
    default:
        return BatchAlert::kNone;
    }
}

} // namespace vantrel
