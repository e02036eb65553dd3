#include "JourneyFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>

#include <exiv2/exiv2.hpp>
#include <sqlite3.h>

#include "platform/imaging/VipsInclude.h"
#include "support/TestImages.h"

namespace vantrel::journeys {

PhotoFolder::PhotoFolder(const QString& root)
    : m_root(root)
{
    m_photos = {
        { QStringLiteral("landscape.jpg"), { 160, 120 }, 1 },
        { QStringLiteral("portrait.png"), { 90, 140 }, 1 },
        { QStringLiteral("trip/turned.jpg"), { 160, 120 }, 6 },
        { QStringLiteral("trip/scan.tif"), { 150, 100 }, 1 },
        { QStringLiteral("trip/deeper/upside.jpg"), { 120, 80 }, 3 },
        { QStringLiteral("trip/deeper/left.jpeg"), { 100, 80 }, 8 },
    };
    for (const JourneyPhoto& photo : m_photos) {
        const QString file = path(photo);
        QDir().mkpath(QFileInfo(file).path());
        m_ok = m_ok && testimages::writePattern(file, photo.stored.width(), photo.stored.height());
        if (file.endsWith(QLatin1String(".jpg")) || file.endsWith(QLatin1String(".jpeg"))) {
            m_ok = m_ok && testimages::setCameraTags(file);
            if (photo.orientation != 1)
                m_ok = m_ok && testimages::setOrientation(file, photo.orientation);
        }
    }
    m_ok = m_ok && testimages::writeEmptyFile(m_root + "/empty.jpg");
    m_ok = m_ok && testimages::writeBytes(m_root + "/trip/notes.jpg", "not a photo, only text\n");
}

QStringList PhotoFolder::fileNames() const
{
    QStringList names;
    for (const JourneyPhoto& photo : m_photos)
        names << QFileInfo(photo.relativePath).fileName();
    names.sort();
    return names;
}

bool writeTinyPhotos(const QString& folder, int count, int width, int height)
{
    QDir().mkpath(folder);
    for (int i = 1; i <= count; ++i)
        if (!testimages::writePattern(
                folder + QStringLiteral("/photo%1.jpg").arg(i, 3, 10, QLatin1Char('0')), width, height))
            return false;
    return true;
}

namespace {

QString formatFromMagic(const QByteArray& head)
{
    if (head.startsWith("\xFF\xD8\xFF"))
        return QStringLiteral("jpeg");
    if (head.startsWith("\x89PNG"))
        return QStringLiteral("png");
    if (head.startsWith("II*") || head.startsWith("MM"))
        return QStringLiteral("tiff");
    if (head.startsWith("BM"))
        return QStringLiteral("bmp");
    if (head.startsWith("GIF8"))
        return QStringLiteral("gif");
    if (head.mid(4, 4) == "jP  " || head.startsWith("\xFF\x4F\xFF\x51"))
        return QStringLiteral("jp2");
    return QStringLiteral("unknown");
}

} // namespace

FileFacts factsOf(const QString& path)
{
    FileFacts facts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return facts;
    facts.format = formatFromMagic(file.read(16));
    file.close();
    try {
        vips::VImage image = vips::VImage::new_from_file(path.toUtf8().constData());
        facts.size = QSize(image.width(), image.height());
        if (image.get_typeof("orientation") != 0)
            facts.orientation = image.get_int("orientation");
        facts.readable = true;
    } catch (const vips::VError&) {
        facts.readable = false;
    }
    // The tags as exiv2 reads them (libvips shows no EXIF block for TIFF, whose tags are IFD entries).
    try {
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path.toStdString());
        image->readMetadata();
        const Exiv2::ExifData& exif = image->exifData();
        facts.hasCameraMake = exif.findKey(Exiv2::ExifKey("Exif.Image.Make")) != exif.end();
        const auto orientation = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
        if (orientation != exif.end())
            facts.orientation = int(orientation->toLong());
    } catch (const Exiv2::Error&) {
        facts.hasCameraMake = false;
    }
    return facts;
}

QStringList filesIn(const QString& folder, bool recursive)
{
    QStringList names;
    QDirIterator it(
        folder, QDir::Files | QDir::Hidden, recursive ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    while (it.hasNext()) {
        it.next();
        names << (recursive ? QDir(folder).relativeFilePath(it.filePath()) : it.fileName());
    }
    names.sort();
    return names;
}

QString logDatabasePath()
{
    return qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Vantrel/Vantrel.db");
}

QList<QMap<QString, QString>> logRows(const QString& table)
{
    QList<QMap<QString, QString>> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(logDatabasePath().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return rows;
    }
    sqlite3_stmt* statement = nullptr;
    const QByteArray sql = "SELECT * FROM " + table.toUtf8() + " ORDER BY rowid";
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            QMap<QString, QString> row;
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
                row.insert(
                    QString::fromUtf8(sqlite3_column_name(statement, c)), text ? QString::fromUtf8(text) : QString());
            }
            rows.append(row);
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

} // namespace vantrel::journeys
