#include "JourneyStart.h"

#include <QDir>

#include "JourneySteps.h"

namespace vantrel::journeys {

::testing::AssertionResult JourneyStart::launch()
{
    m_folder.emplace(m_disk.filePath(QStringLiteral("photos")));
    if (!m_folder->ok())
        return ::testing::AssertionFailure() << "the photo folder was not written";
    if (!QDir().mkpath(out()))
        return ::testing::AssertionFailure() << "the output folder was not made";
    m_app.emplace();
    if (!m_app->isUp())
        return ::testing::AssertionFailure() << "the main window did not become active";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult JourneyStart::launchWithPhotos()
{
    if (::testing::AssertionResult ok = launch(); !ok)
        return ok;
    return addFolderThroughPanel(m_folder->root(), int(m_folder->photos().size()));
}

} // namespace vantrel::journeys
