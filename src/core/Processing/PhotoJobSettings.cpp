#include "core/Processing/PhotoJobSettings.h"

#include "core/DataBeans/OutputOptionSettings.h"
#include "core/DataBeans/ResizingOptionsSettingObject.h"

namespace vantrel {

PhotoJobSettings PhotoJobSettings::from(
    const ResizingOptionsSettingObject& resize, const OutputOptionSettings& output, const QString& rawConvertFormat)
{
    PhotoJobSettings settings;
    // A record restored without a size holds none: every size flag then reads as NO.
    const SizeObject size = resize.sizeObject.value_or(SizeObject());
    settings.isCustomSize = size.isCustomSize;
    settings.isPercentSize = size.isPercentSize;
    settings.isKeepAspectRatio = size.isKeepAspectRatio;
    settings.isKeepOriginalSize = size.isKeepOriginalSize;
    settings.customWidth = size.customWidth;
    settings.customHeight = size.customHeight;
    settings.perWidth = size.perWidth;
    settings.perHeight = size.perHeight;
    settings.isHorizontalFlip = resize.isHorizontalFlip;
    settings.isVerticalFlip = resize.isVerticalFlip;
    settings.rotationType = resize.rotationType;
    settings.formatOption = output.formatOption;
    settings.keepFolderHierarchy = output.keepFolderHierarchy;
    settings.selectedFileFormat = output.selectedFileFormat;
    settings.compressionRatio = output.compressionRatio;
    settings.filenameOption = output.filenameOption;
    settings.folderOption = output.folderOption;
    settings.prefixString = output.prefixString;
    settings.ouptputFolder = output.ouptputFolder;
    settings.rawConvertFormat = rawConvertFormat;
    return settings;
}

} // namespace vantrel
