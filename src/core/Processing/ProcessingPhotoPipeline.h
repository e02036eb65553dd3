#pragma once

#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include "core/Processing/PhotoPipeline.h"
#include "core/Processing/RunInterfaces.h"

namespace vantrel {

class OutputFileSystem;

/// The run's one-photo pipeline over PhotoPipeline and OutputPathBuilder. The header of a photo is
/// read once: the plan made by checkSize is kept for the write of the same photo that follows
/// (the run decides a few photos ahead of its writers, so the last few plans are kept). Safe on
/// the run's worker and on its writers at once.
class ProcessingPhotoPipeline : public RunPhotoPipeline {
public:
    explicit ProcessingPhotoPipeline(std::shared_ptr<OutputFileSystem> fileSystem = {});

    QString outputPath(const PhotoFile& photo, const RunOptions& options) override;
    RunSizeCheck checkSize(const PhotoFile& photo, const RunOptions& options) override;
    RunWriteResult write(const PhotoFile& photo, const QString& outputPath, const RunOptions& options) override;
    qint64 memoryNeed(const PhotoFile& photo, const QString& outputPath, const RunOptions& options) override;
    qint64 outputBytes(const PhotoFile& photo, const QString& outputPath, const RunOptions& options) override;
    /// An encode to GIF: GLib's allocator, which aborts when it cannot allocate, gives the
    /// encoder its frame.
    bool mayEndProcess(const PhotoFile& photo, const QString& outputPath, const RunOptions& options) override;
    /// Removes the files named as the pipeline's temporaries from these folders.
    void removeTemporaries(const QStringList& folders) override;

private:
    std::shared_ptr<OutputFileSystem> m_fileSystem;
    // More than the photos a run decides ahead of its writers (as many as the machine's cores).
    static constexpr size_t kKeptPlans = 64;
    std::mutex m_mutex;
    std::deque<std::pair<const PhotoFile*, PhotoPlan>> m_plans; // oldest first
    std::optional<PhotoPlan> takePlan(const PhotoFile& photo);
    /// The plan kept for `photo`, or one made now; a usable plan stays kept for the photo's write.
    PhotoPlan planForWrite(const PhotoFile& photo, const PhotoPipeline& pipeline);
    void keepPlan(const PhotoFile& photo, const PhotoPlan& plan);
};

} // namespace vantrel
