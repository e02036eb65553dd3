#pragma once

// Recording stand-ins for the screens the wizard drives: the main screen's widgets, the add-photos
// screen, the four panes and the processing view. Each records the calls it gets as short strings,
// in order, so a test compares one list.

#include <memory>

#include <QStringList>

#include <gtest/gtest.h>

#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/DataBeans/PhotoFile.h"
#include "core/Wizard/AlertCatalogue.h"
#include "core/Wizard/WizardDriver.h"
#include "core/Wizard/WizardPorts.h"
#include "platform/NotificationCenter.h"

namespace vantrel::test {

class FakeWizardScreen : public WizardScreen {
public:
    void showStepView(int step) override
    {
        shownStep = step;
        if (step)
            calls.append(QStringLiteral("step%1").arg(step));
    }
    void setBottomButtons(const WizardBottomButtons& value) override { buttons = value; }
    void setBottomButtonsEnabled(bool enabled) override { buttonsEnabled = enabled; }
    void setNextOnPhotosEnabled(bool enabled) override { nextOnPhotosEnabled = enabled; }
    void setFinishVisible(bool visible) override { buttons.finishOnProcessing = visible; }
    void setFooter(const QString& text, bool visible) override
    {
        footerText = text;
        buttons.footer = visible;
    }
    void showAlertSheet(const AlertContent& value) override
    {
        alert = value;
        alertShown = true;
        calls.append(QStringLiteral("alert%1").arg(value.tag));
    }
    void hideAlertSheet() override
    {
        alertShown = false;
        calls.append(QStringLiteral("hideAlert"));
    }
    void showOverwriteSheet() override
    {
        overwriteShown = true;
        calls.append(QStringLiteral("overwrite"));
    }
    void hideOverwriteSheet() override
    {
        overwriteShown = false;
        calls.append(QStringLiteral("hideOverwrite"));
    }
    void showLoading(const QString& text) override { loading = text; }
    void hideLoading() override { loading.clear(); }
    void relayout() override { }

    QStringList calls;
    int shownStep = 0;
    WizardBottomButtons buttons;
    bool buttonsEnabled = true;
    bool nextOnPhotosEnabled = true;
    QString footerText;
    AlertContent alert;
    bool alertShown = false;
    bool overwriteShown = false;
    QString loading;
};

class FakeAddPhotos : public WizardAddPhotos {
public:
    QList<PhotoFilePtr> getSelectedPhotoFiles() override
    {
        QList<PhotoFilePtr> selected;
        for (const PhotoFilePtr& photo : AppDelegate::shareDelegate()->arraySelectedImagesToProcess)
            if (photo->isSelected())
                selected.append(photo);
        return selected;
    }
    bool isRawImageExist() override { return rawImageExist; }
    void enableDragDrop(bool enable) override { calls.append(enable ? "dragOn" : "dragOff"); }
    void closeBackgroundOperations() override { ++closedBackground; }
    void btnYesOnRemoveSelectedPhotoTapped() override { calls.append("removeSelected"); }
    void btnYesOnRemoveAllPhotoTapped() override { calls.append("removeAll"); }
    void btnRemoveFromBatchOnAlertTapped() override { calls.append("removeMissing"); }
    int totalPhotoToAdd() override { return total; }
    int damagedFileCount() override { return damaged; }
    int alreadyExistsPhotosCount() override { return existing; }

    QStringList calls;
    bool rawImageExist = false;
    int closedBackground = 0;
    int total = 0;
    int damaged = 0;
    int existing = 0;
};

class FakePanes : public WizardPanes {
public:
    void setDefaultCustomSize() override { calls.append("defaultSize"); }
    SizeObject getReSizeSettingObject() override { return size; }
    void setReSizeSettingObject(const SizeObject& value) override
    {
        size = value;
        calls.append("setSize");
    }
    bool isPredefinedSizeNotSlectedAnyValue() override { return presetMissing; }
    QList<SizeObject> predefinedSizes() override { return presets; }
    qint32 getRotateSettingObject() override { return rotation; }
    void setRotationType(qint32 value) override { rotation = value; }
    QList<bool> getFlipSettongObject() override { return { flipH, flipV }; }
    void setFlipSettongObject(int option) override
    {
        flipOption = option;
        flipH = option == 1;
        flipV = option == 2;
    }
    OutputOptionSettings getOutputSettingObject() override { return output; }
    void setOutputSettingObject(const OutputOptionSettings& value) override
    {
        output = value;
        calls.append("setOutput");
    }

    QStringList calls;
    SizeObject size;
    bool presetMissing = false;
    QList<SizeObject> presets;
    qint32 rotation = 0;
    bool flipH = false;
    bool flipV = false;
    int flipOption = -1;
    OutputOptionSettings output;
};

class FakeProcessing : public WizardProcessing {
public:
    void startProcess(const OutputOptionSettings& out, const ResizingOptionsSettingObject& resize) override
    {
        calls.append("start:" + AppDelegate::shareDelegate()->rawConvertFormat());
        lastOutput = out;
        lastResize = resize;
    }
    void btnOkOnEnoughtSpcaecTapped() override { calls.append("lowSpaceOk"); }
    void holdProcessing() override { calls.append("hold"); }
    void restartProcessing() override { calls.append("restart"); }
    void stopProcessing() override { calls.append("stop"); }
    QVariantMap getLogDetails() override { return { { "timeStamp", "stamp" } }; }
    void subWindowDidClose() override { ++subWindowClosed; }

    QStringList calls;
    OutputOptionSettings lastOutput;
    ResizingOptionsSettingObject lastResize;
    int subWindowClosed = 0;
};

/// A photo of the shared batch (no file behind it).
inline PhotoFilePtr addBatchPhoto(const QString& name, bool checked = true, bool library = false)
{
    auto photo = std::make_shared<PhotoFile>();
    photo->setFilePath("/photos/" + name);
    photo->setFileName(name);
    photo->setFileExtension(name.section('.', -1));
    photo->setIsSelected(checked);
    photo->setIsIphotosNode(library);
    AppDelegate::shareDelegate()->arraySelectedImagesToProcess.append(photo);
    return photo;
}

/// A wizard over the recording stand-ins and an empty batch, its observers registered; the tab
/// changes it asks for are recorded in `tabs`.
class WizardFixture : public ::testing::Test {
public:
    void SetUp() override { reset(); }
    /// A new wizard over new stand-ins and an empty batch.
    void reset()
    {
        driver.reset();
        AppDelegate::resetShared();
        screen = std::make_unique<FakeWizardScreen>();
        addPhotos = std::make_unique<FakeAddPhotos>();
        panes = std::make_unique<FakePanes>();
        processing = std::make_unique<FakeProcessing>();
        driver = std::make_unique<WizardDriver>(*screen, *addPhotos, *panes, *processing);
        driver->registerObservers();
        tabs.clear();
        NotificationCenter::defaultCenter().addObserver(driver.get(), kNotificationChangeTabUI,
            [this](const Notification& n) { tabs.append(n.userInfo.value(kUserInfoTabIndex).toInt()); });
    }

    std::unique_ptr<FakeWizardScreen> screen;
    std::unique_ptr<FakeAddPhotos> addPhotos;
    std::unique_ptr<FakePanes> panes;
    std::unique_ptr<FakeProcessing> processing;
    std::unique_ptr<WizardDriver> driver;
    QList<int> tabs;
};

} // namespace vantrel::test
