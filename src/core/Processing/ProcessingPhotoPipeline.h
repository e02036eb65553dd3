#pragma once

#include <memory>
#include <mutex>
#include <optional>

#include "core/Processing/PhotoPipeline.h"
#include "core/Processing/RunInterfaces.h"

namespace vantrel {

class OutputFileSystem;

/// The run's one-photo pipeline over PhotoPipeline and OutputPathBuilder. The header of a photo is
/// read once: the plan made by checkSize is kept for the write of the same photo that follows.
/// Safe on the run's worker thread (one worker at a time; the plan cache is guarded anyway).
class ProcessingPhotoPipeline : public RunPhotoPipeline {
public:
    explicit ProcessingPhotoPipeline(std::shared_ptr<OutputFileSystem> fileSystem = {});

    QString outputPath(const PhotoFile& photo, const RunOptions& options) override;
    RunSizeCheck checkSize(const PhotoFile& photo, const RunOptions& options) override;
    RunWriteResult write(const PhotoFile& photo, const QString& outputPath, const RunOptions& options) override;
    /// Removes the files named as the pipeline's temporaries from these folders.
    void removeTemporaries(const QStringList& folders) override;

private:
    std::shared_ptr<OutputFileSystem> m_fileSystem;
    std::mutex m_mutex;
    const PhotoFile* m_plannedPhoto = nullptr;
    PhotoPlan m_plan;
};

} // namespace vantrel
