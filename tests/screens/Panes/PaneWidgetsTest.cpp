// The panes as widgets, offscreen: enable states follow the model, user edits reach it through
// the fields' edit signal, and the popups choose and close.
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "components/ColoredCusrsorTextField.h"
#include "components/HighlightedButton.h"
#include "components/LinkButton.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/DataBeans/PhotoFile.h"
#include "platform/NotificationCenter.h"
#include "screens/Panes/FlipView.h"
#include "screens/Panes/OptionTile.h"
#include "screens/Panes/OptionsPopup.h"
#include "screens/Panes/ResizeView.h"
#include "screens/Panes/RotateView.h"
#include "screens/Panes/SettingView.h"
#include "support/NamedWidget.h"

namespace vantrel {
namespace {

using test::named;

using Field = ResizeModel::Field;

TEST(PaneWidgetsTest, ResizeViewWiresEditsModesAndPresets)
{
    auto photo = std::make_shared<PhotoFile>();
    photo->setWidth(4000);
    photo->setHeight(3000);
    photo->setIsSelected(true);
    AppDelegate::resetShared()->arraySelectedImagesToProcess = { photo };

    QWidget window;
    auto* view = new ResizeView(&window);
    window.resize(900, 400);
    window.show();
    view->initSetup();
    QLineEdit* width = view->field(Field::CustomWidth);
    QLineEdit* height = view->field(Field::CustomHeight);
    EXPECT_EQ(width->text(), "4000");
    EXPECT_FALSE(width->isEnabled());
    EXPECT_FALSE(named<QAbstractButton>(view, "Reset size")->isEnabled());

    named<QRadioButton>(view, "Custom size")->click();
    EXPECT_TRUE(width->isEnabled());
    EXPECT_FALSE(view->field(Field::PercentWidth)->isEnabled());
    EXPECT_TRUE(named<QCheckBox>(view, "Keep aspect ratio")->isChecked());
    width->selectAll();
    QTest::keyClicks(width, "1000"); // a user edit, one keystroke at a time
    EXPECT_EQ(height->text(), "750");
    QTest::keyClicks(width, "0"); // 10000 x 7500: still within the limit
    EXPECT_EQ(height->text(), "7500");
    QTest::keyClicks(width, "0"); // 100000: the last digit goes, the height returns
    EXPECT_EQ(width->text(), "10000");
    EXPECT_EQ(height->text(), "7500");
    named<QAbstractButton>(view, "Custom height down")->click();
    EXPECT_EQ(height->text(), "7499");
    EXPECT_EQ(width->text(), "9999");
    height->setText("123"); // a programmatic change is no user edit
    EXPECT_EQ(width->text(), "9999");

    named<QCheckBox>(view, "Keep original size")->click();
    EXPECT_FALSE(width->isEnabled());
    EXPECT_FALSE(named<QCheckBox>(view, "Keep aspect ratio")->isEnabled());
    EXPECT_TRUE(view->getReSizeSettingObject().isKeepOriginalSize);

    // Presets: the popup lists them, a row chooses one and closes it.
    SizeObject hd;
    hd.name = "HD";
    hd.isCustomSize = true;
    hd.customWidth = 1280;
    hd.customHeight = 720;
    const_cast<ResizeModel&>(view->model()).setPresets({ hd });
    named<QRadioButton>(view, "Predefined size")->click();
    EXPECT_TRUE(view->isPredefinedSizeNotSlectedAnyValue());
    int madeKey = 0;
    QObject observer;
    NotificationCenter::defaultCenter().addObserver(
        &observer, kNotificationsMakeKeyWindw, [&](const Notification&) { ++madeKey; });
    view->btnSelectPredefinedTapped();
    ASSERT_TRUE(view->popup()->isOpen());
    EXPECT_TRUE(AppDelegate::shareDelegate()->isSubWindowOpened);
    QListWidget* list = view->popup()->list();
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->height(), 34);
    EXPECT_EQ(list->item(0)->text(), "HD - 1280 X 720");
    emit list->itemClicked(list->item(0));
    EXPECT_FALSE(view->popup()->isOpen());
    EXPECT_FALSE(AppDelegate::shareDelegate()->isSubWindowOpened);
    EXPECT_EQ(madeKey, 1);
    EXPECT_EQ(named<QLineEdit>(view, "Chosen preset")->text(), "HD - 1280 X 720");
    EXPECT_EQ(view->getReSizeSettingObject().name, "HD");

    // Opening it again while open replaces it and keeps the sub-window flag; a press outside
    // closes it.
    view->btnSelectPredefinedTapped();
    view->btnSelectPredefinedTapped();
    ASSERT_TRUE(view->popup()->isOpen());
    EXPECT_TRUE(AppDelegate::shareDelegate()->isSubWindowOpened);
    QTest::mouseClick(width, Qt::LeftButton);
    EXPECT_FALSE(view->popup()->isOpen());
    EXPECT_FALSE(AppDelegate::shareDelegate()->isSubWindowOpened);
    EXPECT_EQ(madeKey, 3);

    // The end of a run adds the used custom size.
    named<QRadioButton>(view, "Custom size")->click();
    view->getReSizeSettingObject();
    NotificationCenter::defaultCenter().post(kNotificationsSaveasPredefinedSize);
    EXPECT_EQ(view->predefinedSizes().size(), 2);
}

TEST(PaneWidgetsTest, SettingViewWiresFormatsNamingAndFolder)
{
    QWidget window;
    auto* view = new SettingView(&window);
    window.resize(700, 500);
    window.show();
    view->initSetup();
    QLineEdit* quality = named<QLineEdit>(view, "Quality");
    EXPECT_FALSE(quality->isEnabled());
    EXPECT_FALSE(named<QAbstractButton>(view, "Choose format")->isEnabled());

    named<QRadioButton>(view, "Convert to")->click();
    EXPECT_TRUE(named<QAbstractButton>(view, "Choose format")->isEnabled());
    view->btnSelectFormatTapped();
    QListWidget* list = view->popup()->list();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 8);
    EXPECT_EQ(list->height(), 224);
    emit list->itemClicked(list->item(3));
    EXPECT_EQ(named<QLabel>(view, "Chosen format")->text(), "*.JPG");
    EXPECT_TRUE(quality->isVisibleTo(view));
    quality->selectAll();
    const QString before = quality->text();
    QTest::keyClicks(quality, "0"); // refused by the formatter (no 0 quality): the text stays
    EXPECT_EQ(quality->text(), before);
    QTest::keyClicks(quality, "55");
    EXPECT_EQ(quality->text(), "55");
    EXPECT_EQ(view->getOutputSettingObject().compressionRatio, 55);
    named<QRadioButton>(view, "Keep original format")->click();
    EXPECT_EQ(quality->text(), "75");
    EXPECT_FALSE(quality->isVisibleTo(view));

    view->btnSelectFilenameTapped();
    emit view->popup()->list()->itemClicked(view->popup()->list()->item(2));
    QLineEdit* suffix = named<QLineEdit>(view, "Prefix or suffix");
    EXPECT_TRUE(suffix->isVisibleTo(view));
    EXPECT_EQ(suffix->placeholderText(), "Enter Prefix");
    QTest::keyClicks(suffix, "a/b:c");
    EXPECT_EQ(suffix->text(), "abc");
    EXPECT_EQ(view->getOutputSettingObject().prefixString, "abc");
    named<QAbstractButton>(view, "Reset naming")->click();
    EXPECT_FALSE(suffix->isVisibleTo(view));
    EXPECT_EQ(view->getOutputSettingObject().prefixString, "");

    QAbstractButton* resetFolder = named<QAbstractButton>(view, "Reset folder");
    EXPECT_FALSE(resetFolder->isEnabled());
    named<QCheckBox>(view, "Ask before overwriting files")->click();
    EXPECT_TRUE(resetFolder->isEnabled());
    resetFolder->click();
    EXPECT_FALSE(resetFolder->isEnabled());
    view->btnSelectFolderTapped();
    EXPECT_TRUE(AppDelegate::shareDelegate()->isSubWindowOpened);
    ASSERT_NE(view->folderPanel(), nullptr);
    view->folderPanelEnded(qEnvironmentVariable("XDG_DATA_HOME") + "/Trash/files"); // refused
    EXPECT_FALSE(AppDelegate::shareDelegate()->isSubWindowOpened);
    EXPECT_FALSE(resetFolder->isEnabled());
    view->folderPanelEnded("/srv/Photos Out");
    EXPECT_EQ(named<QLabel>(view, "Output folder")->text(), "/srv/Photos Out");
    EXPECT_TRUE(resetFolder->isEnabled());
    view->folderPanel()->reject();
}

TEST(PaneWidgetsTest, RotateAndFlipTilesFollowTheChoice)
{
    RotateView rotate;
    rotate.initSetup();
    EXPECT_FALSE(rotate.resetButton()->isEnabled());
    rotate.tile(3)->picture()->click();
    EXPECT_EQ(rotate.getRotateSettingObject(), 3);
    for (int v = 0; v < 5; ++v) {
        EXPECT_EQ(rotate.tile(v)->isChosen(), v == 3);
        EXPECT_EQ(rotate.tile(v)->picture()->property("imageName").toString(), RotateModel::imageName(v, v == 3));
    }
    EXPECT_TRUE(rotate.resetButton()->isEnabled());
    rotate.resetButton()->click();
    EXPECT_EQ(rotate.getRotateSettingObject(), 0);
    EXPECT_FALSE(rotate.resetButton()->isEnabled());
    QTest::keyClicks(rotate.angleField(), "400");
    EXPECT_EQ(rotate.angleField()->text(), "40");

    FlipView flip;
    flip.initSetup();
    flip.tile(1)->control()->click();
    flip.tile(2)->control()->click();
    EXPECT_EQ(flip.getFlipSettongObject(), (QList<bool> { false, true }));
    EXPECT_FALSE(flip.tile(1)->isChosen());
    EXPECT_TRUE(flip.resetButton()->isEnabled());
    flip.tile(2)->control()->click(); // a chosen check box clicked again stays the choice
    EXPECT_TRUE(flip.tile(2)->isChosen());
    flip.setFlipSettongObject(7);
    EXPECT_TRUE(flip.tile(0)->isChosen());
    EXPECT_FALSE(flip.resetButton()->isEnabled());
}

TEST(PaneWidgetsTest, PanesUseTheNamedComponents)
{
    AppDelegate::resetShared();
    QWidget window;
    auto* resize = new ResizeView(&window);
    auto* rotate = new RotateView(&window);
    auto* flip = new FlipView(&window);
    auto* setting = new SettingView(&window);
    auto* column = new QVBoxLayout(&window);
    for (QWidget* pane : std::initializer_list<QWidget*> { resize, rotate, flip, setting })
        column->addWidget(pane);
    window.resize(900, 1200);
    window.show();
    resize->initSetup();
    rotate->initSetup();
    flip->initSetup();

    for (const char* name : { "Custom width", "Custom height", "Percent width", "Percent height" })
        EXPECT_TRUE(qobject_cast<ColoredCusrsorTextField*>(named<QLineEdit>(resize, name))) << name;
    for (const char* name :
        { "Reset size", "Reset rotation", "Reset flip", "Reset format", "Reset naming", "Reset folder" })
        EXPECT_TRUE(qobject_cast<LinkButton*>(named<QAbstractButton>(&window, name))) << name;

    // The reset link reads disabled until there is something to reset, and resets on a click.
    QAbstractButton* reset = named<QAbstractButton>(rotate, "Reset rotation");
    const QImage disabled = reset->grab().toImage();
    rotate->tile(2)->picture()->click();
    ASSERT_TRUE(reset->isEnabled());
    EXPECT_NE(reset->grab().toImage(), disabled);
    QTest::mouseClick(reset, Qt::LeftButton, {}, reset->rect().center());
    EXPECT_EQ(rotate->getRotateSettingObject(), 0);

    // Apply is a highlighted button that sends the typed angle.
    struct Angles : RotateViewDelegate {
        QList<float> sent;
        void btnApplyRotationTapped(float angle) override { sent.append(angle); }
    } angles;
    rotate->setDelegate(&angles);
    auto* apply = qobject_cast<HighlightedButton*>(named<QAbstractButton>(rotate, "Apply angle"));
    ASSERT_TRUE(apply);
    QTest::keyClicks(rotate->angleField(), "45");
    QTest::mouseClick(apply, Qt::LeftButton, {}, apply->rect().center());
    EXPECT_EQ(angles.sent, QList<float>({ 45.0f }));
}

} // namespace
} // namespace vantrel
