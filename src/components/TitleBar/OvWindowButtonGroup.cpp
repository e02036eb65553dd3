#include "components/TitleBar/OvWindowButtonGroup.h"

#include <QHash>

namespace vantrel {

OvWindowButtonGroup* OvWindowButtonGroup::groupWithIdentifier(const QString& identifier)
{
    static QHash<QString, OvWindowButtonGroup*> groups; // process-wide, never released
    const QString key = identifier.isEmpty() ? QString::fromLatin1(kDefaultIdentifier) : identifier;
    auto it = groups.find(key);
    if (it == groups.end())
        it = groups.insert(key, new OvWindowButtonGroup(key));
    return it.value();
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
