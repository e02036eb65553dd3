#pragma once

#include <memory>

#include <QString>

#include "core/Processing/PhotoJobSettings.h"

namespace vantrel {

class OutputOptionSettings;
class ResizingOptionsSettingObject;
class RunCommitGate;

/// A value snapshot of a run's choices, taken on the main thread when the run starts: what naming
/// and the one-photo pipeline read (with the RAW answer), and the overwrite choice that the run
/// itself reads. The worker reads only this copy, so the panes may change their own option
/// records while a run is going on.
struct RunOptions {
    PhotoJobSettings job;
    bool askBeforeOverwrite = true;
    /// The run's writes put their outputs in place through this gate (shared by every copy of the
    /// run's options); none outside a run, where a write always commits.
    std::shared_ptr<RunCommitGate> commitGate;

    static RunOptions from(const OutputOptionSettings& output, const ResizingOptionsSettingObject& resize,
        const QString& rawConvertFormat);
};

} // namespace vantrel
