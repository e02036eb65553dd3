#include "core/Processing/OutputPathBuilder.h"

#include <utility>

#include "core/DataBeans/OutputOptionSettings.h"
#include "core/DataBeans/PhotoFile.h"
#include "core/Processing/TargetSize.h"
#include "platform/Paths.h"

namespace vantrel {

namespace {

// "folder/name" without doubling the separator when folder is the root.
QString joined(const QString& folder, const QString& name)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString withoutTrailingSlashes(QString path)
{
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

} // namespace

OutputPathBuilder::OutputPathBuilder(PhotoJobSettings settings)
    : m_settings(std::move(settings))
    // A restored session may hold any text here; only a plain name part may reach the path.
    , m_cleanPrefix(validFileNameString(m_settings.prefixString))
{
    QString folder = m_settings.ouptputFolder.isEmpty() ? Paths::defaultOutputFolder() : m_settings.ouptputFolder;
    m_outputFolder = withoutTrailingSlashes(folder);
}

const QStringList& OutputPathBuilder::outputFormatList()
{
    static const QStringList kFormats = [] {
        QStringList formats;
        for (const char* format : OutputOptionSettings::kOutputFormats)
            formats.append(QLatin1String(format));
        return formats;
    }();
    return kFormats;
}

QString OutputPathBuilder::validFileNameString(const QString& text)
{
    static const QString kInvalid = QStringLiteral(":;,./\\?%*|\"<>");
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text) {
        if (!kInvalid.contains(c) && c != QChar(0))
            clean.append(c);
    }
    return clean;
}

QString OutputPathBuilder::parentFolder(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QStringLiteral(".");
    if (slash == 0)
        return QStringLiteral("/");
    return path.left(slash);
}

QString OutputPathBuilder::baseName(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? fileName.left(dot) : fileName;
}

QSizeF OutputPathBuilder::computeOutpuFileSize(const PhotoFile& photo) const
{
    const QSizeF record(static_cast<float>(photo.width()), static_cast<float>(photo.height()));
    const QSizeF size = TargetSize::unrounded(record, m_settings);
    if (m_settings.rotationType == 1 || m_settings.rotationType == 2)
        return size.transposed();
    return size;
}

QString OutputPathBuilder::outputFolder(const PhotoFile& photo) const
{
    if (m_settings.folderOption != 1)
        return photo.isIphotosNode() ? Paths::libraryOutputFolder() : parentFolder(photo.filePath());
    if (!m_settings.keepFolderHierarchy || photo.isIphotosNode())
        return m_outputFolder.isEmpty() ? QStringLiteral("/") : m_outputFolder;

    // Rebuild the source folder under the output folder, without its first component:
    // /Users/ann/Pictures/Trip under /Volumes/Out gives /Volumes/Out/ann/Pictures/Trip.
    const QString source = parentFolder(photo.filePath());
    QString rest = source;
    if (source.startsWith(QLatin1Char('/'))) {
        const qsizetype end = source.indexOf(QLatin1Char('/'), 1);
        rest = end < 0 ? QString() : source.mid(end); // a photo directly under "/" or "/C" keeps no part
    } else {
        rest = QLatin1Char('/') + source;
    }
    const QString folder = m_outputFolder + rest;
    return folder.isEmpty() ? QStringLiteral("/") : folder;
}

QString OutputPathBuilder::outputBaseName(const PhotoFile& photo) const
{
    const QString base = baseName(photo.fileName());
    switch (m_settings.filenameOption) {
    case 1: {
        // The name states the size of the written file, so a quarter turn swaps a kept size too.
        const QSizeF size = computeOutpuFileSize(photo);
        // One substitution pass: a base name may itself hold "%1" or "%2".
        return QStringLiteral("%1_%2X%3")
            .arg(base, QString::number(TargetSize::roundHalfAwayFromZero(size.width())),
                QString::number(TargetSize::roundHalfAwayFromZero(size.height())));
    }
    case 2:
        return m_cleanPrefix + base;
    case 3:
        return base + m_cleanPrefix;
    default:
        return base;
    }
}

QString OutputPathBuilder::outputExtension(const PhotoFile& photo) const
{
    const QStringList& formats = outputFormatList();
    if (m_settings.formatOption != 0)
        return formats.value(m_settings.selectedFileFormat, formats.first());
    if (formats.contains(photo.fileExtension().toLower()))
        return photo.fileExtension();
    return m_settings.rawConvertFormat;
}

QString OutputPathBuilder::updatedFilePathWithSetting(const PhotoFile& photo) const
{
    return joined(outputFolder(photo), outputBaseName(photo) + QLatin1Char('.') + outputExtension(photo));
}

} // namespace vantrel
