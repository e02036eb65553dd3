#include "core/DataBeans/ProjectSession.h"

#include "platform/KeyedArchiver.h"

namespace vantrel {

void ProjectSession::encodeWithCoder(KeyedArchiver& coder) const
{
    coder.encodeString(dateString, QStringLiteral("dateString"));
    coder.encodeArray(arrayPredefinedSize, QStringLiteral("arrayPresets"));
    coder.encodeObject(resizeSettingObject, QStringLiteral("resizeSettingObject"));
    coder.encodeObject(outputSettingObject, QStringLiteral("outputSettingObject"));
}

ProjectSession ProjectSession::initWithCoder(KeyedUnarchiver& coder)
{
    ProjectSession session;
    session.dateString = coder.decodeString(QStringLiteral("dateString"));
    session.arrayPredefinedSize = coder.decodeArray<SizeObject>(QStringLiteral("arrayPresets"));
    session.resizeSettingObject
        = coder.decodeObject<ResizingOptionsSettingObject>(QStringLiteral("resizeSettingObject"));
    session.outputSettingObject = coder.decodeObject<OutputOptionSettings>(QStringLiteral("outputSettingObject"));
    return session;
}

} // namespace vantrel
