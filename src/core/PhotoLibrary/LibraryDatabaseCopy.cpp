#include "core/PhotoLibrary/LibraryDatabaseCopy.h"

#include <array>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "core/PhotoLibrary/LibraryLog.h"
#include "platform/Paths.h"

namespace vantrel {

namespace {

const std::array<QString, 3> kCompanions { QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral(".lock") };
const QString kFolderPrefix = QStringLiteral("library-");
// A private copy lives only for one read; one this old was left behind by a process that ended
// during a read, and may be as large as a library database.
constexpr qint64 kStaleAfterSeconds = 6 * 60 * 60;

void removeStaleCopies(const QString& caches)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QFileInfoList folders = QDir(caches).entryInfoList(
        { kFolderPrefix + QLatin1Char('*') }, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo& folder : folders) {
        if (folder.lastModified().toUTC().secsTo(now) > kStaleAfterSeconds)
            QDir(folder.absoluteFilePath()).removeRecursively();
    }
}

} // namespace

LibraryDatabaseCopy::LibraryDatabaseCopy() = default;
LibraryDatabaseCopy::~LibraryDatabaseCopy() = default;

bool LibraryDatabaseCopy::make(const QString& source)
{
    m_path.clear();
    m_folder.reset();

    const QString caches = Paths::cachesFolder();
    if (caches.isEmpty()) {
        qCWarning(lcPhotoLibrary).noquote() << QStringLiteral("Error in copy Data Base %1").arg("no caches folder");
        return false;
    }
    removeStaleCopies(caches);
    auto folder = std::make_unique<QTemporaryDir>(caches + QLatin1Char('/') + kFolderPrefix + QStringLiteral("XXXXXX"));
    if (!folder->isValid()) {
        qCWarning(lcPhotoLibrary).noquote() << QStringLiteral("Error in copy Data Base %1").arg(folder->errorString());
        return false;
    }

    const QString target = folder->filePath(QFileInfo(source).fileName());
    QFile database(source);
    if (!QFileInfo(source).isFile() || !database.copy(target)) {
        qCWarning(lcPhotoLibrary).noquote()
            << QStringLiteral("Error in copy Data Base %1")
                   .arg(database.errorString().isEmpty() ? source : database.errorString());
        return false;
    }
    // Only regular files are read: a FIFO or device named like a companion would block the copy.
    // A companion serves the database beside it: one that a link places elsewhere (out of the
    // library, perhaps) is not the database's own and is left out.
    const QString ownFolder = QFileInfo(QFileInfo(source).canonicalFilePath()).path();
    for (const QString& companion : kCompanions) {
        const QFileInfo info(source + companion);
        if (info.isFile() && QFileInfo(info.canonicalFilePath()).path() == ownFolder)
            QFile::copy(source + companion, target + companion);
    }
    // Copies keep the source's permissions; the private files must stay writable so that SQLite
    // can use the copied "-shm" and, if needed, recover the copy.
    for (const QString& suffix : { QString(), kCompanions[0], kCompanions[1] }) {
        QFile copied(target + suffix);
        if (copied.exists())
            copied.setPermissions(copied.permissions() | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    }
    m_folder = std::move(folder);
    m_path = target;
    return true;
}

bool LibraryDatabaseCopy::canReadInPlace(const QString& source)
{
    if (QFileInfo::exists(source + QStringLiteral("-wal")) || QFileInfo::exists(source + QStringLiteral("-journal")))
        return false;
    if (!QFileInfo(source).isFile())
        return false;
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Header bytes 18 and 19 are the write and read format versions: 2 means WAL.
    const QByteArray header = file.read(20);
    if (header.size() < 20 || !header.startsWith(QByteArrayLiteral("SQLite format 3")))
        return false;
    return header.at(18) == 1 && header.at(19) == 1;
}

} // namespace vantrel
