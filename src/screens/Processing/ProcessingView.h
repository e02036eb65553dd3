#pragma once

#include <memory>
#include <optional>

#include <QWidget>

#include "core/Processing/ProcessingEngine.h"
#include "core/Processing/RunInterfaces.h"
#include "screens/Processing/OverwriteAlertView.h"

class QAbstractButton;
class QLabel;

namespace vantrel {

class WyProgressIndicator;

/// The wizard's last step: the progress panel with its Stop button, the summary panel, the slot
/// of the cross-promotion panel, and the contents of the overwrite sheet. It shows what the
/// batch-run engine tells it (RunView) and forwards its buttons and the sheet's answers to the
/// engine; it holds no run logic. The main screen shows and hides the overwrite sheet
/// (overwriteAlertContent()) on the engine's notifications. Main thread only.
class ProcessingView : public QWidget, public RunView {
    Q_OBJECT
public:
    /// Over `engine`, or over an engine on the real pipeline, file system, clock, file browser and
    /// the application's log database when none is given.
    explicit ProcessingView(std::shared_ptr<ProcessingEngine> engine = {}, QWidget* parent = nullptr);
    ~ProcessingView() override;

    ProcessingEngine& engine() { return *m_engine; }

    // What the main screen calls (forwarded to the engine).
    void startProcess(
        const OutputOptionSettings& outputSettingObject, const ResizingOptionsSettingObject& resizingOptionObject);
    void btnStopProcessTapped() { m_engine->btnStopProcessTapped(); }
    void holdProcessing() { m_engine->holdProcessing(); }
    void restartProcessing() { m_engine->restartProcessing(); }
    void stopProcessing() { m_engine->stopProcessing(); }
    void btnOkOnEnoughtSpcaecTapped() { m_engine->btnOkOnEnoughtSpcaecTapped(); }
    void btnYesOnAbortTapped() { m_engine->btnYesOnAbortTapped(); }
    void subWindowDidClose() { m_engine->subWindowDidClose(); }
    QVariantMap getLogDetails() const { return m_engine->getLogDetails(); }

    /// The overwrite sheet's contents (shown by the main screen as a sheet).
    OverwriteAlertView* overwriteAlertContent() const { return m_overwrite; }
    /// The cross-promotion panel's slot; its content belongs to the online services.
    QWidget* vwRecommendedApps() const { return m_vwRecommendedApps; }
    QWidget* vwProcessingInfo() const { return m_vwProcessingInfo; }
    QWidget* vwProcessedInfo() const { return m_vwProcessedInfo; }
    WyProgressIndicator* progressIndicator() const { return m_progressIndicator; }
    QAbstractButton* stopButton() const { return m_btnStop; }
    QLabel* processTitle() const { return m_processTitle; }
    QLabel* lblCurrentPath() const { return m_lblCurrentPath; }
    QLabel* lblProcessInfoBottom() const { return m_lblProcessInfoBottom; }
    /// The summary label of a log key ("imagesSelected", ... "totalOldSize").
    QLabel* summaryLabel(const QString& key) const;
    /// The line under the summary about the run's log; hidden while it has nothing to say.
    QLabel* lblLogNotice() const { return m_lblLogNotice; }

    // RunView
    void showProgressPanel() override;
    void showSummaryPanel() override;
    void setTitle(const QString& title) override;
    void setProgressValue(int percent) override;
    void setCurrentPath(const QString& path) override;
    void setBottomLine(const RunBottomLine& line) override;
    void setSummary(const RunSummaryTexts& texts) override;
    void setLogNotice(const QString& text) override;
    void setOverwriteQuestion(
        const QString& renameText, const QString& existingPath, const QString& sourcePath) override;
    void setRenameError(const QString& message) override;

    /// When Stop had the focus as it hid (the run stopped or ended), the focus waits on this
    /// screen for the button that ends the step: answers whether Stop was ringed, once, while the
    /// focus is still waiting here; nothing otherwise.
    std::optional<bool> takeFocusLeftByStop();
    /// The keyboard that starts a run goes on at Stop, ringed when `ringed`: Stop takes the
    /// focus now when it shows, else the focus waits on this screen, unringed, until the progress
    /// panel shows it (a Tab meanwhile moves it on as usual).
    void takeFocusForStop(bool ringed);

    /// The bottom line as rich text: the base grey with the highlighted ranges in white.
    static QString bottomLineHtml(const RunBottomLine& line);

private:
    void buildProgressPanel();
    void buildSummaryPanel();
    void answer(OverwriteAlertView::Answer answer);
    void loadExistingImage(const QString& sourcePath);

    std::shared_ptr<ProcessingEngine> m_engine;
    quint64 m_imageRequest = 0;

    QWidget* m_vwProcessingInfo = nullptr;
    QWidget* m_vwProcessedInfo = nullptr;
    QWidget* m_vwRecommendedApps = nullptr;
    QLabel* m_processTitle = nullptr;
    WyProgressIndicator* m_progressIndicator = nullptr;
    QLabel* m_lblCurrentPath = nullptr;
    QAbstractButton* m_btnStop = nullptr;
    QLabel* m_lblProcessInfoBottom = nullptr;
    QHash<QString, QLabel*> m_summaryLabels;
    QLabel* m_lblLogNotice = nullptr;
    OverwriteAlertView* m_overwrite = nullptr;
    std::optional<bool> m_focusLeftByStop; ///< Stop hid with the focus; whether it was ringed
    std::optional<bool> m_focusForStop; ///< the focus waits for Stop to show; whether to ring it
};

} // namespace vantrel
