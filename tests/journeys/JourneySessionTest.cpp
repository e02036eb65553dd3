// Journey across two launches: options chosen, the application quit through its menu with
// Save, then started again (a second process on the same home and display) and the last
// session accepted: every option comes back.
#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QWidget>

#include <gtest/gtest.h>

#include "JourneyDriver.h"
#include "JourneyFiles.h"
#include "JourneyGestures.h"
#include "JourneySteps.h"

namespace vantrel::journeys {
namespace {

constexpr char kPhase[] = "VANTREL_JOURNEY_PHASE";

/// Where both launches find the photos and the chosen output folder (inside the shared home).
QString sharedPlace(const QString& name)
{
    return qEnvironmentVariable("HOME") + "/journey/" + name;
}

/// The first launch: the options a user sets, then Quit Vantrel from the menu and Save.
void chooseOptionsAndQuitWithSave()
{
    PhotoFolder folder(sharedPlace("photos"));
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(QDir().mkpath(sharedPlace("out")));
    RunningApp app;
    ASSERT_TRUE(app.isUp()) << "the main window did not become active";
    ASSERT_TRUE(addFolderThroughPanel(folder.root(), 6));

    ASSERT_TRUE(goToStep("Next", "Resizing"));
    QWidget* resize = pane("Resize");
    ASSERT_TRUE(resize);
    ASSERT_TRUE(clickControl("Custom size", resize));
    if (isChecked("Keep aspect ratio", resize)) {
        ASSERT_TRUE(clickControl("Keep aspect ratio", resize));
    }
    ASSERT_TRUE(typeInto("Custom width", "300", resize));
    ASSERT_TRUE(typeInto("Custom height", "200", resize));
    ASSERT_TRUE(clickControl("180°", pane("Rotate")));
    ASSERT_TRUE(clickControl("Flip vertical", pane("Flip")));

    ASSERT_TRUE(goToStep("Next", "Settings"));
    QWidget* settings = pane("Settings");
    ASSERT_TRUE(settings);
    ASSERT_TRUE(clickControl("Convert to", settings));
    ASSERT_TRUE(chooseFromPopup("Choose format", "*.JPEG", settings));
    ASSERT_TRUE(typeInto("Quality", "55", settings));
    ASSERT_TRUE(chooseFromPopup("Choose naming", "Add Suffix", settings));
    ASSERT_TRUE(typeInto("Prefix or suffix", "_Done!", settings));
    ASSERT_TRUE(clickControl("Save to folder", settings));
    ASSERT_TRUE(clickControl("Choose output folder", settings));
    ASSERT_TRUE(choosePathInPanel(sharedPlace("out")));
    ASSERT_TRUE(clickControl("Keep folder hierarchy", settings));
    ASSERT_TRUE(clickControl("Ask before overwriting files", settings));
    ASSERT_TRUE(isChecked("Keep folder hierarchy", settings));
    ASSERT_FALSE(isChecked("Ask before overwriting files", settings));

    ASSERT_TRUE(chooseMenuItem("Vantrel", "Quit Vantrel"));
    ASSERT_TRUE(waitFor([] { return visibleControls("Save session").size() == 1; }, 5000))
        << "quitting did not ask to save the session";
    EXPECT_EQ(app.exits(), 0) << "the application quit before the question was answered";
    ASSERT_TRUE(clickIn("Save session", "Save"));
    EXPECT_TRUE(waitFor([&] { return app.exits() == 1; }, 5000)) << "Save did not quit the application";
}

/// The second launch: the last session accepted, every option shown as it was chosen.
void acceptLastSessionAndFindEveryOption()
{
    RunningApp app;
    ASSERT_TRUE(app.isUp()) << "the main window did not become active";
    ASSERT_TRUE(waitFor([] { return visibleControls("Last session").size() == 1; }, 5000))
        << "the second launch did not offer the last session";
    ASSERT_TRUE(clickIn("Last session", "Load Last Session"));
    ASSERT_TRUE(waitFor([] { return visibleControls("Last session").isEmpty(); }, 3000));
    ASSERT_TRUE(addFolderThroughPanel(sharedPlace("photos"), 6));

    ASSERT_TRUE(goToStep("Next", "Resizing"));
    QWidget* resize = pane("Resize");
    ASSERT_TRUE(resize);
    EXPECT_TRUE(isChecked("Custom size", resize));
    EXPECT_FALSE(isChecked("Keep aspect ratio", resize));
    EXPECT_EQ(controlText("Custom width", resize), "300");
    EXPECT_EQ(controlText("Custom height", resize), "200");
    EXPECT_TRUE(isChecked("180°", pane("Rotate")));
    EXPECT_TRUE(isChecked("Flip vertical", pane("Flip")));

    ASSERT_TRUE(goToStep("Next", "Settings"));
    QWidget* settings = pane("Settings");
    ASSERT_TRUE(settings);
    EXPECT_TRUE(isChecked("Convert to", settings));
    EXPECT_EQ(controlText("Chosen format", settings), "*.JPEG");
    EXPECT_EQ(controlText("Quality", settings), "55");
    EXPECT_EQ(controlText("Chosen naming", settings), "Add Suffix");
    EXPECT_EQ(controlText("Prefix or suffix", settings), "_Done!");
    EXPECT_TRUE(isChecked("Save to folder", settings));
    EXPECT_EQ(controlText("Output folder", settings), sharedPlace("out")) << "the output folder";
    EXPECT_TRUE(isChecked("Keep folder hierarchy", settings));
    EXPECT_FALSE(isChecked("Ask before overwriting files", settings));
}

TEST(Journey, QuitWithSaveThenStartAgainAndLoadTheLastSession)
{
    if (qEnvironmentVariable(kPhase) == QLatin1String("second launch")) {
        acceptLastSessionAndFindEveryOption();
        return;
    }
    chooseOptionsAndQuitWithSave();
    if (HasFatalFailure())
        return;
    for (QWidget* top : QApplication::topLevelWidgets())
        top->hide();

    // Start again: the same test in a new process, on the same home and X server.
    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kPhase, "second launch");
    environment.insert("VANTREL_JOURNEY_HOME", qEnvironmentVariable("HOME"));
    second.setProcessEnvironment(environment);
    second.setProcessChannelMode(QProcess::MergedChannels);
    second.start(QCoreApplication::applicationFilePath(),
        { "--gtest_filter=Journey.QuitWithSaveThenStartAgainAndLoadTheLastSession" });
    ASSERT_TRUE(second.waitForFinished(90'000)) << "the second launch did not end";
    const QString output = QString::fromUtf8(second.readAll());
    EXPECT_EQ(second.exitCode(), 0) << "the second launch failed:\n" << output.section("[ RUN      ]", 1).toStdString();
}

} // namespace
} // namespace vantrel::journeys
