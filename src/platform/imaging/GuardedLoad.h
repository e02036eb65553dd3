#pragma once

#include <memory>

#include <QString>

#include "platform/imaging/VipsInclude.h"

namespace vantrel {

struct ImageProperties;

/// A file opened by its libvips loader for one pass from top to bottom, whose decode failures
/// are never lost on the way to a consumer.
///
/// libvips 8.14 loaders read through a line cache shared by the worker threads of whatever
/// pulls the pixels (a copy into memory, a resize, a saver). A strip whose decode fails (data
/// cut short, under fail_on) is kept in that cache as black pixels: the request that ran the
/// decode gets the error, but a worker thread waiting for the same strip is answered from the
/// cache as if it had succeeded. Whether a truncated photo failed or was written with a flat
/// band then depended on thread timing. Here every request reaches the loader one at a time
/// (the decode is sequential anyway), so the request that hits the damage is always the one
/// that decodes it, and its failure is recorded: check failed() once the consumer has finished,
/// whatever the consumer returned.
class GuardedLoad {
public:
    /// Opens `path` (image 0) failing on truncated data, by the loader its first bytes name (see
    /// DecodeSource); `shrink` > 1 asks the JPEG loader for DCT scaling. Throws vips::VError when
    /// the file cannot be opened. First waits for `share` bytes of the process's decode budget
    /// (see DecodeBudget and DecodeFootprint), held while the loader is open; a thread must not
    /// open a second one meanwhile.
    static GuardedLoad open(const QString& path, qint64 share, int shrink = 1);

    /// The loader's pixels, to be read once from top to bottom.
    const vips::VImage& image() const { return m_image; }
    /// True once a request for pixels failed: the photo must not be used.
    bool failed() const;

    /// The whole picture decoded into memory, holding the share of the budget that its header
    /// `header` calls for (the frame at that scale, and a progressive JPEG's coefficients);
    /// throws vips::VError when the decode failed.
    static vips::VImage decodeIntoMemory(const QString& path, const ImageProperties& header, int shrink = 1);

    struct State;

private:
    vips::VImage m_image;
    std::shared_ptr<State> m_state;
};

} // namespace vantrel
