#include "core/Processing/ProcessingPhotoPipeline.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

#include "core/Processing/OutputFileSystem.h"
#include "core/Processing/OutputPathBuilder.h"
#include "core/Processing/RunCommitGate.h"
#include "platform/imaging/AtomicFileWriter.h"
#include "platform/imaging/ImagingInit.h"
#include "platform/imaging/VipsErrorText.h"

namespace vantrel {

namespace {

/// The file system of one write of a run: its temporary is noted with the run's gate and renamed
/// into place only through it, so a write still on its way when the run ends puts nothing in place
/// and leaves no temporary (the gate removes it; the write's own removal then finds none).
class GatedFileSystem : public OutputFileSystem {
public:
    GatedFileSystem(std::shared_ptr<OutputFileSystem> files, std::shared_ptr<RunCommitGate> gate)
        : m_files(std::move(files))
        , m_gate(std::move(gate))
    {
    }
    int createTemporary(const QString& folder, QString* path) override
    {
        if (m_gate->isClosed())
            return ECANCELED;
        if (const int error = m_files->createTemporary(folder, path))
            return error;
        const QString temporary = *path;
        return m_gate->hold(temporary, [files = m_files, temporary] { files->discard(temporary); }) ? 0 : ECANCELED;
    }
    int copyContents(const QString& source, const QString& target) override
    {
        return m_files->copyContents(source, target);
    }
    int commit(const QString& temporary, const QString& target) override
    {
        return m_gate->pass(temporary, target, [&] { return m_files->commit(temporary, target); });
    }
    void discard(const QString& temporary) override
    {
        m_gate->release(temporary);
        m_files->discard(temporary);
    }
    int makeFolder(const QString& folder) override { return m_files->makeFolder(folder); }
    int flush(const QString& path) override { return m_files->flush(path); }
    qint64 wallClock() override { return m_files->wallClock(); }
    void sleepFor(qint64 nanoseconds) override { m_files->sleepFor(nanoseconds); }

private:
    std::shared_ptr<OutputFileSystem> m_files;
    std::shared_ptr<RunCommitGate> m_gate;
};

} // namespace

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
    if (plan.decodable && plan.sizeAccepted)
        keepPlan(photo, plan);
    if (!plan.decodable)
        return RunSizeCheck::Unreadable;
    return plan.sizeAccepted ? RunSizeCheck::Accepted : RunSizeCheck::Refused;
}

RunWriteResult ProcessingPhotoPipeline::write(
    const PhotoFile& photo, const QString& outputPath, const RunOptions& options)
{
    const PhotoPipeline pipeline(options.job,
        options.commitGate ? std::make_shared<GatedFileSystem>(m_fileSystem, options.commitGate) : m_fileSystem);
    std::optional<PhotoPlan> plan;
    {
        std::lock_guard lock(m_mutex);
        plan = takePlan(photo);
    }
    // A failure has written its one line to stderr already. An exception of a library must not
    // leave a writer thread (it would end the process): the photo fails with its text instead.
    PhotoWriteResult result;
    try {
        result = plan ? pipeline.processPhoto(photo, *plan, outputPath) : pipeline.processPhoto(photo, outputPath);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cannot write %s: %s\n", qUtf8Printable(outputPath),
            qUtf8Printable(VipsErrorText::take(e, photo.fileURL())));
        result = {};
    } catch (...) {
        std::fprintf(stderr, "cannot write %s: a library failed\n", qUtf8Printable(outputPath));
        result = {};
    }
    // The photo's buffers are freed; give their pages back before the next photo.
    releaseFreedMemory();
    // An encoder's write error carries the system's text of the errno rather than its number.
    const bool noSpace = result.errorNumber == ENOSPC || result.errorNumber == EDQUOT
        || (result.errorNumber == 0 && result.status == ProcessStatus::NotProcessed
            && (result.error.contains(QString::fromLocal8Bit(std::strerror(ENOSPC)))
                || result.error.contains(QString::fromLocal8Bit(std::strerror(EDQUOT)))));
    return { static_cast<qint32>(result.status), result.sourceChanged, noSpace };
}

qint64 ProcessingPhotoPipeline::memoryNeed(const PhotoFile& photo, const QString& outputPath, const RunOptions& options)
{
    const PhotoPipeline pipeline(options.job, m_fileSystem);
    return pipeline.memoryNeed(photo, planForWrite(photo, pipeline), outputPath);
}

qint64 ProcessingPhotoPipeline::outputBytes(
    const PhotoFile& photo, const QString& outputPath, const RunOptions& options)
{
    const PhotoPipeline pipeline(options.job, m_fileSystem);
    return pipeline.outputBytes(photo, planForWrite(photo, pipeline), outputPath);
}

bool ProcessingPhotoPipeline::mayEndProcess(
    const PhotoFile& photo, const QString& outputPath, const RunOptions& options)
{
    return OutputPathBuilder::outputFormatList().value(PhotoPipeline::formatIndexForPath(outputPath))
        == QLatin1String("gif")
        && !PhotoPipeline(options.job, m_fileSystem).shouldCopy(photo, outputPath);
}

PhotoPlan ProcessingPhotoPipeline::planForWrite(const PhotoFile& photo, const PhotoPipeline& pipeline)
{
    std::optional<PhotoPlan> plan;
    {
        std::lock_guard lock(m_mutex);
        plan = takePlan(photo);
    }
    if (!plan)
        plan = pipeline.planFor(photo);
    // Kept again for the write that follows.
    if (plan->decodable && plan->sizeAccepted)
        keepPlan(photo, *plan);
    return *plan;
}

void ProcessingPhotoPipeline::keepPlan(const PhotoFile& photo, const PhotoPlan& plan)
{
    std::lock_guard lock(m_mutex);
    takePlan(photo);
    m_plans.emplace_back(&photo, plan);
    if (m_plans.size() > kKeptPlans)
        m_plans.pop_front();
}

std::optional<PhotoPlan> ProcessingPhotoPipeline::takePlan(const PhotoFile& photo)
{
    for (auto it = m_plans.begin(); it != m_plans.end(); ++it) {
        if (it->first == &photo) {
            PhotoPlan plan = std::move(it->second);
            m_plans.erase(it);
            return plan;
        }
    }
    return std::nullopt;
}

void ProcessingPhotoPipeline::removeTemporaries(const QStringList& folders)
{
    for (const QString& folder : folders)
        AtomicFileWriter::removeLeftovers(folder);
}

} // namespace vantrel
