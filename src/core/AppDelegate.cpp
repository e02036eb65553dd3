#include "core/AppDelegate.h"

namespace vantrel {

namespace {
std::unique_ptr<AppDelegate>& sharedSlot()
{
    static std::unique_ptr<AppDelegate> slot;
    return slot;
}
} // namespace

AppDelegate* AppDelegate::shareDelegate()
{
    auto& slot = sharedSlot();
    if (!slot)
        slot.reset(new AppDelegate());
    return slot.get();
}

AppDelegate* AppDelegate::resetShared()
{
    sharedSlot().reset(new AppDelegate());
    return sharedSlot().get();
}

QString AppDelegate::rawConvertFormat() const
{
    std::lock_guard lock(m_mutex);
    return m_rawConvertFormat;
}

void AppDelegate::setRawConvertFormat(const QString& format)
{
    std::lock_guard lock(m_mutex);
    m_rawConvertFormat = format;
}

std::shared_ptr<const LanguageTable> AppDelegate::dictLanguage() const
{
    std::lock_guard lock(m_mutex);
    return m_dictLanguage;
}

void AppDelegate::setDictLanguage(LanguageTable table)
{
    auto shared = std::make_shared<const LanguageTable>(std::move(table));
    std::lock_guard lock(m_mutex);
    m_dictLanguage = std::move(shared);
}

} // namespace vantrel
