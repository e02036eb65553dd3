// Memory and time of reading a large iPhoto/Aperture library: its album file and its database.
//
//   bench_album make <folder> [--photos N] [--files]
//                                            writes "<folder>/Bench Library.photolibrary" with N
//                                            photos (default 100,000): an album file laid out as
//                                            such files are (about 1.1 kB per photo, albums and
//                                            rolls listing every photo) and the versions, masters
//                                            and folders of its database; --files also writes
//                                            each photo's master, preview and thumbnail as an
//                                            empty file, so that every path is looked up for real
//   bench_album album <package>              reads the album file as the library reader does
//   bench_album tree <package>               parses the album file whole into a property-list tree
//                                            (what the reader did before; for comparison)
//   bench_album library <package>            the whole read of the package (album and database)
//
// Each reading mode prints its wall time and the process's peak resident memory, so run each in
// a process of its own; "baseline" prints the peak of a process that only loaded the libraries.
#include <cstdio>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include "core/PhotoLibrary/AlbumFile.h"
#include "core/PhotoLibrary/DataFiller.h"
#include "platform/PropertyList.h"

namespace {

constexpr int kPhotosPerRoll = 250;

long peakRssKiB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int usage()
{
    std::fprintf(stderr,
        "usage: bench_album make <folder> [--photos N] | album <package> | tree <package> | library <package> | "
        "baseline\n");
    return 2;
}

QByteArray uuidFor(const char* kind, int i)
{
    return QByteArray(kind) + QByteArray::number(i).rightJustified(20, '0');
}

QByteArray dayFolder(int i)
{
    const int day = i / kPhotosPerRoll;
    return QByteArray::number(2005 + day / 365) + '/' + QByteArray::number(1 + (day / 31) % 12).rightJustified(2, '0')
        + '/' + QByteArray::number(1 + day % 28).rightJustified(2, '0');
}

bool writeAlbum(const QString& path, const QByteArray& package, int photos)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray out;
    auto flush = [&] {
        file.write(out);
        out.clear();
    };
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
           "\t<key>Application Version</key>\n\t<string>9.6.1</string>\n"
           "\t<key>Archive Path</key>\n\t<string>"
        + package + "</string>\n\t<key>List of Albums</key>\n\t<array>\n";
    for (const char* album : { "Photos", "Last Import", "Flagged" }) {
        out += "\t\t<dict>\n\t\t\t<key>AlbumName</key>\n\t\t\t<string>" + QByteArray(album)
            + "</string>\n\t\t\t<key>KeyList</key>\n\t\t\t<array>\n";
        for (int i = 1; i <= photos; ++i) {
            out += "\t\t\t\t<string>" + QByteArray::number(i) + "</string>\n";
            if (out.size() > (1 << 20))
                flush();
        }
        out += "\t\t\t</array>\n\t\t</dict>\n";
    }
    out += "\t</array>\n\t<key>List of Rolls</key>\n\t<array>\n";
    for (int roll = 0; roll * kPhotosPerRoll < photos; ++roll) {
        out += "\t\t<dict>\n\t\t\t<key>RollID</key>\n\t\t\t<integer>" + QByteArray::number(roll)
            + "</integer>\n\t\t\t<key>RollName</key>\n\t\t\t<string>" + dayFolder(roll * kPhotosPerRoll)
            + "</string>\n\t\t\t<key>KeyList</key>\n\t\t\t<array>\n";
        for (int i = roll * kPhotosPerRoll + 1; i <= std::min(photos, (roll + 1) * kPhotosPerRoll); ++i)
            out += "\t\t\t\t<string>" + QByteArray::number(i) + "</string>\n";
        out += "\t\t\t</array>\n\t\t</dict>\n";
        if (out.size() > (1 << 20))
            flush();
    }
    out += "\t</array>\n\t<key>Master Image List</key>\n\t<dict>\n";
    for (int i = 1; i <= photos; ++i) {
        const QByteArray n = QByteArray::number(i);
        const QByteArray folder = dayFolder(i - 1);
        out += "\t\t<key>" + n + "</key>\n\t\t<dict>\n" + "\t\t\t<key>MediaType</key>\n\t\t\t<string>Image</string>\n"
            + "\t\t\t<key>Caption</key>\n\t\t\t<string>IMG_" + n + "</string>\n"
            + "\t\t\t<key>Comment</key>\n\t\t\t<string></string>\n" + "\t\t\t<key>GUID</key>\n\t\t\t<string>"
            + uuidFor("g", i) + "</string>\n" + "\t\t\t<key>Roll</key>\n\t\t\t<integer>"
            + QByteArray::number((i - 1) / kPhotosPerRoll) + "</integer>\n"
            + "\t\t\t<key>Rating</key>\n\t\t\t<integer>0</integer>\n" + "\t\t\t<key>ImagePath</key>\n\t\t\t<string>"
            + package + "/Previews/" + folder + "/" + uuidFor("v", i) + "/IMG_" + n + ".jpg</string>\n"
            + "\t\t\t<key>ThumbPath</key>\n\t\t\t<string>" + package + "/Thumbnails/" + folder + "/" + uuidFor("v", i)
            + "/IMG_" + n + ".jpg</string>\n" + "\t\t\t<key>OriginalPath</key>\n\t\t\t<string>" + package + "/Masters/"
            + folder + "/IMG_" + n + ".JPG</string>\n" + "\t\t\t<key>DateAsTimerInterval</key>\n\t\t\t<real>"
            + QByteArray::number(300000000 + i * 60) + ".000000</real>\n"
            + "\t\t\t<key>ModDateAsTimerInterval</key>\n\t\t\t<real>" + QByteArray::number(300000000 + i * 61)
            + ".000000</real>\n" + "\t\t\t<key>DateAsTimerIntervalGMT</key>\n\t\t\t<real>"
            + QByteArray::number(300003600 + i * 60) + ".000000</real>\n"
            + "\t\t\t<key>Keywords</key>\n\t\t\t<array>\n\t\t\t\t<string>" + QByteArray::number(i % 7)
            + "</string>\n\t\t\t</array>\n\t\t</dict>\n";
        if (out.size() > (1 << 20))
            flush();
    }
    out += "\t</dict>\n</dict>\n</plist>\n";
    flush();
    return file.error() == QFileDevice::NoError;
}

bool exec(sqlite3* db, const char* sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool writeDatabase(const QString& path, int photos)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    bool ok = exec(db,
        "CREATE TABLE RKVersion (modelId INTEGER PRIMARY KEY, uuid VARCHAR, masterUuid VARCHAR, "
        "projectUuid VARCHAR, name VARCHAR, isInTrash INTEGER, showInLibrary INTEGER, "
        "versionNumber INTEGER);"
        "CREATE TABLE RKMaster (modelId INTEGER PRIMARY KEY, uuid VARCHAR, imagePath VARCHAR, "
        "isInTrash INTEGER);"
        "CREATE TABLE RKFolder (modelId INTEGER PRIMARY KEY, uuid VARCHAR, name VARCHAR);"
        "BEGIN;");
    sqlite3_stmt* version = nullptr;
    sqlite3_stmt* master = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO RKVersion VALUES (?, ?, ?, ?, ?, 0, 1, 1)", -1, &version, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO RKMaster VALUES (?, ?, ?, 0)", -1, &master, nullptr);
    for (int i = 1; ok && i <= photos; ++i) {
        const QByteArray v = uuidFor("v", i), m = uuidFor("m", i), p = uuidFor("p", (i - 1) / kPhotosPerRoll);
        const QByteArray name = "IMG_" + QByteArray::number(i);
        const QByteArray image = dayFolder(i - 1) + "/IMG_" + QByteArray::number(i) + ".JPG";
        sqlite3_bind_int(version, 1, i);
        sqlite3_bind_text(version, 2, v.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(version, 3, m.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(version, 4, p.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(version, 5, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(master, 1, i);
        sqlite3_bind_text(master, 2, m.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(master, 3, image.constData(), -1, SQLITE_TRANSIENT);
        ok = sqlite3_step(version) == SQLITE_DONE && sqlite3_step(master) == SQLITE_DONE;
        sqlite3_reset(version);
        sqlite3_reset(master);
    }
    sqlite3_finalize(version);
    sqlite3_finalize(master);
    for (int roll = 0; ok && roll * kPhotosPerRoll < photos; ++roll) {
        const QByteArray sql = "INSERT INTO RKFolder (uuid, name) VALUES ('" + uuidFor("p", roll) + "', 'Roll "
            + QByteArray::number(roll) + "');";
        ok = exec(db, sql.constData());
    }
    ok = exec(db, "COMMIT;") && ok;
    sqlite3_close(db);
    return ok;
}

bool writeEmptyFiles(const QString& package, int photos)
{
    for (int i = 1; i <= photos; ++i) {
        const QString folder = QString::fromLatin1(dayFolder(i - 1));
        const QString version = QString::fromLatin1(uuidFor("v", i));
        const QString name = QStringLiteral("IMG_%1").arg(i);
        const QString paths[] = { package + "/Masters/" + folder + "/" + name + ".JPG",
            package + "/Previews/" + folder + "/" + version + "/" + name + ".jpg",
            package + "/Thumbnails/" + folder + "/" + version + "/" + name + ".jpg" };
        for (const QString& path : paths) {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly)
                && !(QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly)))
                return false;
        }
    }
    return true;
}

int make(const QString& folder, int photos, bool files)
{
    const QString package = QDir(folder).absoluteFilePath(QStringLiteral("Bench Library.photolibrary"));
    if (QFileInfo::exists(package)) {
        std::fprintf(stderr, "%s exists already\n", qPrintable(package));
        return 1;
    }
    if (!QDir().mkpath(package + QStringLiteral("/Database/apdb"))
        || !QDir().mkpath(package + QStringLiteral("/Masters"))
        || !writeAlbum(package + QStringLiteral("/AlbumData.xml"), QFile::encodeName(package), photos)
        || !writeDatabase(package + QStringLiteral("/Database/apdb/Library.apdb"), photos)
        || (files && !writeEmptyFiles(package, photos))) {
        std::fprintf(stderr, "cannot write the library\n");
        return 1;
    }
    std::printf("%s: %d photos, album file %.1f MB\n", qPrintable(package), photos,
        QFileInfo(package + QStringLiteral("/AlbumData.xml")).size() / 1e6);
    return 0;
}

void report(const char* what, qint64 items, const QElapsedTimer& clock)
{
    std::printf("%s: %lld entries  %.2f s  peak RSS %.1f MB\n", what, static_cast<long long>(items),
        clock.nsecsElapsed() / 1e9, peakRssKiB() / 1024.0);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("baseline")) {
        std::printf("baseline: peak RSS %.1f MB\n", peakRssKiB() / 1024.0);
        return 0;
    }
    if (args.size() < 2)
        return usage();
    const QString mode = args.at(0);
    const QString target = args.at(1);
    if (mode == QLatin1String("make")) {
        const int index = args.indexOf(QStringLiteral("--photos"));
        const int photos = index > 0 ? args.value(index + 1).toInt() : 100000;
        return photos > 0 ? make(target, photos, args.contains(QStringLiteral("--files"))) : usage();
    }
    const QString albumFile = target + QStringLiteral("/AlbumData.xml");
    QElapsedTimer clock;
    clock.start();
    if (mode == QLatin1String("album")) {
        const std::optional<vantrel::AlbumFile> album = vantrel::AlbumFile::readFile(albumFile);
        if (!album)
            return 1;
        report("album (streamed, kept paths only)", album->masterImageList.size(), clock);
    } else if (mode == QLatin1String("tree")) {
        const std::optional<QVariant> tree = vantrel::PropertyList::readFile(albumFile);
        if (!tree)
            return 1;
        report("album (whole tree)", tree->toMap().value(QStringLiteral("Master Image List")).toMap().size(), clock);
    } else if (mode == QLatin1String("library")) {
        vantrel::DataFiller filler;
        filler.setLibPath(target);
        filler.fetchImagesFromLib(target);
        report("library (album and database)", filler.arrImagePaths().size(), clock);
    } else {
        return usage();
    }
    return 0;
}
