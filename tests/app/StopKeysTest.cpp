// The Stop button of a running batch from the keyboard in the main window: a run started by
// Return on Convert goes on at Stop, and the keyboard then goes on at Finish.
#include "KeyboardFixture.h"

#include "core/Processing/ProcessingEngine.h"

namespace vantrel::test {
namespace {

/// Photos of noise, slow to write as PNG: the run lasts long enough to be stopped on the way.
QStringList writeNoisePhotos(const QString& folder, int count)
{
    QStringList paths;
    const vips::VImage noise = vips::VImage::gaussnoise(1600, 1200, vips::VImage::option()->set("sigma", 60.0))
                                   .cast(VIPS_FORMAT_UCHAR)
                                   .bandjoin({ vips::VImage::gaussnoise(1600, 1200).cast(VIPS_FORMAT_UCHAR),
                                       vips::VImage::gaussnoise(1600, 1200).cast(VIPS_FORMAT_UCHAR) })
                                   .copy_memory();
    for (int i = 0; i < count; ++i) {
        const QString path = QStringLiteral("%1/noise%2.jpg").arg(folder).arg(i);
        noise.jpegsave(path.toUtf8().constData());
        paths << path;
    }
    return paths;
}

/// Adds `count` noise photos, chooses PNG into a folder and starts the run by Return on Convert:
/// the keyboard goes on at Stop, ringed, while the run goes on. Answers Stop, or nullptr (with a
/// failure recorded).
QWidget* startRunFromTheKeyboard(MainScreenView* screen, const QTemporaryDir& dir, int count)
{
    const QStringList paths = writeNoisePhotos(dir.path(), count);
    const bool started = convertByKeyboard(screen, paths, dir.filePath("out"), [](SettingView* settings) {
        settings->btnConvertFormatTapped();
        settings->formatSelectionChangedWithIndex(2); // PNG
    });
    if (!started)
        return nullptr;
    ProcessingEngine& engine = screen->engine();
    if (!QTest::qWaitFor([&] { return engine.isRunActive(); }, 5000)) {
        ADD_FAILURE() << "Return on Convert started no run";
        return nullptr;
    }
    QWidget* stop = byName(screen->vwProcessing(), "Stop");
    QWidget* focus = QApplication::focusWidget();
    if (!stop || focus != stop) {
        ADD_FAILURE() << "the run started with the keyboard on \""
                      << (focus ? focus->accessibleName().toStdString() : std::string("nothing")) << "\", not on Stop";
        return nullptr;
    }
    EXPECT_EQ(FocusRing::ringedWidget(), stop);
    EXPECT_TRUE(engine.isRunActive()) << "the run ended before Stop was looked at";
    return stop;
}

/// Once the run is over, the keyboard goes on at Finish, ringed as Stop was: Return there leaves
/// the summary for the Photos step, as a click on Finish does.
void expectReturnGoesOnAtFinish(MainScreenView* screen)
{
    ProcessingEngine& engine = screen->engine();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !engine.isRunActive() && engine.activeWorkers() == 0; }, 60000));
    QWidget* finish = screen->bottomButton("btnFinishOnProccesiingvw");
    ASSERT_TRUE(QTest::qWaitFor([&] { return finish->isVisible(); }, 5000));
    EXPECT_EQ(QApplication::focusWidget(), finish);
    EXPECT_EQ(FocusRing::ringedWidget(), finish);
    pressKey(Qt::Key_Return);
    EXPECT_TRUE(screen->stepView(1)->isVisible()) << "Return after the run did not go back to the Photos step";
    EXPECT_FALSE(screen->stepView(4)->isVisible());
}

TEST_F(SheetKeyboardTest, AKeyboardRunGoesOnAtStopAndReturnThereStopsIt)
{
    QTemporaryDir dir;
    constexpr int kPhotos = 40;
    QWidget* stop = startRunFromTheKeyboard(screen, dir, kPhotos);
    ASSERT_NE(stop, nullptr);
    pressKey(Qt::Key_Return); // stops the run as a click does
    expectReturnGoesOnAtFinish(screen);
    EXPECT_LT(screen->engine().counterTotalProgressedFiles(), kPhotos) << "Return on Stop did not stop the run";
}

TEST_F(SheetKeyboardTest, AKeyboardRunThatEndsByItselfLeavesTheKeyboardOnFinish)
{
    QTemporaryDir dir;
    constexpr int kPhotos = 6;
    ASSERT_NE(startRunFromTheKeyboard(screen, dir, kPhotos), nullptr);
    expectReturnGoesOnAtFinish(screen);
    EXPECT_EQ(screen->engine().counterTotalProgressedFiles(), kPhotos);
}

} // namespace
} // namespace vantrel::test
