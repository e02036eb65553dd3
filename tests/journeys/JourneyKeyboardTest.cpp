// Journeys made with the keyboard alone, and the feedback form of the Help menu.
#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include "../app/Online/LoopbackHttpServer.h"
#include "JourneyDriver.h"
#include "JourneyFiles.h"
#include "JourneySteps.h"

namespace vantrel::journeys {
namespace {

/// Tab to the button and press Space, as a keyboard user activates a button.
::testing::AssertionResult pressButton(const QString& name)
{
    if (::testing::AssertionResult ok = tabTo(name); !ok)
        return ok;
    return pressKey(Qt::Key_Space);
}

::testing::AssertionResult keyToStep(const QString& button, const QString& step)
{
    if (::testing::AssertionResult ok = pressButton(button); !ok)
        return ok;
    if (!waitFor([&] { return shownStep() == step; }, 5000))
        return ::testing::AssertionFailure() << "after \"" << button.toStdString() << "\" the window shows step \""
                                             << shownStep().toStdString() << "\", not \"" << step.toStdString() << "\"";
    return ::testing::AssertionSuccess();
}

/// The sheet or alert that is up, by its accessible name.
QWidget* upNamed(const QString& name)
{
    for (QWidget* w : visibleControls(name))
        if (!w->inherits("QLabel"))
            return w;
    return nullptr;
}

TEST(Journey, KeyboardOnlyFromAnEmptyWindowToTheSummaryAndQuit)
{
    QTemporaryDir disk;
    PhotoFolder folder(disk.filePath("photos"));
    ASSERT_TRUE(folder.ok());
    const QString out = disk.filePath("out");
    ASSERT_TRUE(QDir().mkpath(out));
    RunningApp app;
    ASSERT_TRUE(app.isUp()) << "the main window did not become active";

    // Add Folder, the path typed into the panel, Return.
    ASSERT_TRUE(pressButton("Add Folder"));
    ASSERT_TRUE(choosePathInPanel(folder.root()));
    ASSERT_TRUE(waitForBatchCount(6));

    // A question answered with Escape: Remove All, then Escape keeps the batch.
    ASSERT_TRUE(pressButton("Remove All"));
    ASSERT_TRUE(waitFor([] { return upNamed("Alert") != nullptr; }, 5000)) << "Remove All asked nothing";
    ASSERT_TRUE(pressKey(Qt::Key_Escape));
    EXPECT_TRUE(waitFor([] { return upNamed("Alert") == nullptr; }, 3000)) << "Escape did not answer the alert";
    ASSERT_TRUE(waitForBatchCount(6)) << "Escape removed the photos";

    // Through the steps; a percentage typed; the output folder chosen through its panel.
    ASSERT_TRUE(keyToStep("Next", "Resizing"));
    ASSERT_TRUE(pressButton("Percent size"));
    ASSERT_TRUE(tabTo("Percent width"));
    ASSERT_TRUE(replaceText("50"));
    ASSERT_TRUE(tabTo("Percent height"));
    ASSERT_TRUE(replaceText("50"));
    ASSERT_TRUE(keyToStep("Next", "Settings"));
    ASSERT_TRUE(pressButton("Save to folder"));
    ASSERT_TRUE(pressButton("Choose output folder"));
    ASSERT_TRUE(choosePathInPanel(out));
    ASSERT_TRUE(keyToStep("Convert", "Processing"));
    ASSERT_TRUE(waitForSummary()) << "the run did not reach its summary";
    EXPECT_EQ(filesIn(out).size(), 6);

    // Again into the same folder: the overwrite question, answered from the keyboard. A name
    // typed into the rename field and Return renames; then Skip All.
    ASSERT_TRUE(keyToStep("Finish", "Photos"));
    ASSERT_TRUE(keyToStep("Next", "Resizing"));
    ASSERT_TRUE(keyToStep("Next", "Settings"));
    ASSERT_TRUE(keyToStep("Convert", "Processing"));
    ASSERT_TRUE(waitFor([] { return upNamed("File already exists") != nullptr; }, 15'000))
        << "no overwrite question";
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus && focus->accessibleName() == "New file name")
        << "the overwrite question does not give its rename field the keyboard";
    ASSERT_TRUE(replaceText("Keyboard Copy_1"));
    ASSERT_TRUE(pressKey(Qt::Key_Return));
    ASSERT_TRUE(waitFor([] { return upNamed("File already exists") != nullptr; }, 15'000))
        << "no second overwrite question";
    ASSERT_TRUE(pressButton("Skip All"));
    ASSERT_TRUE(waitForSummary()) << "the run did not reach its summary";
    QStringList files = filesIn(out);
    EXPECT_EQ(files.size(), 7) << files.join(", ").toStdString();
    EXPECT_TRUE(files.filter(QRegularExpression("^Keyboard Copy_1\\.")).size() == 1)
        << "the renamed file: " << files.join(", ").toStdString();

    // Quit from the keyboard: Escape cancels the save question, Return saves and quits.
    ASSERT_TRUE(pressKey(Qt::Key_Q, Qt::ControlModifier));
    ASSERT_TRUE(waitFor([] { return upNamed("Save session") != nullptr; }, 5000)) << "Ctrl+Q asked nothing";
    ASSERT_TRUE(pressKey(Qt::Key_Escape));
    EXPECT_TRUE(waitFor([] { return upNamed("Save session") == nullptr; }, 3000)) << "Escape left the question up";
    EXPECT_EQ(app.exits(), 0) << "Escape quit the application";
    ASSERT_TRUE(pressKey(Qt::Key_Q, Qt::ControlModifier));
    ASSERT_TRUE(waitFor([] { return upNamed("Save session") != nullptr; }, 5000)) << "Ctrl+Q asked nothing";
    ASSERT_TRUE(pressKey(Qt::Key_Return));
    EXPECT_TRUE(waitFor([&] { return app.exits() == 1; }, 3000)) << "Return did not save and quit";
}

TEST(Journey, SendFeedbackNeedsItsServiceAndArrivesEscapedAndWhole)
{
    qunsetenv("VANTREL_FEEDBACK_URL");
    RunningApp app;
    ASSERT_TRUE(app.isUp()) << "the main window did not become active";
    bool enabled = true;
    ASSERT_TRUE(menuItemEnabled("Help", "Send Feedback...", &enabled));
    EXPECT_FALSE(enabled) << "Send Feedback is offered with no feedback service";

    vantrel::testing::LoopbackHttpServer server;
    qputenv("VANTREL_FEEDBACK_URL", server.baseUrl() + "/feedback");
    ASSERT_TRUE(chooseMenuItem("Help", "Send Feedback..."));
    ASSERT_TRUE(waitFor([] { return upNamed("Feedback") != nullptr; }, 5000)) << "no feedback form came up";

    const QString email = QStringLiteral("Ann.O'Neil+test@example.org");
    const QString text = QStringLiteral("Quotes \"double\" and 'single', a < b & c > d; Grüße, Привет, 写真 ✓");
    ASSERT_TRUE(tabTo("Email Address"));
    ASSERT_TRUE(replaceText(email));
    ASSERT_TRUE(tabTo("Feedback Type"));
    ASSERT_TRUE(pressKey(Qt::Key_Down));
    ASSERT_TRUE(tabTo("Share your experience"));
    ASSERT_TRUE(typeText(text));
    QWidget* form = upNamed("Feedback");
    ASSERT_TRUE(form);
    EXPECT_EQ(controlText("Email Address", form), email) << "the e-mail field lost keys";
    EXPECT_EQ(controlText("Share your experience", form), text) << "the feedback field lost keys";
    ASSERT_TRUE(pressButton("Submit"));
    ASSERT_TRUE(server.waitForRequests(1, 10'000)) << "no feedback reached the service";

    const QString body = QString::fromUtf8(server.requests().first().body);
    for (const QString& whole : { QStringLiteral("Grüße, Привет, 写真 ✓"), QStringLiteral("Ann.O") })
        EXPECT_TRUE(body.contains(whole)) << "missing from the upload: " << whole.toStdString();
    EXPECT_FALSE(body.contains("a < b")) << "the text went out unescaped";
    EXPECT_FALSE(body.contains("& c")) << "the text went out unescaped";
    EXPECT_TRUE(body.contains("a &lt; b &amp; c &gt; d") || body.contains("a &amp;lt; b &amp;amp; c &amp;gt; d"))
        << "the text is not in the upload, escaped: " << body.toStdString();
}

} // namespace
} // namespace vantrel::journeys
