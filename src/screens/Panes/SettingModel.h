#pragma once

#include <QString>
#include <QStringList>

#include "core/DataBeans/OutputOptionSettings.h"

namespace vantrel {

/// What the output settings pane shows and decides, without widgets: format and quality, the
/// naming option and its prefix or suffix text, the output folder with its two check boxes, and
/// which reset buttons are enabled. SettingView forwards user actions here and copies the state
/// back to its controls. Main thread only.
class SettingModel {
public:
    enum class PopupKind { Formats = 4, Naming = 5 };

    static constexpr int kDefaultQuality = 75;
    static constexpr int kMaxQuality = 100;
    static constexpr int kMaxNameTextLength = 30;

    SettingModel();

    static const QStringList& namingOptions();
    /// "*.%@" with the upper-case extension.
    static QString formatTitle(int index);
    static int popupHeight(PopupKind kind);
    /// True for a folder inside a freedesktop Trash (the home Trash or a volume's .Trash folders).
    static bool isInTrash(const QString& path);

    /// The defaults: keep the format (index 0), quality 75, original names, the default output
    /// folder, keep hierarchy off, ask before overwrite on.
    void initSetup();

    // --- Format ----------------------------------------------------------------------------------
    /// 0 keep each photo's format (quality back to 75, index 0); 1 convert to the chosen format.
    void setUIforFormatType(int type);
    void formatSelectionChangedWithIndex(int index);
    bool isConvertFormat() const { return m_convert; }
    int selectedFormatOptionIndex() const { return m_formatIndex; }
    QString selectedFormatTitle() const { return formatTitle(m_formatIndex); }
    /// The quality box is shown for jpg, jpeg and jp2 only.
    bool isQualityBoxVisible() const { return m_formatIndex >= 3 && m_formatIndex <= 5; }
    QString qualityText() const { return m_quality; }
    void setQualityText(const QString& text) { m_quality = text; }
    void stepQuality(bool up);

    // --- Naming ----------------------------------------------------------------------------------
    void filenameSelectionChangedWithIndex(int index);
    int selectedFileNameOptionIndex() const { return m_namingIndex; }
    QString selectedFileNameText() const { return namingOptions().value(m_namingIndex); }
    /// A user edit of the prefix or suffix field; returns the text the field is to show.
    QString suffixEdited(const QString& text);
    QString suffixText() const { return m_suffix; }
    QString suffixPlaceholder() const;
    QString suffixLabel() const;
    bool isSuffixBoxVisible() const { return m_namingIndex == 2 || m_namingIndex == 3; }
    bool isResetFilenameEnabled() const { return m_namingIndex != 0; }

    // --- Folder ----------------------------------------------------------------------------------
    void btnKeepOriginalFolderTapped();
    void btnOutputToFolderTapped();
    void btnResetFolderTapped();
    /// A folder chosen in the folder panel. Refused (false, nothing changes) inside the Trash; the
    /// path is kept exactly as chosen.
    bool folderChosen(const QString& path);
    void setKeepFolderHierarchy(bool on);
    void setAskBeforeOverwrite(bool on);
    bool isOutputToFolder() const { return m_outputToFolder; }
    QString outputFolder() const { return m_folder; }
    bool isKeepFolderHierarchy() const { return m_keepHierarchy; }
    bool isKeepFolderHierarchyEnabled() const { return m_outputToFolder; }
    bool isAskBeforeOverwrite() const { return m_ask; }
    bool isResetFolderEnabled() const { return m_resetFolderEnabled; }

    // --- Choice ----------------------------------------------------------------------------------
    OutputOptionSettings getOutputSettingObject() const;
    /// Restores a stored choice. The folder mode and path come back when the mode is "beside
    /// the originals" or the stored folder still exists; otherwise they stay as they are.
    void setOutputSettingObject(const OutputOptionSettings& settings);

private:
    void enableDesableResetFolderBtn();

    bool m_convert = false;
    int m_formatIndex = 0;
    QString m_quality;
    int m_namingIndex = 0;
    QString m_suffix;
    bool m_outputToFolder = true;
    QString m_folder;
    bool m_keepHierarchy = false;
    bool m_ask = true;
    bool m_resetFolderEnabled = false;
};

} // namespace vantrel
