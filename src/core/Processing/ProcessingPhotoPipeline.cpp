#include "core/Processing/ProcessingPhotoPipeline.h"

#include "core/Processing/OutputFileSystem.h"
#include "core/Processing/OutputPathBuilder.h"
#include "platform/imaging/AtomicFileWriter.h"
#include "platform/imaging/ImagingInit.h"

namespace vantrel {

ProcessingPhotoPipeline::ProcessingPhotoPipeline(std::shared_ptr<OutputFileSystem> fileSystem)
    : m_fileSystem(fileSystem ? std::move(fileSystem) : OutputFileSystem::standard())
{
}

QString ProcessingPhotoPipeline::outputPath(const PhotoFile& photo, const RunOptions& options)
{
    return OutputPathBuilder(options.job).updatedFilePathWithSetting(photo);
}

RunSizeCheck ProcessingPhotoPipeline::checkSize(const PhotoFile& photo, const RunOptions& options)
{
    const PhotoPlan plan = PhotoPipeline(options.job, m_fileSystem).planFor(photo);
    {
        std::lock_guard lock(m_mutex);
        m_plannedPhoto = &photo;
        m_plan = plan;
    }
    if (!plan.decodable)
        return RunSizeCheck::Unreadable;
    return plan.sizeAccepted ? RunSizeCheck::Accepted : RunSizeCheck::Refused;
}

RunWriteResult ProcessingPhotoPipeline::write(
    const PhotoFile& photo, const QString& outputPath, const RunOptions& options)
{
    const PhotoPipeline pipeline(options.job, m_fileSystem);
    std::optional<PhotoPlan> plan;
    {
        std::lock_guard lock(m_mutex);
        if (m_plannedPhoto == &photo)
            plan = m_plan;
        m_plannedPhoto = nullptr;
    }
    // A failure has written its one line to stderr already.
    const PhotoWriteResult result
        = plan ? pipeline.processPhoto(photo, *plan, outputPath) : pipeline.processPhoto(photo, outputPath);
    // The photo's buffers are freed; give their pages back before the next photo.
    releaseFreedMemory();
    return { static_cast<qint32>(result.status) };
}

void ProcessingPhotoPipeline::removeTemporaries(const QStringList& folders)
{
    for (const QString& folder : folders)
        AtomicFileWriter::removeLeftovers(folder);
}

} // namespace vantrel
