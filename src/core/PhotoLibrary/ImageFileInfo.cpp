#include "core/PhotoLibrary/ImageFileInfo.h"

#include <sys/stat.h>
#include <sys/xattr.h>

#include <QFileInfo>

#include "core/DataBeans/ExifInfo.h"

namespace vantrel {

namespace {

constexpr quint64 kMinimumFileSize = 20;

QByteArray localName(const QString& path)
{
    return QFile::encodeName(path);
}

} // namespace

void ImageFileInfo::readFileAttributes()
{
    const QFileInfo info(filePath);
    fileSize = info.exists() ? static_cast<quint64>(info.size()) : 0;
    modDate = info.lastModified();
    // Not every file system records a birth time; the modification time is the best stand-in.
    createDate = info.birthTime().isValid() ? info.birthTime() : modDate;
}

std::shared_ptr<ImageFileInfo> ImageFileInfo::initWithPathForFile(const QString& path)
{
    std::shared_ptr<ImageFileInfo> record(new ImageFileInfo);
    record->filePath = path;
    record->fileName = QFileInfo(path).fileName();
    record->readFileAttributes();
    if (record->fileSize < kMinimumFileSize)
        return nullptr;
    const QString extension = QFileInfo(path).suffix();
    record->fileType = extension.compare(QLatin1String("png"), Qt::CaseInsensitive) == 0
        ? QStringLiteral("Portable Network Graphic")
        : extension.toUpper();
    return record;
}

std::shared_ptr<ImageFileInfo> ImageFileInfo::initWithiPhotoOriginalPath(
    const QString& originalPath, const QString& thumbPath, const QString& imagePath, qint32 index, const QString& event)
{
    std::shared_ptr<ImageFileInfo> record(new ImageFileInfo);
    record->isiPhotoNode = true;
    record->iPhotoInfo = iPhotoNode(originalPath, thumbPath, imagePath, index, event);
    record->filePath = imagePath.isEmpty() ? originalPath : imagePath;
    record->fileName = QFileInfo(record->filePath).fileName();
    record->readFileAttributes();
    if (record->fileSize < kMinimumFileSize)
        return nullptr;
    record->fileType = fileSystemType(record->filePath);
    return record;
}

std::shared_ptr<ImageFileInfo> ImageFileInfo::initWithPhotosOriginalPath(const QString& originalPath,
    const QString& thumbPath, const QString& originalFileName, quint64 fileSize, const QString& uuid,
    const QString& modelId, const QString& uuIDRKversion, const QString& libraryPath)
{
    if (fileSize < kMinimumFileSize)
        return nullptr;
    std::shared_ptr<ImageFileInfo> record(new ImageFileInfo);
    record->libraryPath = libraryPath;
    record->isPhotosNode = true;
    record->photosInfo
        = PhotosNode(originalPath, thumbPath, originalFileName, fileSize, uuid, modelId, uuIDRKversion, libraryPath);
    record->filePath = originalPath;
    record->fileName = originalFileName;
    record->readFileAttributes();
    record->fileType = fileSystemType(originalPath);
    return record;
}

void ImageFileInfo::updateExifInfo()
{
    if (m_isExifInfoUpdated)
        return;
    m_exifInfo = std::make_shared<const ExifInfo>(ExifInfo::initWithFile(filePath));
    m_isExifInfoUpdated = true;
}

QString ImageFileInfo::fileSystemType(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("Unknown");
    if (info.isFile())
        return QStringLiteral("Regular");
    if (info.isDir())
        return QStringLiteral("Directory");
    if (info.isSymLink())
        return QStringLiteral("SymbolicLink"); // a link whose target cannot be followed
    struct stat status { };
    if (::stat(localName(path).constData(), &status) != 0)
        return QStringLiteral("Unknown");
    if (S_ISCHR(status.st_mode))
        return QStringLiteral("CharacterSpecial");
    if (S_ISBLK(status.st_mode))
        return QStringLiteral("BlockSpecial");
    if (S_ISSOCK(status.st_mode))
        return QStringLiteral("Socket");
    if (S_ISFIFO(status.st_mode))
        return QStringLiteral("Fifo");
    return QStringLiteral("Unknown");
}

std::optional<QVariantMap> ImageFileInfo::metaDataDictionaryForFileAt(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    QVariantMap attributes { { QStringLiteral("FSName"), info.fileName() }, { QStringLiteral("FSSize"), info.size() },
        { QStringLiteral("FSContentChangeDate"), info.lastModified() },
        { QStringLiteral("FSCreationDate"), info.birthTime() } };
    const QByteArray name = localName(path);
    const ssize_t listSize = ::listxattr(name.constData(), nullptr, 0);
    if (listSize > 0) {
        QByteArray names(listSize, '\0');
        const ssize_t got = ::listxattr(name.constData(), names.data(), names.size());
        for (const QByteArray& attribute : names.left(got > 0 ? got : 0).split('\0')) {
            if (attribute.isEmpty())
                continue;
            const ssize_t valueSize = ::getxattr(name.constData(), attribute.constData(), nullptr, 0);
            if (valueSize < 0)
                continue;
            QByteArray value(valueSize, '\0');
            const ssize_t read = ::getxattr(name.constData(), attribute.constData(), value.data(), value.size());
            if (read >= 0)
                attributes.insert(QStringLiteral("xattr:") + QString::fromUtf8(attribute), value.left(read));
        }
    }
    return attributes;
}

} // namespace vantrel
