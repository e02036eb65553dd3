#include "core/DataBeans/SizeObject.h"

#include "platform/KeyedArchiver.h"

namespace vantrel {

void SizeObject::encodeWithCoder(KeyedArchiver& coder) const
{
    coder.encodeString(name, QStringLiteral("name"));
    coder.encodeFloat(static_cast<float>(customWidth), QStringLiteral("customWidth"));
    coder.encodeFloat(static_cast<float>(customHeight), QStringLiteral("customHeight"));
    coder.encodeFloat(static_cast<float>(perWidth), QStringLiteral("perWidth"));
    coder.encodeFloat(static_cast<float>(perHeight), QStringLiteral("perHeight"));
    coder.encodeBool(isCustomSize, QStringLiteral("isCustomSize"));
    coder.encodeBool(isPercentSize, QStringLiteral("isPercentSize"));
    coder.encodeBool(isKeepAspectRatio, QStringLiteral("isKeepAspectRatio"));
    coder.encodeBool(isKeepOriginalSize, QStringLiteral("isKeepOriginalSize"));
    coder.encodeBool(isPredefinedSize, QStringLiteral("isPredefinedSize"));
    coder.encodeInt32(predefinedIndex, QStringLiteral("predefinedIndex"));
    coder.encodeInt32(isSaveAsPredefined ? 1 : 0, QStringLiteral("isSaveAsPredefined"));
}

SizeObject SizeObject::initWithCoder(KeyedUnarchiver& coder)
{
    SizeObject size;
    size.name = coder.decodeString(QStringLiteral("name"));
    size.customWidth = coder.decodeFloat(QStringLiteral("customWidth"));
    size.customHeight = coder.decodeFloat(QStringLiteral("customHeight"));
    size.perWidth = coder.decodeFloat(QStringLiteral("perWidth"));
    size.perHeight = coder.decodeFloat(QStringLiteral("perHeight"));
    size.isCustomSize = coder.decodeBool(QStringLiteral("isCustomSize"));
    size.isPercentSize = coder.decodeBool(QStringLiteral("isPercentSize"));
    size.isKeepAspectRatio = coder.decodeBool(QStringLiteral("isKeepAspectRatio"));
    size.isKeepOriginalSize = coder.decodeBool(QStringLiteral("isKeepOriginalSize"));
    size.isPredefinedSize = coder.decodeBool(QStringLiteral("isPredefinedSize"));
    size.predefinedIndex = coder.decodeInt32(QStringLiteral("predefinedIndex"));
    size.isSaveAsPredefined = coder.decodeBool(QStringLiteral("isSaveAsPredefined"));
    return size;
}

} // namespace vantrel
