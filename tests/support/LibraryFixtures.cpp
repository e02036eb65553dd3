#include "support/LibraryFixtures.h"

#include <algorithm>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "platform/PropertyList.h"
#include "support/TestImages.h"

namespace vantrel::libraryfixtures {

namespace {

const char kAssetSchema[] = R"(
CREATE TABLE %1 (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, ZUUID VARCHAR, ZDIRECTORY VARCHAR, ZFILENAME VARCHAR,
                 ZTRASHEDSTATE INTEGER, ZKIND INTEGER);
CREATE TABLE ZADDITIONALASSETATTRIBUTES (Z_PK INTEGER PRIMARY KEY, ZASSET INTEGER, ZORIGINALFILENAME VARCHAR,
                 ZORIGINALFILESIZE INTEGER);
)";

QString assetInsert(const QString& table, int key, const AssetRow& row)
{
    return QStringLiteral("INSERT INTO %1 VALUES (%2, 3, %3, %4, %5, %6, 0);"
                          "INSERT INTO ZADDITIONALASSETATTRIBUTES VALUES (%2, %2, %7, %8);")
        .arg(table)
        .arg(key)
        .arg(sqlText(row.uuid), sqlText(row.directory), sqlText(row.fileName))
        .arg(row.trashedState)
        .arg(sqlText(row.originalFileName))
        .arg(row.originalFileSize);
}

bool writeAssetFiles(const QString& package, const QList<AssetRow>& rows)
{
    for (const AssetRow& row : rows) {
        if (row.writeFile
            && !writePhoto(QStringLiteral("%1/originals/%2/%3").arg(package, row.directory, row.fileName)))
            return false;
    }
    return true;
}

bool runOn(sqlite3* db, const QString& sql)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        ADD_FAILURE() << "sqlite: " << (message ? message : "?") << " in " << sql.toStdString();
        sqlite3_free(message);
        return false;
    }
    return true;
}

} // namespace

bool execSql(const QString& dbPath, const QString& sql)
{
    QDir().mkpath(QFileInfo(dbPath).absolutePath());
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(dbPath.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
        != SQLITE_OK) {
        ADD_FAILURE() << "cannot create " << dbPath.toStdString();
        sqlite3_close(db);
        return false;
    }
    const bool ok = runOn(db, sql);
    sqlite3_close(db);
    return ok;
}

QString sqlText(const std::optional<QString>& text)
{
    if (!text)
        return QStringLiteral("NULL");
    QString quoted = *text;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

bool writePhoto(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const bool ok = testimages::writePattern(path, 8, 8);
    if (!ok)
        ADD_FAILURE() << "cannot write photo " << path.toStdString();
    return ok;
}

bool buildNewerPhotosLibrary(
    const QString& package, const QList<AssetRow>& rows, const QString& assetTable, const QString& dbRelative)
{
    QString sql = QString::fromLatin1(kAssetSchema).arg(assetTable);
    for (int i = 0; i < rows.size(); ++i)
        sql += assetInsert(assetTable, i + 1, rows.at(i));
    return execSql(package + QLatin1Char('/') + dbRelative, sql) && writeAssetFiles(package, rows);
}

bool buildWalPhotosLibrary(const QString& package, const QList<AssetRow>& rows)
{
    if (rows.isEmpty())
        return false;
    const QString scratch = package + QStringLiteral(".scratch");
    QDir().mkpath(scratch);
    const QString scratchDb = scratch + QStringLiteral("/Photos.sqlite");
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(scratchDb.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
        != SQLITE_OK)
        return false;
    QString sql = QStringLiteral("PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;")
        + QString::fromLatin1(kAssetSchema).arg(QStringLiteral("ZASSET"));
    for (int i = 0; i + 1 < rows.size(); ++i)
        sql += assetInsert(QStringLiteral("ZASSET"), i + 1, rows.at(i));
    sql += QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE);");
    sql += assetInsert(QStringLiteral("ZASSET"), int(rows.size()), rows.last());
    bool ok = runOn(db, sql);

    // Copy while the writer is still open: its last transaction is only in the "-wal" file.
    const QString target = package + QStringLiteral("/database/Photos.sqlite");
    QDir().mkpath(QFileInfo(target).absolutePath());
    for (const QString& suffix : { QString(), QStringLiteral("-wal"), QStringLiteral("-shm") })
        ok = QFile::copy(scratchDb + suffix, target + suffix) && ok;
    sqlite3_close(db);
    QDir(scratch).removeRecursively();
    return ok && writeAssetFiles(package, rows);
}

int rowsWithoutWal(const QString& dbPath, const QString& scratchFolder)
{
    QDir().mkpath(scratchFolder);
    const QString copy = scratchFolder + QStringLiteral("/alone.sqlite");
    QFile::remove(copy);
    if (!QFile::copy(dbPath, copy))
        return -1;
    sqlite3* db = nullptr;
    int count = -1;
    if (sqlite3_open_v2(copy.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT count(*) FROM ZASSET", -1, &statement, nullptr) == SQLITE_OK
            && sqlite3_step(statement) == SQLITE_ROW)
            count = sqlite3_column_int(statement, 0);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return count;
}

bool buildVersionDatabase(const QString& dbPath, const QList<VersionRow>& versions, const QList<MasterRow>& masters,
    const QList<FolderRow>& folders)
{
    QString sql = QStringLiteral(R"(
CREATE TABLE RKVersion (modelId INTEGER PRIMARY KEY, uuid VARCHAR, masterUuid VARCHAR, projectUuid VARCHAR,
                        name VARCHAR, isInTrash INTEGER, showInLibrary INTEGER, versionNumber INTEGER,
                        extendedDescription VARCHAR);
CREATE TABLE RKMaster (modelId INTEGER PRIMARY KEY, uuid VARCHAR, imagePath VARCHAR, fileName VARCHAR,
                       originalFileName VARCHAR, fileSize INTEGER, isInTrash INTEGER);
CREATE TABLE RKFolder (modelId INTEGER PRIMARY KEY, uuid VARCHAR, name VARCHAR, versionCount INTEGER);
)");
    for (const VersionRow& v : versions) {
        sql += QStringLiteral("INSERT INTO RKVersion VALUES (%1, %2, %3, %4, %5, %6, %7, %8, %9);")
                   .arg(v.modelId)
                   .arg(sqlText(v.uuid), sqlText(v.masterUuid), sqlText(v.projectUuid), sqlText(v.name))
                   .arg(v.isInTrash)
                   .arg(v.showInLibrary)
                   .arg(v.versionNumber)
                   .arg(sqlText(v.description));
    }
    for (const MasterRow& m : masters) {
        sql += QStringLiteral("INSERT INTO RKMaster (uuid, imagePath, fileName, originalFileName, fileSize, isInTrash) "
                              "VALUES (%1, %2, %3, %4, %5, %6);")
                   .arg(sqlText(m.uuid), sqlText(m.imagePath), sqlText(m.imagePath.section(QLatin1Char('/'), -1)),
                       sqlText(m.originalFileName))
                   .arg(m.fileSize)
                   .arg(m.isInTrash);
    }
    for (const FolderRow& f : folders)
        sql += QStringLiteral("INSERT INTO RKFolder (uuid, name, versionCount) VALUES (%1, %2, 0);")
                   .arg(sqlText(f.uuid), sqlText(f.name));
    return execSql(dbPath, sql);
}

bool writeAlbumFile(const QString& path, const std::optional<QString>& archivePath,
    const std::map<QString, AlbumEntry>& imageList, const std::optional<QString>& applicationVersion)
{
    QVariantMap list;
    for (const auto& [key, entry] : imageList) {
        QVariantMap paths;
        if (!entry.imagePath.isEmpty())
            paths.insert(QStringLiteral("ImagePath"), entry.imagePath);
        if (!entry.thumbPath.isEmpty())
            paths.insert(QStringLiteral("ThumbPath"), entry.thumbPath);
        list.insert(key, paths);
    }
    QVariantMap album { { QStringLiteral("Master Image List"), list } };
    if (archivePath)
        album.insert(QStringLiteral("Archive Path"), *archivePath);
    if (applicationVersion)
        album.insert(QStringLiteral("Application Version"), *applicationVersion);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const bool ok = PropertyList::writeFile(album, path);
    if (!ok)
        ADD_FAILURE() << "cannot write album file " << path.toStdString();
    return ok;
}

std::map<std::string, std::string> snapshotTree(const QString& root, const QStringList& excluded)
{
    std::map<std::string, std::string> tree;
    QDirIterator it(
        root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const bool skip = std::any_of(excluded.begin(), excluded.end(),
            [&](const QString& folder) { return path == folder || path.startsWith(folder + QLatin1Char('/')); });
        if (skip)
            continue;
        const QFileInfo info = it.fileInfo();
        QByteArray digest = QByteArrayLiteral("<dir>");
        if (!info.isDir() && !info.isFile()) {
            digest = QByteArrayLiteral("<special>"); // a FIFO would block the read
        } else if (!info.isDir()) {
            QFile file(path);
            digest = file.open(QIODevice::ReadOnly)
                ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()
                : QByteArrayLiteral("<unreadable>");
        }
        tree.emplace(path.mid(root.size()).toStdString(), digest.toStdString());
    }
    return tree;
}

std::vector<std::string> treeDifferences(
    const std::map<std::string, std::string>& before, const std::map<std::string, std::string>& after)
{
    std::vector<std::string> differences;
    for (const auto& [path, digest] : before) {
        const auto it = after.find(path);
        if (it == after.end())
            differences.push_back("removed " + path);
        else if (it->second != digest)
            differences.push_back("changed " + path);
    }
    for (const auto& [path, digest] : after) {
        if (!before.count(path))
            differences.push_back("added " + path);
    }
    return differences;
}

} // namespace vantrel::libraryfixtures
