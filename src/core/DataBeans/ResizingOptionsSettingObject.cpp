#include "core/DataBeans/ResizingOptionsSettingObject.h"

#include "platform/KeyedArchiver.h"

namespace vantrel {

void ResizingOptionsSettingObject::encodeWithCoder(KeyedArchiver& coder) const
{
    coder.encodeObject(sizeObject, QStringLiteral("sizeObject"));
    coder.encodeInt32(rotationType, QStringLiteral("rotationType"));
    coder.encodeBool(isHorizontalFlip, QStringLiteral("isHorizontalFlip"));
    coder.encodeBool(isVerticalFlip, QStringLiteral("isVerticalFlip"));
}

ResizingOptionsSettingObject ResizingOptionsSettingObject::initWithCoder(KeyedUnarchiver& coder)
{
    ResizingOptionsSettingObject options;
    options.sizeObject = coder.decodeObject<SizeObject>(QStringLiteral("sizeObject"));
    options.rotationType = coder.decodeInt32(QStringLiteral("rotationType"));
    options.isHorizontalFlip = coder.decodeBool(QStringLiteral("isHorizontalFlip"));
    options.isVerticalFlip = coder.decodeBool(QStringLiteral("isVerticalFlip"));
    return options;
}

} // namespace vantrel
