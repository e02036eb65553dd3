#pragma once

#include <QString>

namespace vantrel {

class OutputOptionSettings;
class ResizingOptionsSettingObject;

/// A value copy of the option fields that naming and the one-photo pipeline read, taken once on
/// the main thread when a run starts. The worker reads only this copy, so the panes may change
/// their records while a run goes on. Field names are those of the option records.
struct PhotoJobSettings {
    // SizeObject
    bool isCustomSize = false;
    bool isPercentSize = false;
    bool isKeepAspectRatio = false;
    bool isKeepOriginalSize = false;
    double customWidth = 0;
    double customHeight = 0;
    double perWidth = 0;
    double perHeight = 0;
    // ResizingOptionsSettingObject
    bool isHorizontalFlip = false;
    bool isVerticalFlip = false;
    qint32 rotationType = 0; ///< 0 none, 1 quarter turn clockwise, 2 counter-clockwise, 3 half, 4 by EXIF
    // OutputOptionSettings
    qint32 formatOption = 0; ///< 0 keep each photo's format, else convert to selectedFileFormat
    bool keepFolderHierarchy = false;
    qint32 selectedFileFormat = 0;
    qint32 compressionRatio = 75;
    qint32 filenameOption = 0;
    qint32 folderOption = 1;
    QString prefixString;
    QString ouptputFolder;
    // The application's RAW answer: "png" or "jpeg" (or "skipRaw").
    QString rawConvertFormat = QStringLiteral("png");

    static PhotoJobSettings from(const ResizingOptionsSettingObject& resize, const OutputOptionSettings& output,
        const QString& rawConvertFormat);
};

} // namespace vantrel
