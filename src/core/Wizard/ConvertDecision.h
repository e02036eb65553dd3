#pragma once

#include <QList>

#include "core/AppDelegate.h"
#include "core/DataBeans/OutputOptionSettings.h"

namespace vantrel {

/// What Convert does: start the run at once, or ask one of the questions first.
enum class ConvertStep {
    Start,
    AskRawFormat, ///< alert 119
    AskLibraryFolder, ///< alert 120
    AskLibraryFolderAndRawFormat, ///< alert 121
};

/// The rule that decides, before a run, whether RAW photos need an output format and whether photos
/// from a photo library need to be told where they go.
class ConvertDecision {
public:
    ConvertDecision() = delete;

    /// Any photo of the batch, checked or not, comes from a photo library.
    static bool hasLibraryPhotos(const QList<PhotoFilePtr>& batch);
    /// Any checked photo has an extension (compared in lower case) outside the eight output formats.
    static bool hasRawPhotos(const QList<PhotoFilePtr>& batch);
    /// First match wins: RAW and library photos with the source format kept and written beside
    /// the sources ask both; RAW photos with the source format kept ask the format; no library
    /// photos, or an output folder, start; otherwise the library folder is told.
    static ConvertStep decide(
        const QList<PhotoFilePtr>& batch, const OutputOptionSettings& output, bool isRawImageExist);
    /// The alert number a step raises; 0 for Start.
    static int alertFor(ConvertStep step);
};

} // namespace vantrel
