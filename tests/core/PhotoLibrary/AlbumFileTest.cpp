#include "core/PhotoLibrary/AlbumFile.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/LibraryFixtures.h"

using namespace vantrel;

namespace {

const char* kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\">\n";

// An album as such files are laid out: the kept keys among albums, rolls and per-image fields
// that the reader must skip, including nested arrays and dictionaries with the same key names.
const char* kFullBody = R"(<dict>
  <key>Application Version</key><string>9.4.1</string>
  <key>List of Albums</key>
  <array><dict><key>AlbumName</key><string>Trip</string>
    <key>Master Image List</key><dict><key>99</key><dict><key>ImagePath</key><string>/not/this</string></dict></dict>
    <key>KeyList</key><array><string>1</string><string>2</string></array></dict></array>
  <key>Archive Path</key><string>/home/user/Pictures/Trip Library.photolibrary</string>
  <key>Master Image List</key>
  <dict>
    <key>1</key>
    <dict><key>Caption</key><string>A</string><key>Keywords</key><array><string>k</string></array>
      <key>DateAsTimerInterval</key><real>387408214.0</real>
      <key>ImagePath</key><string>/home/user/Pictures/Trip Library.photolibrary/Previews/a&amp;b.jpg</string>
      <key>ThumbPath</key><string>/home/user/Pictures/Trip Library.photolibrary/Thumbnails/a.jpg</string>
      <key>Ratings</key><dict><key>ThumbPath</key><string>/not/this</string></dict></dict>
    <key>2</key><dict><key>ThumbPath</key><string></string></dict>
    <key>3</key><string>not a dictionary</string>
  </dict>
  <key>Archive Path</key><true/>
</dict>
</plist>
)";

QByteArray album(const QByteArray& body)
{
    return QByteArray(kHead) + body;
}

std::optional<AlbumFile> readBytes(const QByteArray& bytes, AlbumFile::Scope scope = AlbumFile::Scope::Everything)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return AlbumFile::read(&buffer, scope);
}

} // namespace

TEST(AlbumFile, KeepsOnlyTheKeptKeysOfTheRootAndOfEachImage)
{
    const std::optional<AlbumFile> read = readBytes(album(kFullBody));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->applicationVersion, "9.4.1");
    // A later "Archive Path" that is not a text replaces the first, as a dictionary read would.
    EXPECT_TRUE(read->archivePath.isNull());
    ASSERT_EQ(read->masterImageList.size(), 3);
    const AlbumFile::Paths first = read->masterImageList.value("1");
    EXPECT_EQ(first.imagePath, "/home/user/Pictures/Trip Library.photolibrary/Previews/a&b.jpg");
    EXPECT_EQ(first.thumbPath, "/home/user/Pictures/Trip Library.photolibrary/Thumbnails/a.jpg");
    const AlbumFile::Paths second = read->masterImageList.value("2");
    EXPECT_TRUE(second.imagePath.isNull());
    EXPECT_TRUE(second.thumbPath.isEmpty() && !second.thumbPath.isNull());
    const AlbumFile::Paths third = read->masterImageList.value("3");
    EXPECT_TRUE(third.imagePath.isNull() && third.thumbPath.isNull());
}

TEST(AlbumFile, DamagedOrForeignFilesGiveNothing)
{
    QByteArray full = album(kFullBody);
    const struct {
        const char* name;
        QByteArray bytes;
        bool versionRead; // the version-only read stops before the damage
    } cases[] = {
        { "cut short", full.left(full.indexOf("<key>3</key>")), true },
        { "root is an array", album("<array><string>9</string></array></plist>"), false },
        { "element after the root", album("<dict></dict><dict></dict></plist>"), false },
        { "text in a dictionary", album("<dict>stray<key>Application Version</key><string>9</string></dict></plist>"),
            false },
        { "nested element in a key", album("<dict><key>Application <b/>Version</key><string>9</string></dict></plist>"),
            false },
        { "entity declared",
            "<?xml version=\"1.0\"?><!DOCTYPE plist [<!ENTITY e \"/etc/passwd\">]><plist><dict>"
            "<key>Application Version</key><string>&e;</string></dict></plist>",
            false },
        { "not XML", "Application Version 9", false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(readBytes(c.bytes).has_value());
        const std::optional<AlbumFile> version = readBytes(c.bytes, AlbumFile::Scope::ApplicationVersion);
        EXPECT_EQ(version.has_value(), c.versionRead);
        if (version)
            EXPECT_EQ(version->applicationVersion, "9.4.1");
    }
}

TEST(AlbumFile, VersionReadStopsAtTheVersionAndOtherTypesReadAsText)
{
    QByteArray images;
    for (int i = 0; i < 20000; ++i)
        images += "<key>" + QByteArray::number(i) + "</key><dict><key>ImagePath</key><string>/p/"
            + QByteArray::number(i) + ".jpg</string></dict>\n";
    const QByteArray bytes = album("<dict><key>Application Version</key><integer> 8 </integer>"
                                   "<key>Master Image List</key><dict>"
        + images + "</dict></dict></plist>");

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<AlbumFile> version = AlbumFile::read(&buffer, AlbumFile::Scope::ApplicationVersion);
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(version->applicationVersion, "8");
    EXPECT_TRUE(version->masterImageList.isEmpty());
    EXPECT_LT(buffer.pos(), 64 * 1024) << "of " << bytes.size() << " bytes";

    const std::optional<AlbumFile> whole = readBytes(bytes);
    ASSERT_TRUE(whole.has_value());
    EXPECT_EQ(whole->masterImageList.size(), 20000);
    EXPECT_EQ(whole->masterImageList.value("19999").imagePath, "/p/19999.jpg");
}

TEST(AlbumFile, ReadsOnlyRegularFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("AlbumData.xml");
    ASSERT_TRUE(libraryfixtures::writeAlbumFile(
        path, QStringLiteral("/home/user/Lib"), { { "7", { "/i.jpg", "" } } }, QStringLiteral("9.0")));
    const std::optional<AlbumFile> read = AlbumFile::readFile(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->archivePath, "/home/user/Lib");
    EXPECT_EQ(read->masterImageList.value("7").imagePath, "/i.jpg");
    EXPECT_FALSE(AlbumFile::readFile(dir.path()).has_value());
    EXPECT_FALSE(AlbumFile::readFile(dir.filePath("missing.xml")).has_value());
}
