#include "components/TitleBar/OvWindowButtonGroup.h"

#include <map>
#include <memory>

namespace vantrel {

OvWindowButtonGroup* OvWindowButtonGroup::groupWithIdentifier(const QString& identifier)
{
    // Process-wide; the table owns its groups, so they are released with it at exit.
    static std::map<QString, std::unique_ptr<OvWindowButtonGroup>> groups;
    const QString key = identifier.isEmpty() ? QString::fromLatin1(kDefaultIdentifier) : identifier;
    auto& group = groups[key];
    if (!group)
        group.reset(new OvWindowButtonGroup(key));
    return group.get();
}

OvWindowButtonGroup::OvWindowButtonGroup(const QString& identifier)
    : m_identifier(identifier)
{
}

void OvWindowButtonGroup::setNumberOfCaptures(int /*count*/) { }

void OvWindowButtonGroup::didCaptureMousePointer()
{
    setNumberOfCaptures(m_numberOfCaptures + 1);
}

void OvWindowButtonGroup::didReleaseMousePointer()
{
    setNumberOfCaptures(m_numberOfCaptures - 1);
}

void OvWindowButtonGroup::resetMouseCaptures()
{
    setNumberOfCaptures(0);
}

} // namespace vantrel
