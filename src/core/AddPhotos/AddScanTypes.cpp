#include "core/AddPhotos/AddScanTypes.h"

namespace vantrel {

AddAlert completionAlertFor(const AddScanOutcome& outcome)
{
    if (outcome.isMaxPhotosLimitExceeded)
        return AddAlert::LimitExceeded;
    if (outcome.totalPhotoToAdd > 0)
        return AddAlert::None;
    if (outcome.isPhotoFormatNotSupported && !outcome.isPhotosAlreadyAdded)
        return AddAlert::FormatNotSupported;
    if (outcome.isPhotosAlreadyAdded)
        return AddAlert::AlreadyAdded;
    return AddAlert::NothingAdded;
}

bool isCommonOutputFormat(const QString& extension)
{
    static const QStringList formats { "tif", "tiff", "png", "jpg", "jpeg", "jp2", "bmp", "gif" };
    return formats.contains(extension.toLower());
}

QString fileNameExtension(const QString& fileName)
{
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > slash + 1 ? fileName.mid(dot + 1) : QString();
}

} // namespace vantrel
