#include "core/Processing/RunOptions.h"

#include "core/DataBeans/OutputOptionSettings.h"

namespace vantrel {

RunOptions RunOptions::from(
    const OutputOptionSettings& output, const ResizingOptionsSettingObject& resize, const QString& rawConvertFormat)
{
    RunOptions options;
    options.job = PhotoJobSettings::from(resize, output, rawConvertFormat);
    options.askBeforeOverwrite = output.askBeforeOverwrite;
    return options;
}

} // namespace vantrel
