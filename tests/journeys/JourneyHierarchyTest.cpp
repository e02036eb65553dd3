// Journey through "Keep folder hierarchy": the box ticked on the settings step, the run writes
// each photo under the output folder in a copy of its source folder's path (less its first
// component), so photos from several subfolders never land flat in one folder.
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <gtest/gtest.h>

#include "JourneyDriver.h"
#include "JourneyFiles.h"
#include "JourneyStart.h"
#include "JourneySteps.h"

namespace vantrel::journeys {
namespace {

/// Where a photo's PNG lies, relative to the output folder, with the hierarchy kept:
/// "/tmp/x/photos/trip/a.jpg" gives "x/photos/trip/a.png".
QString keptPlace(const QString& photoPath)
{
    const QFileInfo source(photoPath);
    const QString folder = QDir::cleanPath(source.absolutePath());
    return folder.mid(folder.indexOf(u'/', 1) + 1) + "/" + source.completeBaseName() + ".png";
}

TEST(Journey, KeepFolderHierarchyWritesEachPhotoUnderItsOwnFolderPath)
{
    JourneyStart start;
    ASSERT_TRUE(start.launchWithPhotos());
    ASSERT_TRUE(goToStep("Next", "Resizing"));
    ASSERT_TRUE(goToStep("Next", "Settings"));
    QWidget* settings = pane("Settings");
    ASSERT_TRUE(settings);
    ASSERT_TRUE(convertToPngInto(start.out()));
    ASSERT_FALSE(isChecked("Keep folder hierarchy", settings)) << "ticked before it was clicked";
    ASSERT_TRUE(clickControl("Keep folder hierarchy", settings));
    ASSERT_TRUE(isChecked("Keep folder hierarchy", settings));

    ASSERT_TRUE(goToStep("Convert", "Processing"));
    ASSERT_TRUE(waitForSummary()) << "the run did not reach its summary";
    EXPECT_EQ(summaryCount("Conversion failed"), 0);

    QStringList expected;
    for (const JourneyPhoto& photo : start.folder().photos())
        expected << keptPlace(start.folder().path(photo));
    expected.sort();
    EXPECT_EQ(filesIn(start.out(), true), expected);
}

} // namespace
} // namespace vantrel::journeys
