#include "core/Wizard/WizardSession.h"

#include <cstdio>

#include "core/Catalogue.h"
#include "core/DataBeans/ProjectSession.h"
#include "core/Wizard/WizardPorts.h"
#include "platform/DateFormat.h"
#include "platform/Defaults.h"
#include "platform/KeyedArchiver.h"

namespace vantrel {

ResizingOptionsSettingObject WizardSession::getResizeOtpionSettingObject()
{
    ResizingOptionsSettingObject options;
    options.sizeObject = m_panes.getReSizeSettingObject();
    options.rotationType = m_panes.getRotateSettingObject();
    const QList<bool> flips = m_panes.getFlipSettongObject();
    options.isHorizontalFlip = flips.value(0, false);
    options.isVerticalFlip = flips.value(1, false);
    return options;
}

bool WizardSession::ischangesMadeInSettings()
{
    const QList<bool> flips = m_panes.getFlipSettongObject();
    if (flips.value(0, false) || flips.value(1, false) || m_panes.getRotateSettingObject() != 0)
        return true;

    const SizeObject size = m_panes.getReSizeSettingObject();
    if (size.isCustomSize || size.isPercentSize || (size.isPredefinedSize && size.predefinedIndex >= 0))
        return true;

    const OutputOptionSettings output = m_panes.getOutputSettingObject();
    if (!output.askBeforeOverwrite || output.owerwriteExistingFiles.toInt() != 1)
        return true;
    return output.formatOption != 0 || output.selectedFileFormat != 0 || output.filenameOption != 0
        || output.keepFolderHierarchy;
}

bool WizardSession::saveProjectSessionToDefault(const QDateTime& now)
{
    Defaults& defaults = Defaults::standard();
    std::optional<ProjectSession> stored;
    const QByteArray data = defaults.dataForKey(kDefaultsProjectSession);
    if (!data.isEmpty())
        stored = KeyedUnarchiver::unarchiveObjectWithData<ProjectSession>(data);
    if (!stored) {
        std::fprintf(stderr, "saveProjectSessionToDefault: no readable session stored; a new one is saved\n");
        stored = ProjectSession();
        stored->arrayPredefinedSize = m_panes.predefinedSizes();
    }

    // Kept in en_US_POSIX, as earlier versions wrote it: a stored date reads back the same under
    // any later locale (Utils::getDateFromString also reads it).
    stored->dateString = DateFormat::format(now, QString::fromLatin1(kDatePattern));
    stored->resizeSettingObject = getResizeOtpionSettingObject();
    stored->outputSettingObject = m_panes.getOutputSettingObject();

    const QByteArray archived = KeyedArchiver::archivedDataWithRootObject(*stored);
    defaults.setObject(kDefaultsProjectSession, archived, false);
    defaults.setObject(kDefaultsSavedProjectSession, QStringLiteral("yes"), false);
    return defaults.synchronize();
}

std::optional<bool> WizardSession::loadLastSessionSettings()
{
    Defaults& defaults = Defaults::standard();
    if (!defaults.contains(kDefaultsSavedProjectSession))
        return std::nullopt;
    const QByteArray data = defaults.dataForKey(kDefaultsProjectSession);
    if (data.isEmpty())
        return std::nullopt;
    const std::optional<ProjectSession> session = KeyedUnarchiver::unarchiveObjectWithData<ProjectSession>(data);
    if (!session) {
        std::fprintf(stderr, "loadLastSessionSettings: the stored session cannot be read\n");
        return std::nullopt;
    }

    bool customSize = false;
    if (const auto& resize = session->resizeSettingObject) {
        if (resize->sizeObject) {
            m_panes.setReSizeSettingObject(*resize->sizeObject);
            customSize = resize->sizeObject->isCustomSize;
        }
        m_panes.setRotationType(resize->rotationType);
        // Both flips stored restore the horizontal one only.
        m_panes.setFlipSettongObject(resize->isHorizontalFlip ? 1 : resize->isVerticalFlip ? 2 : 0);
    }
    if (session->outputSettingObject)
        m_panes.setOutputSettingObject(*session->outputSettingObject);
    return customSize;
}

} // namespace vantrel
