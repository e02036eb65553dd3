// Journeys made with the keyboard alone, and the feedback form of the Help menu.
#include <QApplication>
#include <QRegularExpression>
#include <QWidget>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include "JourneyDriver.h"
#include "JourneyFiles.h"
#include "JourneyGestures.h"
#include "JourneyStart.h"
#include "JourneySteps.h"
#include "app/Online/LoopbackHttpServer.h"

namespace vantrel::journeys {
namespace {

/// The sheet or alert that is up, by its accessible name.
QWidget* upNamed(const QString& name)
{
    const QList<QWidget*> found = visibleControls(name);
    return found.size() == 1 ? found.first() : nullptr;
}

TEST(Journey, KeyboardOnlyFromAnEmptyWindowToTheSummaryAndQuit)
{
    JourneyStart start;
    ASSERT_TRUE(start.launch());
    const PhotoFolder& folder = start.folder();
    const QString out = start.out();
    RunningApp& app = start.app();

    // Add Folder, the path typed into the panel, Return.
    ASSERT_TRUE(pressButton("Add Folder"));
    ASSERT_TRUE(choosePathInPanel(folder.root()));
    ASSERT_TRUE(waitForBatchCount(6));

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
    ASSERT_TRUE(waitFor([] { return upNamed("File already exists") != nullptr; }, 15'000)) << "no overwrite question";
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

/// The text of the first element named `name` in an XML text (entities resolved once).
QString elementText(const QString& xml, const QString& name)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == name)
            return reader.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    return {};
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
    // The service fails the first time: the form stays, with everything typed.
    server.setDefaultAnswer({ 500, "out of order" });
    ASSERT_TRUE(pressButton("Submit"));
    ASSERT_TRUE(server.waitForRequests(1, 10'000)) << "no feedback reached the service";
    settle(300);
    ASSERT_TRUE(waitFor([] { return upNamed("Feedback") != nullptr; }, 5000)) << "a failed upload lost the form";
    form = upNamed("Feedback");
    EXPECT_EQ(controlText("Email Address", form), email.toLower()) << "the form lost the address";
    EXPECT_EQ(controlText("Share your experience", form), text) << "the form lost the feedback";
    // The alert over the form that says so is answered with Return.
    ASSERT_TRUE(waitFor([&] { return visibleControls("OK", form).size() == 1; }, 5000)) << "no alert said it failed";
    ASSERT_TRUE(pressKey(Qt::Key_Return));
    ASSERT_TRUE(waitFor([&] { return visibleControls("OK", form).isEmpty(); }, 3000)) << "Return left the alert up";
    server.setDefaultAnswer({ 200, "" });
    ASSERT_TRUE(pressButton("Submit"));
    ASSERT_TRUE(server.waitForRequests(2, 10'000)) << "the second try did not reach the service";

    // The service receives the form's document, escaped inside the envelope: read back, it holds
    // the address (lower-cased, as the form writes it back) and every typed character, the
    // less-than sign in the service's own "(lessthan)" form.
    const QString document = elementText(QString::fromUtf8(server.requests().at(1).body), "input");
    ASSERT_FALSE(document.isEmpty()) << "no feedback document in the upload";
    EXPECT_EQ(elementText(document, "email"), email.toLower());
    EXPECT_EQ(elementText(document, "content"), QString(text).replace("<", "(lessthan)"))
        << "the feedback did not arrive whole";
    EXPECT_TRUE(waitFor([] { return upNamed("Feedback") == nullptr; }, 5000)) << "the form stayed up after Submit";
}

} // namespace
} // namespace vantrel::journeys
