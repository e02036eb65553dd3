#include "core/DataBeans/PhotoFile.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>

#include "core/Helper/Utils.h"
#include "platform/imaging/ImageProperties.h"

namespace vantrel {

PhotoFile::PhotoFile() = default;

PhotoFile::~PhotoFile()
{
    delete m_exifDict.load(std::memory_order_acquire);
}

PhotoFilePtr PhotoFile::initWithFileUrl(const QString& fileUrl, const QString& andFileName, bool isIphoto)
{
    auto photo = std::make_shared<PhotoFile>();
    const QFileInfo info(fileUrl);
    photo->m_filePath = fileUrl;
    photo->m_originalFileName = andFileName;
    photo->m_fileName = info.fileName();
    // The text after the last dot of the name; a leading dot (".jpg") starts a name, not an
    // extension, as the output naming reads it.
    const qsizetype dot = photo->m_fileName.lastIndexOf(QLatin1Char('.'));
    photo->m_fileExtension = dot > 0 ? photo->m_fileName.mid(dot + 1) : QString();
    photo->m_fileURL = fileUrl;
    const QString parent = info.path();
    photo->m_fileContainerFolderName = parent == QLatin1String("/") ? parent : QFileInfo(parent).fileName();
    photo->m_isIphotosNode = isIphoto;

    // Only the size and the orientation are needed now; the full dictionary is read on demand.
    const ImageProperties properties = readImageProperties(fileUrl, PropertyDepth::Probe);
    if (properties.valid) {
        const QSize upright = properties.uprightSize();
        photo->m_width = static_cast<float>(upright.width());
        photo->m_height = static_cast<float>(upright.height());
    }

    struct stat st { };
    const QByteArray native = QFile::encodeName(fileUrl);
    if (!native.isEmpty() && ::stat(native.constData(), &st) == 0)
        photo->m_fileSizeInBytes = static_cast<double>(st.st_size);
    photo->m_fileSizeAsString = Utils::sharedUtils().unitStringFromBytes(photo->m_fileSizeInBytes, 0);
    return photo;
}

QString PhotoFile::logTextForStatus(qint32 status)
{
    switch (static_cast<ProcessStatus>(status)) {
    case ProcessStatus::NotProcessed:
        return QStringLiteral("File not Processed.");
    case ProcessStatus::Processed:
        return QStringLiteral("Processed successfully.");
    case ProcessStatus::SourceMissing:
        return QStringLiteral("File not available at source directory.");
    case ProcessStatus::DimensionTooLong:
        return QStringLiteral("Output image dimension is too long, please reset the setiings.");
    case ProcessStatus::Skipped:
        return QStringLiteral("File skipped.");
    case ProcessStatus::SourceAccessDenied:
        return QStringLiteral("Access denied to source file.");
    case ProcessStatus::DestinationAccessDenied:
        return QStringLiteral("Access denied to destination folder.");
    case ProcessStatus::DestinationMissing:
        return QStringLiteral("Destination folder doesn't exist.");
    case ProcessStatus::InvalidFileName:
        return QStringLiteral("Invalid file name.");
    }
    return QStringLiteral("-");
}

QVariantMap PhotoFile::exifDict() const
{
    const QVariantMap* current = m_exifDict.load(std::memory_order_acquire);
    if (current)
        return *current;
    auto* loaded = new QVariantMap(readImageProperties(m_fileURL, PropertyDepth::Full).dictionary);
    const QVariantMap* expected = nullptr;
    if (m_exifDict.compare_exchange_strong(expected, loaded, std::memory_order_acq_rel))
        return *loaded;
    delete loaded; // another thread was first
    return *expected;
}

void PhotoFile::setExifDict(const QVariantMap& value)
{
    delete m_exifDict.exchange(new QVariantMap(value), std::memory_order_acq_rel);
}

} // namespace vantrel
