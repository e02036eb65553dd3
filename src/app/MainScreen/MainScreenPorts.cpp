#include "app/MainScreen/MainScreenPorts.h"

#include "core/DataBeans/PhotoFile.h"
#include "core/Processing/ProcessingClock.h"
#include "core/Processing/ProcessingFileProbe.h"
#include "core/Processing/ProcessingFolderOpener.h"
#include "core/Processing/ProcessingLogDatabase.h"
#include "core/Processing/ProcessingPhotoPipeline.h"
#include "core/Processing/ProcessingSerialExecutor.h"

namespace vantrel {

QList<PhotoFilePtr> AddPhotosPort::getSelectedPhotoFiles()
{
    QList<PhotoFilePtr> selected;
    for (const PhotoFilePtr& photo : AppDelegate::shareDelegate()->arraySelectedImagesToProcess) {
        if (photo && photo->isSelected())
            selected.append(photo);
    }
    return selected;
}

std::shared_ptr<ProcessingEngine> ProcessingPort::makeEngine()
{
    const auto& db = AppDelegate::shareDelegate()->dbManager;
    return ProcessingEngine::create(
        { std::make_shared<ProcessingPhotoPipeline>(), std::make_shared<ProcessingFileProbe>(),
            std::make_shared<ProcessingClock>(), std::make_shared<ProcessingFolderOpener>(),
            db ? std::make_shared<ProcessingLogDatabase>(db) : nullptr, std::make_shared<ProcessingSerialExecutor>() });
}

ProcessingEngine& ProcessingPort::engine()
{
    if (!m_engine)
        m_engine = makeEngine();
    return *m_engine;
}

void ProcessingPort::startProcess(
    const OutputOptionSettings& outputSettingObject, const ResizingOptionsSettingObject& resizingOptionObject)
{
    engine().startProcess(outputSettingObject, resizingOptionObject);
}

} // namespace vantrel
