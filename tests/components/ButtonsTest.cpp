#include "components/HighlightedButton.h"
#include "components/IMGButton.h"
#include "components/LinkButton.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "components/DisableSubviews.h"
#include "core/AppDelegate.h"
#include "core/ResourceImages.h"

using namespace vantrel;

namespace {

void mouse(QWidget* w, QEvent::Type type, QPointF pos)
{
    QMouseEvent event(type, pos, w->mapToGlobal(pos), Qt::LeftButton,
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

void enter(QWidget* w)
{
    QEnterEvent event(QPointF(1, 1), QPointF(1, 1), w->mapToGlobal(QPointF(1, 1)));
    QCoreApplication::sendEvent(w, &event);
}

void leave(QWidget* w)
{
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(w, &event);
}

QColor pixelAt(QWidget& w, int x, int y)
{
    return w.grab().toImage().pixelColor(x, y);
}

} // namespace

TEST(IMGButton, PressAndReleaseFireAsTheFrameSays)
{
    ResourceImages::initResources();
    struct Case {
        QPointF release;
        bool enableImmediately;
        bool fires;
        bool enabledAfter;
    };
    const Case cases[] = {
        { { 20, 10 }, true, true, true },
        { { 40, 20 }, true, true, true }, // exactly on the far corner: edges count
        { { 0, 0 }, true, true, true },
        { { 40.5, 10 }, true, false, true }, // outside: no action, still enabled
        { { 20, -1 }, true, false, true },
        { { 20, 10 }, false, true, false }, // really disabled until the screen enables it
        { { 50, 10 }, false, false, true },
    };
    for (const auto& c : cases) {
        IMGButton button;
        button.resize(40, 20);
        button.setButtonsImages("", "", "close-normal", "", "", "close-press", "", "", "close-hover");
        button.setEnableImmediately(c.enableImmediately);
        QSignalSpy clicked(&button, &QAbstractButton::clicked);
        mouse(&button, QEvent::MouseButtonPress, { 10, 10 });
        EXPECT_TRUE(button.isMouseDown());
        EXPECT_TRUE(button.isEnabled()); // our own flag, so the release still arrives
        EXPECT_EQ(button.currentImages().en, "close-hover"); // a press draws the disabled look
        mouse(&button, QEvent::MouseButtonRelease, c.release);
        EXPECT_FALSE(button.isMouseDown());
        EXPECT_EQ(clicked.count(), c.fires ? 1 : 0) << c.release.x() << "," << c.release.y();
        if (c.fires)
            EXPECT_EQ(clicked.at(0).at(0).toBool(), false); // the state as it was
        EXPECT_EQ(button.state(), c.fires ? 1 : 0);
        EXPECT_EQ(button.isEnabled(), c.enabledAfter);
        EXPECT_EQ(button.accessibleName(), "Close");
    }
}

TEST(IMGButton, StateToggleLooksAndHover)
{
    ResourceImages::initResources();
    IMGButton button;
    button.resize(14, 14);
    button.setButtonImages("", "", "max-press", "", "", "", "", "", "min-normal", //
        "", "", "close-normal", "", "", "", "", "", "min-press");
    button.setImgMouseHover("close-hover");
    EXPECT_EQ(button.currentImages().en, "close-normal");
    EXPECT_EQ(button.colorText(), QColor(Qt::white));

    // A release without a press of its own does nothing.
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    mouse(&button, QEvent::MouseButtonRelease, { 5, 5 });
    EXPECT_EQ(clicked.count(), 0);

    for (int round = 0; round < 2; ++round) {
        mouse(&button, QEvent::MouseButtonPress, { 5, 5 });
        mouse(&button, QEvent::MouseButtonRelease, { 5, 5 });
    }
    EXPECT_EQ(clicked.count(), 2);
    EXPECT_EQ(button.state(), 0);
    button.setState(1);
    EXPECT_EQ(button.currentImages().en, "max-press");
    button.setEnabled(false);
    EXPECT_EQ(button.currentImages().en, "min-normal");
    EXPECT_EQ(button.colorText(), QColor(96, 96, 96));
    mouse(&button, QEvent::MouseButtonPress, { 5, 5 }); // disabled: no press
    EXPECT_FALSE(button.isMouseDown());

    button.setEnabled(true);
    button.setState(0);
    enter(&button);
    EXPECT_TRUE(button.isMouseHover());
    // The hover end cap is drawn over the off look: the close-hover artwork differs from
    // close-normal somewhere, so the two renderings differ.
    const QImage hovered = button.grab().toImage();
    leave(&button);
    EXPECT_FALSE(button.isMouseHover());
    EXPECT_NE(hovered, button.grab().toImage());
}

TEST(IMGButton, TitleFitsAndKeepsItsFitWhenItWouldFitAnySize)
{
    IMGButton button;
    button.setText("Add Photos");
    button.resize(60, 40);
    button.grab();
    ASSERT_TRUE(button.drawnTitle().has_value());
    const auto narrow = *button.drawnTitle();
    // Two lines give the larger title here.
    EXPECT_EQ(narrow.text, "Add\nPhotos");

    // Huge: even size 50 fits, so the fit stored for this title stays.
    button.resize(2000, 600);
    button.grab();
    EXPECT_EQ(button.drawnTitle()->font.pixelSize(), narrow.font.pixelSize());

    // A title never fitted before draws at size 50.
    IMGButton big;
    big.setText("OK");
    big.resize(2000, 600);
    big.grab();
    EXPECT_EQ(big.drawnTitle()->font.pixelSize(), 50);
    EXPECT_EQ(big.accessibleName(), "");
}

TEST(HighlightedButton, LooksFollowPointerStateAndSubWindows)
{
    AppDelegate* app = AppDelegate::resetShared();
    HighlightedButton button("Next");
    button.resize(80, 30);
    button.setTag(106);
    button.awakeFromNib();
    EXPECT_EQ(pixelAt(button, 3, 15), QColor(205, 205, 205));
    enter(&button);
    EXPECT_EQ(pixelAt(button, 3, 15), QColor(180, 180, 180));
    leave(&button);
    EXPECT_EQ(button.currentLook().background, QColor(205, 205, 205));

    // A sub-window is open: the look stays under the pointer, except for tag 104.
    app->isSubWindowOpened = true;
    enter(&button);
    EXPECT_EQ(button.currentLook().background, QColor(205, 205, 205));
    HighlightedButton tab("Step");
    tab.setTag(104);
    tab.awakeFromNib();
    enter(&tab);
    EXPECT_EQ(tab.currentLook().background, QColor(20, 20, 20));
    EXPECT_EQ(tab.currentLook().borderWidth, 2);
    app->isSubWindowOpened = false;

    // setState(0) shows the disabled look and disables the control.
    HighlightedButton step("Resize");
    step.resize(80, 30);
    step.setTag(111);
    step.awakeFromNib();
    EXPECT_EQ(pixelAt(step, 40, 3), QColor(155, 165, 191));
    step.setState(0);
    EXPECT_FALSE(step.isEnabled());
    EXPECT_FALSE(step.isButtonEnabled());
    EXPECT_EQ(pixelAt(step, 40, 3), QColor(75, 84, 121));
    EXPECT_EQ(step.currentLook().font, HighlightedButtonLook::Font::Bold);
    enter(&step); // no highlight while the own flag is off
    EXPECT_EQ(step.currentLook().background, QColor(75, 84, 121));
    step.setState(1);
    EXPECT_TRUE(step.isEnabled());
    EXPECT_EQ(step.currentLook().background, QColor(155, 165, 191));

    // The tag alone gives the default look.
    HighlightedButton submit;
    submit.setTag(110);
    EXPECT_EQ(submit.currentLook().background, QColor(56, 125, 224));

    // A plain QWidget::setEnabled from outside is followed too.
    static_cast<QWidget&>(step).setEnabled(false);
    EXPECT_FALSE(step.isButtonEnabled());
    EXPECT_EQ(step.currentLook().background, QColor(75, 84, 121));
}

TEST(HighlightedButton, Tags108And110KeepTakingClicks)
{
    AppDelegate::resetShared();
    for (const int tag : { 108, 110, 109 }) {
        HighlightedButton button("Convert");
        button.resize(80, 30);
        button.setTag(tag);
        button.awakeFromNib();
        button.setEnabled(false);
        EXPECT_FALSE(button.isButtonEnabled());
        EXPECT_EQ(button.isEnabled(), tag != 109) << tag;
        QSignalSpy clicked(&button, &QAbstractButton::clicked);
        mouse(&button, QEvent::MouseButtonPress, { 10, 10 });
        mouse(&button, QEvent::MouseButtonRelease, { 10, 10 });
        EXPECT_EQ(clicked.count(), tag != 109 ? 1 : 0) << tag;
        // A click on the disabled look keeps it.
        const QColor kept = tag == 108 ? QColor(36, 41, 50) : tag == 110 ? QColor(16, 85, 184) : QColor(73, 202, 237);
        EXPECT_EQ(button.currentLook().background, kept) << tag;
    }
}

TEST(HighlightedButton, Tags108And110KeepTakingClicksHoweverTheyAreDisabled)
{
    AppDelegate::resetShared();
    const auto throughQWidget = [](QWidget* root, QWidget* button, bool enable) {
        Q_UNUSED(root);
        button->setEnabled(enable);
    };
    const auto throughSubviews
        = [](QWidget* root, QWidget*, bool enable) { DisableSubviews::disableSubviews(root, !enable); };
    struct Case {
        int tag;
        bool viaSubviews;
        bool takesClicks;
        QColor disabledBackground;
    };
    const Case cases[] = {
        { 108, false, true, QColor(36, 41, 50) },
        { 110, false, true, QColor(16, 85, 184) },
        { 109, false, false, QColor(73, 202, 237) },
        { 108, true, true, QColor(36, 41, 50) },
        { 110, true, true, QColor(16, 85, 184) },
        { 109, true, false, QColor(73, 202, 237) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tag << (c.viaSubviews ? " subviews" : " QWidget"));
        QWidget root;
        root.resize(100, 40);
        auto* button = new HighlightedButton("Convert", &root);
        button->setGeometry(0, 0, 80, 30);
        button->setTag(c.tag);
        button->awakeFromNib();
        root.show();
        const QColor enabledBackground = *button->currentLook().background;
        const auto change = c.viaSubviews ? +throughSubviews : +throughQWidget;

        change(&root, button, false);
        EXPECT_FALSE(button->isButtonEnabled());
        EXPECT_EQ(button->currentLook().background, c.disabledBackground);
        QSignalSpy clicked(button, &QAbstractButton::clicked);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(40, 15));
        EXPECT_EQ(clicked.count(), c.takesClicks ? 1 : 0);

        if (c.viaSubviews || !c.takesClicks) {
            change(&root, button, true);
            EXPECT_TRUE(button->isButtonEnabled());
            EXPECT_EQ(button->currentLook().background, enabledBackground);
        }
    }
}

TEST(LinkButton, WhiteUnderlinedUntilRetitled)
{
    LinkButton link("Open output folder");
    EXPECT_EQ(link.titleColor(), QColor(Qt::white));
    EXPECT_TRUE(link.titleFont().underline());
    link.setTitle("Reset");
    EXPECT_EQ(link.titleColor(), QColor(Qt::blue));
    link.setTitle("Send", 15, true, QColor(66, 180, 211));
    EXPECT_EQ(link.titleColor(), QColor(66, 180, 211));
    EXPECT_TRUE(link.titleFont().bold());
    EXPECT_EQ(link.titleFont().pixelSize(), 15);
    link.setTitleColor(std::nullopt);
    EXPECT_FALSE(link.titleColor().has_value());
    EXPECT_EQ(link.cursor().shape(), Qt::PointingHandCursor);
}

TEST(IMGButton, OlderFittingAgainstAPlainSize)
{
    IMGButton button;
    button.setText("Add more photos");
    button.setIsMultiLine(true);
    const auto fitted = button.getAttributesForRect(QSizeF(80, 60));
    EXPECT_EQ(button.text(), "Add\nmore photos"); // first part, then the rest
    ASSERT_TRUE(fitted.font.has_value());
    EXPECT_EQ(fitted.alignment, Qt::AlignHCenter);
    EXPECT_EQ(fitted.color, button.colorText());
    const QSizeF measured = IMGButtonTitleFitter::measure(button.text(), *fitted.font);
    EXPECT_LE(measured.width(), 80);
    EXPECT_DOUBLE_EQ(button.rectText().height(), measured.height());
    EXPECT_DOUBLE_EQ(button.rectText().y(), (60 - measured.height()) / 2);

    IMGButton small;
    small.setText("x");
    const auto roomy = small.getAttributesForRect(QSizeF(2000, 500));
    EXPECT_FALSE(roomy.font.has_value());
    EXPECT_EQ(roomy.color, QColor(Qt::black));
}
