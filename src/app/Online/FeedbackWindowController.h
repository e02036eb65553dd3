#pragma once

#include <functional>

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>

#include "components/RvWindow/CustomWindowNag.h"
#include "components/Sheet.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QWidget;

namespace vantrel {

class HighlightedButton;
class OnlineServices;
struct FeedbackAttachments;
struct FeedbackValues;

/// The feedback form: an e-mail address, a feedback type and a free text, optionally with an
/// excerpt of the application's log and the usage report, sent to the feedback service.
///
/// The form is a sheet on the main window and sets the shared sub-window flag while it is open.
/// Submit checks the connection and the fields and starts the upload; the form waits for its
/// outcome. Accepted: the form closes and the main screen confirms. Not sent, failed or refused:
/// the form stays open with everything typed and says so in its alert, so nothing is lost.
/// Cancel closes the form at any time; an upload already started goes on without it.
class FeedbackWindowController : public QObject {
    Q_OBJECT
public:
    explicit FeedbackWindowController(OnlineServices* services, QObject* parent = nullptr);
    ~FeedbackWindowController() override;

    /// Opens a new form as a sheet on the main window; nothing (nullptr) while another sheet or
    /// sub-window is open. The controller deletes itself when its sheet closes.
    static FeedbackWindowController* showFeedBackWindow(QWidget* mainWindow, OnlineServices* services);

    CustomWindowNag* window() const { return m_window; }

    // Actions.
    void submitFeedback();
    void cancelFeedbackSheet();

    /// Validates the three fields (writing the trimmed texts back) and shows their error lines;
    /// true when something is missing.
    bool areThereEmptyFieldsForFeedback();
    /// The document's values typed into the form (attachments and system values not yet filled).
    FeedbackValues formValues() const;

    /// The SOAP text of an upload. With `isFeedback` it is the form's own (the given validated
    /// address, the form's type, text and attachments, as Submit sends it); without, a log report:
    /// the given address (the field's text when it is empty), type and text "Sending logs", the log
    /// excerpt always read and the usage report never. Reads the log on the calling thread. No
    /// caller in the application today: Submit builds the same document off the main thread.
    QString prepareSoapMsg(bool isFeedback, const QString& emailID) const;
    /// Shows the form's alert with the given text and its OK button. No caller in the application
    /// today.
    void displayAlertWithMessageText(const QString& text) { showAlert(text); }

    /// The form's own alert: "Internet Not Connected" before sending, kNotSentMessage after an
    /// upload that did not go through.
    bool isAlertShown() const;
    QString alertText() const;
    void dismissAlert();
    static constexpr char kOfflineMessage[] = "Internet Not Connected";
    static constexpr char kNotSentMessage[] = "Your feedback could not be sent. Please try again later.";
    bool cancelFeedback() const { return m_cancelFeedback; }
    bool isSendingFB() const { return m_isSendingFB; }

    // Where the attachments are read (tests point them at their own files) and the clock.
    void setLogFilePath(const QString& path) { m_logFilePath = path; }
    void setDocumentsFolder(const QString& folder) { m_documentsFolder = folder; }
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // The form's controls, under their field names.
    QLineEdit* txtFBEmailID() const { return m_txtFBEmailID; }
    QComboBox* btnFBType() const { return m_btnFBType; }
    QPlainTextEdit* txtViewFBExp() const { return m_txtViewFBExp; }
    QCheckBox* btnFBSendLogs() const { return m_btnFBSendLogs; }
    QCheckBox* btnFBSendScanLog() const { return m_btnFBSendScanLog; }
    QLabel* lblFBInvalidEmail() const { return m_lblFBInvalidEmail; }
    QLabel* lblFBInvalidType() const { return m_lblFBInvalidType; }
    QLabel* lblFBInvalidExp() const { return m_lblFBInvalidExp; }

private:
    void buildWindow();
    void openFeedbackWindow();
    void convertUIAccordingToLocale();
    void extractInfoAndSendFeedback();
    FeedbackAttachments attachments(bool sendLogs, bool sendUsage) const;
    static QString uploadFileName(const QDateTime& now);
    void uploadFinished(bool submitted);
    void showAlert(const QString& text);
    void closeForm();

    QPointer<OnlineServices> m_services;
    QPointer<CustomWindowNag> m_window;
    QPointer<Sheet> m_sheet;
    QFrame* m_box = nullptr;
    QLabel* m_lblFBHeading = nullptr;
    QLabel* m_lblFBSubHeading = nullptr;
    QLabel* m_lblFBType = nullptr;
    QLabel* m_lblEmailAddress = nullptr;
    QLabel* m_lblFeedBackType = nullptr;
    QLabel* m_lblShareExperience = nullptr;
    QLineEdit* m_txtFBEmailID = nullptr;
    QComboBox* m_btnFBType = nullptr;
    QPlainTextEdit* m_txtViewFBExp = nullptr;
    QCheckBox* m_btnFBSendLogs = nullptr;
    QCheckBox* m_btnFBSendScanLog = nullptr;
    QLabel* m_lblFBInvalidEmail = nullptr;
    QLabel* m_lblFBInvalidType = nullptr;
    QLabel* m_lblFBInvalidExp = nullptr;
    QLabel* m_lblFBWait = nullptr;
    QProgressBar* m_progressFB = nullptr;
    HighlightedButton* m_btnFBSubmit = nullptr;
    HighlightedButton* m_btnFBCancel = nullptr;
    QFrame* m_alert = nullptr;
    QLabel* m_alertText = nullptr;
    bool m_cancelFeedback = false;
    bool m_isSendingFB = false;
    QString m_logFilePath;
    QString m_documentsFolder;
    std::function<QDateTime()> m_clock;
};

} // namespace vantrel
