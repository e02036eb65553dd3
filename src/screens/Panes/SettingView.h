#pragma once

#include <QPointer>
#include <QWidget>

#include "screens/Panes/SettingModel.h"

class QAbstractButton;
class QCheckBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace vantrel {

class OptionsPopup;

/// The output step's settings pane: keep or convert the format (with a quality for the lossy
/// ones), the naming rule with its prefix or suffix, the output folder, keep hierarchy and ask
/// before overwrite. A thin widget over SettingModel. Main thread only.
class SettingView : public QWidget {
    Q_OBJECT
public:
    explicit SettingView(QWidget* parent = nullptr);

    /// Applies the defaults; runs once, 20 ms after creation or when called.
    void initSetup();

    OutputOptionSettings getOutputSettingObject() const { return m_model.getOutputSettingObject(); }
    void setOutputSettingObject(const OutputOptionSettings& settings);

    // Actions, public so that the tests can drive them like clicks.
    void btnKeepOriginalFormatTapped();
    void btnConvertFormatTapped();
    void btnResetFormatTapped() { btnKeepOriginalFormatTapped(); }
    void btnSelectFormatTapped();
    void btnSelectFilenameTapped();
    void btnResetFilenameTapped();
    void btnKeepOriginalFolderTapped();
    void btnOutputToFolderTapped();
    void btnSelectFolderTapped();
    void btnResetFolderTapped();
    void formatSelectionChangedWithIndex(int index);
    void filenameSelectionChangedWithIndex(int index);
    /// The folder panel's answer (an empty path is a cancel).
    void folderPanelEnded(const QString& path);

    const SettingModel& model() const { return m_model; }
    OptionsPopup* popup() const { return m_popup; }
    QFileDialog* folderPanel() const;

private:
    void buildControls();
    void refresh();
    /// Once the window has the keyboard again: the control that opened the folder panel takes
    /// it, ringed when it was ringed as the panel opened.
    void giveFocusBackAfterPanel();

    SettingModel m_model;
    bool m_isSetUp = false;
    bool m_hierarchyLit = true;
    bool m_askLit = true;
    OptionsPopup* m_popup = nullptr;
    QPointer<QFileDialog> m_folderPanel;
    QPointer<QWidget> m_panelOpener;
    bool m_panelOpenerRinged = false;

    QRadioButton* m_rbKeepOriginalFormat = nullptr;
    QRadioButton* m_rbConvertToFormat = nullptr;
    QLabel* m_lblSelectedFormat = nullptr;
    QAbstractButton* m_btnSelectFormat = nullptr;
    QAbstractButton* m_btnResetFormat = nullptr;
    QWidget* m_vwCompressionQuality = nullptr;
    QLineEdit* m_txtCompressionQuality = nullptr;
    QLabel* m_lblCompressionQuality = nullptr;
    QAbstractButton* m_btnUpcompression = nullptr;
    QAbstractButton* m_btnDowncompression = nullptr;
    QLabel* m_lblSelectedFileName = nullptr;
    QAbstractButton* m_btnSelectFilename = nullptr;
    QAbstractButton* m_btnResetFilename = nullptr;
    QWidget* m_vwAddsuffix = nullptr;
    QLabel* m_lblSuffix = nullptr;
    QLineEdit* m_txtSuffix = nullptr;
    QRadioButton* m_rbKeepOriginalFolder = nullptr;
    QRadioButton* m_rbOutputToFolder = nullptr;
    QLabel* m_lblSelectedFolder = nullptr;
    QAbstractButton* m_btnSelectFolder = nullptr;
    QAbstractButton* m_btnResetFolder = nullptr;
    QCheckBox* m_checkKeepFolderHierarchy = nullptr;
    QCheckBox* m_checkAskBeforeOverwrite = nullptr;
};

} // namespace vantrel
