#include "app/Online/FeedbackWindowController.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QThreadPool>
#include <QVBoxLayout>

#include "app/Online/FeedbackDocument.h"
#include "app/Online/OnlineServices.h"
#include "app/Online/Tracker.h"
#include "components/HighlightedButton.h"
#include "components/RvWindow/CustomWindowNag.h"
#include "components/Sheet.h"
#include "core/AppDelegate.h"
#include "core/Helper/SystemInfo.h"
#include "platform/Paths.h"

namespace vantrel {

namespace {

constexpr int kFormWidth = 560;
constexpr int kFormHeight = 580;

const char* const kTypeItems[] = {
    "*Please Select Feedback Type",
    "General Feedback",
    "I feel good whenever I use it",
    "I want to report a problem",
    "Unable to understand the problem",
};

const QString kFieldStyle
    = QStringLiteral("background: rgb(54, 63, 78); color: white; border: 1px solid rgb(68, 78, 94); border-radius: 4px;"
                     " padding: 4px; font-size: 13px; selection-background-color: rgb(66, 180, 211);");

QLabel* caption(QWidget* parent, const char* objectName, const QString& style)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(objectName));
    label->setStyleSheet(style);
    return label;
}

QLabel* errorLine(QWidget* parent, const char* objectName)
{
    QLabel* label = caption(parent, objectName, QStringLiteral("color: rgb(255, 96, 96); font-size: 11px;"));
    label->hide();
    return label;
}

} // namespace

FeedbackWindowController::FeedbackWindowController(OnlineServices* services, QObject* parent)
    : QObject(parent)
    , m_services(services)
    , m_logFilePath(Paths::logFilePath())
    , m_documentsFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
    , m_clock([] { return QDateTime::currentDateTime(); })
{
    buildWindow();
    // awakeFromNib
    openFeedbackWindow();
    convertUIAccordingToLocale();
}

FeedbackWindowController::~FeedbackWindowController()
{
    delete m_window;
}

void FeedbackWindowController::buildWindow()
{
    m_window = new CustomWindowNag(QRect(0, 0, kFormWidth, kFormHeight));
    m_window->setObjectName(QStringLiteral("FeedbackWindowController"));
    m_window->setAccessibleName(QStringLiteral("Feedback"));
    m_window->setFixedSize(kFormWidth, kFormHeight);
    auto* outer = new QVBoxLayout(m_window);
    outer->setContentsMargins(0, 0, 0, 0);
    m_box = new QFrame(m_window);
    m_box->setObjectName(QStringLiteral("feedbackBox"));
    m_box->setStyleSheet(QStringLiteral(
        "QFrame#feedbackBox { background: rgb(36, 41, 50); border: 1px solid rgb(68, 78, 94); border-radius: 8px; }"));
    outer->addWidget(m_box);

    const QString captionStyle = QStringLiteral("color: white; font-size: 13px;");
    m_lblFBHeading = caption(m_box, "lblFBHeading", QStringLiteral("color: white; font-size: 20px; font-weight: 600;"));
    m_lblFBSubHeading
        = caption(m_box, "lblFBSubHeading", QStringLiteral("color: rgb(195, 204, 233); font-size: 13px;"));
    m_lblFBType
        = caption(m_box, "lblFBType", QStringLiteral("color: rgb(66, 180, 211); font-size: 15px; font-weight: 600;"));
    m_lblEmailAddress = caption(m_box, "lblEmailAddress", captionStyle);
    m_lblFeedBackType = caption(m_box, "lblFeedBackType", captionStyle);
    m_lblShareExperience = caption(m_box, "lblShareExperience", captionStyle);

    m_txtFBEmailID = new QLineEdit(m_box);
    m_txtFBEmailID->setObjectName(QStringLiteral("txtFBEmailID"));
    m_txtFBEmailID->setStyleSheet(kFieldStyle);
    m_btnFBType = new QComboBox(m_box);
    m_btnFBType->setObjectName(QStringLiteral("btnFBType"));
    // Styled through the palette so the platform style still draws the pop-up arrow.
    QPalette typePalette = m_btnFBType->palette();
    typePalette.setColor(QPalette::Button, QColor(54, 63, 78));
    typePalette.setColor(QPalette::Base, QColor(54, 63, 78));
    typePalette.setColor(QPalette::ButtonText, Qt::white);
    typePalette.setColor(QPalette::Text, Qt::white);
    typePalette.setColor(QPalette::Highlight, QColor(66, 180, 211));
    m_btnFBType->setPalette(typePalette);
    m_btnFBType->setMinimumHeight(30);
    m_txtViewFBExp = new QPlainTextEdit(m_box);
    m_txtViewFBExp->setObjectName(QStringLiteral("txtViewFBExp"));
    m_txtViewFBExp->setStyleSheet(kFieldStyle);
    m_txtViewFBExp->setTabChangesFocus(true);
    m_btnFBSendLogs = new QCheckBox(m_box);
    m_btnFBSendLogs->setObjectName(QStringLiteral("btnFBSendLogs"));
    m_btnFBSendScanLog = new QCheckBox(m_box);
    m_btnFBSendScanLog->setObjectName(QStringLiteral("btnFBSendScanLog"));
    for (QCheckBox* box : { m_btnFBSendLogs, m_btnFBSendScanLog })
        box->setStyleSheet(QStringLiteral(
            "QCheckBox { color: white; font-size: 13px; spacing: 8px; }"
            "QCheckBox::indicator { width: 14px; height: 14px; border: 1px solid rgb(195, 204, 233);"
            " border-radius: 3px; background: rgb(54, 63, 78); }"
            "QCheckBox::indicator:checked { background: rgb(66, 180, 211); border-color: rgb(66, 180, 211); }"));
    m_lblFBInvalidEmail = errorLine(m_box, "lblFBInvalidEmail");
    m_lblFBInvalidType = errorLine(m_box, "lblFBInvalidType");
    m_lblFBInvalidExp = errorLine(m_box, "lblFBInvalidExp");
    m_lblFBWait = caption(m_box, "lblFBWait", QStringLiteral("color: rgb(195, 204, 233); font-size: 12px;"));
    m_progressFB = new QProgressBar(m_box);
    m_progressFB->setObjectName(QStringLiteral("progressFB"));
    m_progressFB->setAccessibleName(QStringLiteral("Sending"));
    m_progressFB->setRange(0, 0);
    m_progressFB->setTextVisible(false);
    m_progressFB->setFixedSize(80, 8);
    m_btnFBSubmit = new HighlightedButton(m_box);
    m_btnFBSubmit->setObjectName(QStringLiteral("btnFBSubmit"));
    m_btnFBSubmit->setTag(110);
    m_btnFBCancel = new HighlightedButton(m_box);
    m_btnFBCancel->setObjectName(QStringLiteral("btnFBCancel"));
    m_btnFBCancel->setTag(111);
    for (HighlightedButton* button : { m_btnFBSubmit, m_btnFBCancel })
        button->setFixedSize(110, 32);
    connect(m_btnFBSubmit, &QPushButton::clicked, this, &FeedbackWindowController::submitFeedback);
    connect(m_btnFBCancel, &QPushButton::clicked, this, &FeedbackWindowController::cancelFeedbackSheet);
    Sheet::setDefaultButton(m_btnFBSubmit);
    Sheet::setCancelButton(m_btnFBCancel);
    // popupBtnSelectFeedbackTypeTapped does nothing: the choice is read when submitting.

    auto* form = new QVBoxLayout(m_box);
    form->setContentsMargins(28, 22, 28, 22);
    form->setSpacing(4);
    form->addWidget(m_lblFBHeading);
    form->addWidget(m_lblFBSubHeading);
    form->addSpacing(12);
    form->addWidget(m_lblFBType);
    form->addSpacing(6);
    const auto addField = [form](QLabel* label, QWidget* field, QLabel* error) {
        form->addWidget(label);
        form->addWidget(field);
        form->addWidget(error);
        form->addSpacing(4);
    };
    addField(m_lblEmailAddress, m_txtFBEmailID, m_lblFBInvalidEmail);
    addField(m_lblFeedBackType, m_btnFBType, m_lblFBInvalidType);
    addField(m_lblShareExperience, m_txtViewFBExp, m_lblFBInvalidExp);
    form->setStretchFactor(m_txtViewFBExp, 1);
    form->addWidget(m_btnFBSendLogs);
    form->addWidget(m_btnFBSendScanLog);
    form->addSpacing(10);
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(10);
    bottom->addWidget(m_lblFBWait);
    bottom->addWidget(m_progressFB);
    bottom->addStretch(1);
    bottom->addWidget(m_btnFBCancel);
    bottom->addWidget(m_btnFBSubmit);
    form->addLayout(bottom);
    for (QLabel* error : { m_lblFBInvalidEmail, m_lblFBInvalidType, m_lblFBInvalidExp }) {
        // Keep the form from jumping when an error line appears.
        QSizePolicy policy = error->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        error->setSizePolicy(policy);
    }

    m_alert = new QFrame(m_window);
    m_alert->setObjectName(QStringLiteral("formAlert"));
    m_alert->setStyleSheet(QStringLiteral("QFrame#formAlert { background: rgba(0, 0, 0, 110); border-radius: 8px; }"));
    m_alert->setGeometry(0, 0, kFormWidth, kFormHeight);
    auto* alertBox = new QFrame(m_alert);
    alertBox->setObjectName(QStringLiteral("formAlertBox"));
    alertBox->setStyleSheet(QStringLiteral("QFrame#formAlertBox { background: rgb(54, 63, 78); border: 1px solid "
                                           "rgb(68, 78, 94); border-radius: 8px; }"));
    auto* alertLayout = new QVBoxLayout(alertBox);
    alertLayout->setContentsMargins(24, 20, 24, 16);
    m_alertText = new QLabel(alertBox);
    m_alertText->setObjectName(QStringLiteral("lblAlertMessage"));
    m_alertText->setStyleSheet(QStringLiteral("color: white; font-size: 15px; font-weight: 600;"));
    m_alertText->setAlignment(Qt::AlignCenter);
    m_alertText->setWordWrap(true);
    auto* ok = new HighlightedButton(QStringLiteral("OK"), alertBox);
    ok->setObjectName(QStringLiteral("btnAlertOK"));
    ok->setAccessibleName(QStringLiteral("OK"));
    ok->setTag(110);
    ok->awakeFromNib();
    ok->setFixedSize(90, 30);
    connect(ok, &QPushButton::clicked, this, &FeedbackWindowController::dismissAlert);
    // While the alert shows it has the keyboard: Return is OK, the form under it takes no key.
    m_alert->setProperty(Sheet::kInnerAlertProperty, true);
    Sheet::setDefaultButton(ok);
    alertLayout->addWidget(m_alertText);
    alertLayout->addSpacing(12);
    alertLayout->addWidget(ok, 0, Qt::AlignHCenter);
    alertBox->setFixedSize(340, 140);
    alertBox->move((kFormWidth - 340) / 2, (kFormHeight - 140) / 2);
    m_alert->hide();
}

void FeedbackWindowController::openFeedbackWindow()
{
    for (QWidget* hidden : std::initializer_list<QWidget*> {
             m_lblFBInvalidEmail, m_lblFBInvalidType, m_lblFBInvalidExp, m_lblFBWait, m_progressFB })
        hidden->hide();
    m_txtViewFBExp->clear();
}

void FeedbackWindowController::convertUIAccordingToLocale()
{
    const QString product = FeedbackDocument::bundleName();
    const auto set = [](QWidget* widget, const QString& text) {
        if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(text);
        widget->setAccessibleName(text);
    };
    set(m_lblFBHeading, QStringLiteral("Submit your feedback for ") + product);
    set(m_lblFBSubHeading, QStringLiteral("Your experience is highly appreciated."));
    set(m_lblFBType, QStringLiteral("Feedback"));
    set(m_lblEmailAddress, QStringLiteral("Email Address"));
    set(m_lblFeedBackType, QStringLiteral("Please Select Feedback Type"));
    set(m_lblShareExperience, QStringLiteral("Share your experience"));
    set(m_btnFBSendLogs, QStringLiteral("Include ") + product + QStringLiteral(" log in the feedback"));
    set(m_btnFBSendScanLog, QStringLiteral("Send usage information for product improvment"));
    set(m_lblFBWait, QStringLiteral("Your feedback is being sent, please wait."));
    set(m_lblFBInvalidEmail, QStringLiteral("*Invalid Email Address"));
    set(m_lblFBInvalidType, QStringLiteral("*Please Select Feedback Type"));
    set(m_lblFBInvalidExp, QStringLiteral("*Please share your experience"));
    set(m_btnFBSubmit, QStringLiteral("Submit"));
    set(m_btnFBCancel, QStringLiteral("Cancel"));
    m_txtFBEmailID->setAccessibleName(QStringLiteral("Email Address"));
    m_btnFBType->setAccessibleName(QStringLiteral("Feedback Type"));
    m_txtViewFBExp->setAccessibleName(QStringLiteral("Share your experience"));
    // A caption labels its field; where the field is named after the caption's text, the caption
    // names itself apart so that a screen reader does not hear one name twice.
    const std::pair<QLabel*, QWidget*> captions[] = { { m_lblEmailAddress, m_txtFBEmailID },
        { m_lblFeedBackType, m_btnFBType }, { m_lblShareExperience, m_txtViewFBExp } };
    for (const auto& [caption, field] : captions) {
        caption->setBuddy(field);
        if (caption->text() == field->accessibleName())
            caption->setAccessibleName(caption->text() + QStringLiteral(" label"));
    }
    // The window itself is named "Feedback".
    m_lblFBType->setAccessibleName(m_lblFBType->text() + QStringLiteral(" heading"));
    m_btnFBType->clear();
    for (const char* item : kTypeItems)
        m_btnFBType->addItem(QLatin1String(item));
    m_btnFBSubmit->awakeFromNib();
    m_btnFBCancel->awakeFromNib();
}

FeedbackWindowController* FeedbackWindowController::showFeedBackWindow(QWidget* mainWindow, OnlineServices* services)
{
    AppDelegate* delegate = AppDelegate::shareDelegate();
    if (!mainWindow || delegate->isSubWindowOpened)
        return nullptr;
    auto* controller = new FeedbackWindowController(services, mainWindow);
    delegate->isSubWindowOpened = true;
    QPointer<FeedbackWindowController> guard(controller);
    controller->m_sheet = Sheet::beginSheet(mainWindow, controller->m_window, [guard](int) {
        AppDelegate::shareDelegate()->isSubWindowOpened = false;
        if (guard)
            guard->deleteLater();
    });
    controller->m_txtFBEmailID->setFocus();
    return controller;
}

bool FeedbackWindowController::areThereEmptyFieldsForFeedback()
{
    const FeedbackValidation check = FeedbackDocument::validate(
        m_txtFBEmailID->text(), m_btnFBType->currentIndex(), m_txtViewFBExp->toPlainText());
    m_txtFBEmailID->setText(check.email);
    if (m_txtViewFBExp->toPlainText() != check.text)
        m_txtViewFBExp->setPlainText(check.text);
    m_lblFBInvalidEmail->setVisible(check.invalidEmail);
    m_lblFBInvalidType->setVisible(check.invalidType);
    m_lblFBInvalidExp->setVisible(check.invalidExp);
    return check.anyMissing();
}

void FeedbackWindowController::submitFeedback()
{
    if (m_isSendingFB)
        return;
    if (!AppDelegate::shareDelegate()->isInternetAvailable) {
        showAlert(QLatin1String(kOfflineMessage));
        return;
    }
    if (areThereEmptyFieldsForFeedback())
        return;
    m_lblFBWait->show();
    m_progressFB->show();
    m_btnFBSubmit->setEnabled(false);
    m_isSendingFB = true;
    extractInfoAndSendFeedback();
}

void FeedbackWindowController::uploadFinished(bool submitted)
{
    m_lblFBWait->hide();
    m_progressFB->hide();
    m_btnFBSubmit->setEnabled(true);
    m_isSendingFB = false;
    if (submitted)
        closeForm();
    else
        showAlert(QLatin1String(kNotSentMessage));
}

void FeedbackWindowController::cancelFeedbackSheet()
{
    m_cancelFeedback = true;
    closeForm();
}

void FeedbackWindowController::closeForm()
{
    m_lblFBWait->hide();
    m_progressFB->hide();
    m_isSendingFB = false;
    if (m_sheet)
        m_sheet->endSheet(0);
    else if (m_window)
        m_window->hide();
}

void FeedbackWindowController::showAlert(const QString& text)
{
    m_alertText->setText(text);
    m_alert->setAccessibleName(text);
    m_alert->show();
    m_alert->raise();
}

bool FeedbackWindowController::isAlertShown() const
{
    return m_alert && !m_alert->isHidden();
}

QString FeedbackWindowController::alertText() const
{
    return m_alertText->text();
}

void FeedbackWindowController::dismissAlert()
{
    m_alert->hide();
}

FeedbackValues FeedbackWindowController::formValues() const
{
    FeedbackValues values;
    values.appName = FeedbackDocument::bundleName();
    values.email = m_txtFBEmailID->text();
    values.feedbackType = m_btnFBType->currentText();
    values.content = m_txtViewFBExp->toPlainText();
    values.machineId = SystemInfo::computerSerialNumber();
    if (values.machineId.isEmpty())
        values.machineId = QLatin1String(Tracker::kDummySerial);
    values.urlBuyNow = FeedbackDocument::productWebsite(values.appName);
    values.appVersion = FeedbackDocument::bundleVersion();
    return values;
}

FeedbackAttachments FeedbackWindowController::attachments(bool sendLogs, bool sendUsage) const
{
    FeedbackAttachments attachments;
    attachments.sendLogs = sendLogs;
    attachments.sendUsage = sendUsage;
    attachments.logFilePath = m_logFilePath;
    attachments.documentsFolder = m_documentsFolder;
    attachments.now = m_clock();
    return attachments;
}

QString FeedbackWindowController::uploadFileName(const QDateTime& now)
{
    return FeedbackDocument::fileName(
        FeedbackDocument::bundleName(), now, static_cast<int>(QRandomGenerator::global()->bounded(1000)));
}

QString FeedbackWindowController::prepareSoapMsg(bool isFeedback, const QString& emailID) const
{
    FeedbackValues values = formValues();
    FeedbackAttachments attached;
    if (isFeedback) {
        values.email = emailID;
        attached = attachments(m_btnFBSendLogs->isChecked(), m_btnFBSendScanLog->isChecked());
    } else {
        values.email = emailID.isEmpty() ? m_txtFBEmailID->text() : emailID;
        values.feedbackType = QStringLiteral("Sending logs");
        values.content = QStringLiteral("Sending logs");
        attached = attachments(true, false);
    }
    FeedbackDocument::attach(values, attached);
    return FeedbackDocument::envelope(values, uploadFileName(attached.now));
}

void FeedbackWindowController::extractInfoAndSendFeedback()
{
    const FeedbackAttachments attached = attachments(m_btnFBSendLogs->isChecked(), m_btnFBSendScanLog->isChecked());
    const QString name = uploadFileName(attached.now);
    // The log (up to 8 MB) and the system files are read on a worker; the upload starts back on
    // the main thread. The form may be cancelled meanwhile: the upload then goes on without it.
    const QPointer<FeedbackWindowController> form(this);
    QThreadPool::globalInstance()->start(
        [values = formValues(), attachments = attached, name, services = m_services, form]() mutable {
            FeedbackDocument::attach(values, attachments);
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [values = std::move(values), name, services, form] {
                    const auto done = [form](bool submitted) {
                        if (form)
                            form->uploadFinished(submitted);
                    };
                    if (services)
                        services->uploadFeedback(values, name, done);
                    else
                        done(false);
                },
                Qt::QueuedConnection);
        });
}

} // namespace vantrel
