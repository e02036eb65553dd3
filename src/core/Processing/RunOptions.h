#pragma once

#include <QString>

namespace vantrel {

/// A value snapshot of a run's choices (output settings, size, rotation and flips, and the RAW
/// answer), taken on the main thread when the run starts. The worker reads only this copy, so the
/// panes may change their own option objects while a run is going on.
struct RunOptions {
    // Output settings
    qint32 formatOption = 0;
    bool keepFolderHierarchy = false;
    bool askBeforeOverwrite = true;
    qint32 selectedFileFormat = 0;
    qint32 compressionRatio = 75;
    qint32 filenameOption = 0;
    qint32 folderOption = 1;
    QString prefixString;
    QString ouptputFolder;

    // Size
    bool isCustomSize = false;
    bool isPercentSize = false;
    bool isKeepAspectRatio = false;
    bool isKeepOriginalSize = false;
    bool isPredefinedSize = false;
    bool isSaveAsPredefined = false;
    qint32 predefinedIndex = -1;
    double customHeight = 0;
    double customWidth = 0;
    double perHeight = 0;
    double perWidth = 0;
    QString sizeName;

    // Rotation and flips
    bool isHorizontalFlip = false;
    bool isVerticalFlip = false;
    qint32 rotationType = 0;

    /// The answer to the RAW question: "png", "jpeg" or "skipRaw".
    QString rawConvertFormat = QStringLiteral("png");
};

} // namespace vantrel
