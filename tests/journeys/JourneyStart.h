#pragma once

#include <optional>

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "JourneyDriver.h"
#include "JourneyFiles.h"

namespace vantrel::journeys {

/// How most journeys begin: the photo folder written under a temporary disk as "photos", an
/// empty "out" folder beside it, then the application started with its main window active.
/// The application goes first when this ends, then the folders.
class JourneyStart {
public:
    /// Writes the folders and starts the application; fails naming what did not come about.
    ::testing::AssertionResult launch();
    /// `launch()`, then "Add Folder" with the photo folder through its panel, waiting until every
    /// photo of it is in the batch.
    ::testing::AssertionResult launchWithPhotos();

    const PhotoFolder& folder() const { return *m_folder; }
    /// The empty folder beside the photos, for the runs' output.
    QString out() const { return place(QStringLiteral("out")); }
    /// A path of that name on the temporary disk, beside the photos.
    QString place(const QString& name) const { return m_disk.filePath(name); }
    RunningApp& app() { return *m_app; }

private:
    QTemporaryDir m_disk;
    std::optional<PhotoFolder> m_folder;
    std::optional<RunningApp> m_app;
};

} // namespace vantrel::journeys
