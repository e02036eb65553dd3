// What a screen reader hears on the real main window, step by step: no two visible widgets share an
// accessible name, and every visible caption (a label or a button with text) is named after what it
// shows, unless it is the caption of a field (its buddy) or a value label named after what it holds.
#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QMultiMap>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>

#include <gtest/gtest.h>

#include "app/AppController.h"
#include "app/MainScreen/MainScreenView.h"
#include "app/MainWindowController.h"
#include "app/ShellFakes.h"
#include "components/TitleBar/OvAppStoreWindow.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "platform/NotificationCenter.h"
#include "screens/AddPhotos/AddPhotosVC.h"
#include "support/TestImages.h"

namespace vantrel {
namespace {

QString shownText(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w)) {
        const bool rich = label->textFormat() == Qt::RichText
            || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
        return (rich ? QTextDocumentFragment::fromHtml(label->text()).toPlainText() : label->text()).trimmed();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text().remove(QLatin1Char('&')).trimmed();
    return {};
}

QString describe(QWidget* w)
{
    return QStringLiteral("%1 \"%2\" (%3)")
        .arg(QString::fromLatin1(w->metaObject()->className()), w->accessibleName(), w->objectName());
}

/// A caption's words without the trailing punctuation it is shown with ("More..." is "More").
QString words(QString text)
{
    while (!text.isEmpty() && QStringLiteral(":.\u2026").contains(text.back()))
        text.chop(1);
    return text.trimmed();
}

/// Whether `name` is what `shown` says, made distinct where one caption is shown twice ("Reset"
/// named "Reset size") or shortened ("Custom size (pixels)" named "Custom size").
bool namesWhatItShows(const QString& name, const QString& shown)
{
    const QString a = words(name);
    const QString b = words(shown);
    return a == b || a.startsWith(b + QLatin1Char(' ')) || b.startsWith(a + QLatin1Char(' '));
}

/// What is wrong with the names of the window's visible widgets; empty when nothing is. A label
/// must not share its name with another widget (copies of one control, as in the rows of a list,
/// are one name); a label or button named explicitly is named after what it shows, unless it is
/// the caption of a field (its buddy carries the name) or a value label named after what it holds.
QStringList nameProblems(QWidget* window, const QStringList& valueLabels)
{
    QStringList problems;
    QMultiMap<QString, QWidget*> named;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        const QString name = w->accessibleName();
        auto* label = qobject_cast<QLabel*>(w);
        for (QWidget* other : named.values(name)) {
            const bool copies = other->metaObject() == w->metaObject() && !w->objectName().isEmpty()
                && other->objectName() == w->objectName();
            if (!copies && (label || qobject_cast<QLabel*>(other)))
                problems << QStringLiteral("shared name: %1 and %2").arg(describe(other), describe(w));
        }
        if (!name.isEmpty())
            named.insert(name, w);
        if (!label && !qobject_cast<QAbstractButton*>(w))
            continue;
        const QString shown = shownText(w);
        if (name.isEmpty() || !shown.contains(QRegularExpression(QStringLiteral("\\w"))))
            continue; // unnamed widgets are read by their text; a sign such as "▾" is no caption
        if (namesWhatItShows(name, shown) || valueLabels.contains(name) || (label && label->buddy()))
            continue;
        problems << QStringLiteral("%1 shows \"%2\"").arg(describe(w), shown);
    }
    return problems;
}

TEST(AccessibleNames, EachStepOfTheMainWindowNamesEveryWidgetOnceAndAfterWhatItShows)
{
    AppDelegate::resetShared();
    shelltest::clearShellDefaults();
    AppController app(AppController::Hooks {});
    MainWindowController controller(
        &app, [] { return std::make_unique<MainScreenView>(); }, [](int, std::function<void()> fn) { fn(); });
    auto* screen = static_cast<MainScreenView*>(controller.mainScreen());
    QWidget* window = controller.windowMain();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));

    QTemporaryDir dir;
    QStringList photos;
    for (int i = 1; i <= 2; ++i) {
        photos << dir.filePath(QStringLiteral("photo%1.jpg").arg(i));
        ASSERT_TRUE(testimages::writePattern(photos.last(), 90, 60));
    }
    const auto click = [&](QWidget* scope, const QString& name) {
        for (QWidget* w : scope->findChildren<QWidget*>())
            if (w->isVisible() && w->accessibleName() == name && !qobject_cast<QLabel*>(w)) {
                QTest::mouseClick(w, Qt::LeftButton);
                return true;
            }
        return false;
    };

    // Value labels are named after what they hold, their text is that value.
    const QStringList values = { "Batch summary", "Batch information", "Chosen format", "Chosen naming",
        "Output folder", "Progress summary", "Current photo", "Support number", "Chosen preset", "Images selected",
        "Images converted", "Conversion failed", "Total size of the photos", "Size of the converted photos",
        "Size after conversion", "Time elapsed",
        // Named apart from their captions ("Percentage (%)", "Browse…") by the names they are found by.
        "Percent size", "Choose output folder" };
    const struct {
        const char* step;
        std::function<bool()> reach;
    } rows[] = {
        { "the empty batch", [&] { return screen->stepView(1)->isVisible(); } },
        { "a batch in the grid",
            [&] {
                NotificationCenter::defaultCenter().post(kFileDragDropNotification, { { kUserInfoPaths, photos } });
                return QTest::qWaitFor(
                           [&] {
                               return AppDelegate::shareDelegate()->arraySelectedImagesToProcess.size() == 2
                                   && !screen->addPhotosScreen()->isAddRunInProgress();
                           },
                           60'000)
                    && click(window, "Grid");
            } },
        { "a batch in the list", [&] { return click(window, "List"); } },
        { "the resize step",
            [&] {
                QTest::mouseClick(screen->bottomButton("btnNextOnPhotosvw"), Qt::LeftButton);
                return screen->stepView(2)->isVisible();
            } },
        { "the settings step",
            [&] {
                QTest::mouseClick(screen->bottomButton("btnNextOnResizingvw"), Qt::LeftButton);
                return screen->stepView(3)->isVisible();
            } },
        { "the summary",
            [&] {
                QTest::mouseClick(screen->bottomButton("btnConvertOnSettingvw"), Qt::LeftButton);
                return QTest::qWaitFor(
                    [&] { return screen->bottomButton("btnFinishOnProccesiingvw")->isVisible(); }, 60'000);
            } },
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(row.reach()) << row.step;
        QCoreApplication::processEvents();
        EXPECT_EQ(nameProblems(window, values).join(QLatin1Char('\n')).toStdString(), "") << row.step;
    }
}

} // namespace
} // namespace vantrel
