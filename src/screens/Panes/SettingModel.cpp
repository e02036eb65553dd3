#include "screens/Panes/SettingModel.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/Paths.h"
#include "screens/Panes/FieldText.h"

namespace vantrel {

namespace {

QString cleanFolder(const QString& path)
{
    return QDir::cleanPath(path);
}

} // namespace

SettingModel::SettingModel()
{
    initSetup();
}

const QStringList& SettingModel::namingOptions()
{
    static const QStringList kOptions { QStringLiteral("Original Name"),
        QStringLiteral("[Original Name]_[Width]X[Height]"), QStringLiteral("Add Prefix"),
        QStringLiteral("Add Suffix") };
    return kOptions;
}

QString SettingModel::formatTitle(int index)
{
    return QStringLiteral("*.%1").arg(OutputOptionSettings::outputFormatAt(index).toUpper());
}

int SettingModel::popupHeight(PopupKind kind)
{
    if (kind == PopupKind::Formats) {
        const int count = int(OutputOptionSettings::kOutputFormats.size());
        return count < 6 ? 30 * count + 10 : 224;
    }
    const int count = int(namingOptions().size());
    return count < 6 ? 30 * count + 8 : 186;
}

bool SettingModel::isInTrash(const QString& path)
{
    const QString clean = cleanFolder(path);
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString homeTrash = cleanFolder(dataHome + QStringLiteral("/Trash"));
    if (clean == homeTrash || clean.startsWith(homeTrash + u'/'))
        return true;
    // A volume's Trash: "$topdir/.Trash/$uid" or "$topdir/.Trash-$uid".
    const QString uid = QString::number(::getuid());
    const QStringList parts = clean.split(u'/', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (parts[i] == QStringLiteral(".Trash-") + uid)
            return true;
        if (parts[i] == QStringLiteral(".Trash") && i + 1 < parts.size() && parts[i + 1] == uid)
            return true;
    }
    return false;
}

void SettingModel::initSetup()
{
    setUIforFormatType(0);
    formatSelectionChangedWithIndex(0);
    filenameSelectionChangedWithIndex(0);
    btnResetFolderTapped();
}

void SettingModel::setUIforFormatType(int type)
{
    m_convert = type == 1;
    if (!m_convert) {
        m_quality = QString::number(kDefaultQuality);
        formatSelectionChangedWithIndex(0);
    }
}

void SettingModel::formatSelectionChangedWithIndex(int index)
{
    if (index < 0 || index >= int(OutputOptionSettings::kOutputFormats.size()))
        return;
    m_formatIndex = index;
}

void SettingModel::stepQuality(bool up)
{
    const qint32 value = FieldText::intValue(m_quality);
    if (up && value <= kMaxQuality - 1)
        m_quality = QString::number(value + 1);
    else if (!up && value >= 1)
        m_quality = QString::number(value - 1);
}

void SettingModel::filenameSelectionChangedWithIndex(int index)
{
    if (index < 0 || index >= namingOptions().size())
        return;
    m_suffix.clear();
    m_namingIndex = index;
}

QString SettingModel::suffixEdited(const QString& text)
{
    m_suffix = FieldText::fileNamePart(text, kMaxNameTextLength);
    return m_suffix;
}

QString SettingModel::suffixPlaceholder() const
{
    QString text = selectedFileNameText();
    return text.replace(QStringLiteral("Add "), QStringLiteral("Enter "));
}

QString SettingModel::suffixLabel() const
{
    QString text = selectedFileNameText();
    return text.remove(QStringLiteral("Add ")) + u':';
}

void SettingModel::btnKeepOriginalFolderTapped()
{
    m_outputToFolder = false;
    m_resetFolderEnabled = true;
    m_keepHierarchy = false;
}

void SettingModel::btnOutputToFolderTapped()
{
    m_outputToFolder = true;
    m_resetFolderEnabled = false;
    m_keepHierarchy = false;
}

void SettingModel::btnResetFolderTapped()
{
    btnOutputToFolderTapped();
    m_keepHierarchy = false;
    m_ask = true;
    m_folder = Paths::defaultOutputFolder();
    enableDesableResetFolderBtn();
}

bool SettingModel::folderChosen(const QString& path)
{
    if (path.isEmpty() || isInTrash(path))
        return false;
    if (path != m_folder)
        m_resetFolderEnabled = true;
    m_folder = path;
    return true;
}

void SettingModel::setKeepFolderHierarchy(bool on)
{
    m_keepHierarchy = on;
    enableDesableResetFolderBtn();
}

void SettingModel::setAskBeforeOverwrite(bool on)
{
    m_ask = on;
    enableDesableResetFolderBtn();
}

void SettingModel::enableDesableResetFolderBtn()
{
    const bool isDefault = m_outputToFolder && !m_keepHierarchy && m_ask
        && cleanFolder(m_folder) == cleanFolder(Paths::defaultOutputFolder());
    m_resetFolderEnabled = !isDefault;
}

OutputOptionSettings SettingModel::getOutputSettingObject() const
{
    OutputOptionSettings settings;
    settings.formatOption = m_convert ? 1 : 0;
    settings.selectedFileFormat = m_formatIndex;
    settings.compressionRatio = FieldText::intValue(m_quality);
    settings.filenameOption = m_namingIndex;
    settings.prefixString = m_suffix;
    settings.folderOption = m_outputToFolder ? 1 : 0;
    settings.ouptputFolder = m_folder;
    settings.keepFolderHierarchy = m_keepHierarchy;
    settings.askBeforeOverwrite = m_ask;
    return settings;
}

void SettingModel::setOutputSettingObject(const OutputOptionSettings& settings)
{
    if (settings.formatOption == 1) {
        setUIforFormatType(1);
        formatSelectionChangedWithIndex(settings.selectedFileFormat);
    } else {
        // Keep mode always stores index 0, so the label and the index agree.
        setUIforFormatType(0);
    }
    m_quality = QString::number(settings.compressionRatio);
    filenameSelectionChangedWithIndex(settings.filenameOption);
    m_suffix = FieldText::fileNamePart(settings.prefixString, kMaxNameTextLength);
    // The folder comes back only where it can still be written to: beside the originals, or
    // into a stored folder that still exists. Otherwise the pane keeps the mode and folder it has.
    if (settings.folderOption == 0) {
        btnKeepOriginalFolderTapped();
    } else if (!settings.ouptputFolder.isEmpty() && QFileInfo(settings.ouptputFolder).isDir()) {
        btnOutputToFolderTapped();
        m_folder = settings.ouptputFolder;
    }
    // Keep hierarchy applies only to a folder output; beside the originals its box is off.
    m_keepHierarchy = m_outputToFolder && settings.keepFolderHierarchy;
    m_ask = settings.askBeforeOverwrite;
    enableDesableResetFolderBtn(); // enabled whenever keep hierarchy is on, as after any change
}

} // namespace vantrel
