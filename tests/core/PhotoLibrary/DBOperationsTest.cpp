#include "core/PhotoLibrary/DBOperations.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/LibraryFixtures.h"

using namespace vantrel;
using namespace vantrel::libraryfixtures;

namespace {

QString buildDatabase(const QTemporaryDir& dir)
{
    const QString db = dir.filePath("Library.apdb");
    EXPECT_TRUE(buildVersionDatabase(db,
        { { 1, "v1", "m1", "p1" }, { 2, "v2", "m1", "p1" }, { 3, "v'3", "m'2", "p1" }, { 4, "", "m3", "p1" } },
        { { "m1", "a/1.jpg" }, { "m'2", "b/2.jpg", std::nullopt, 1, 1 }, { "m3", "" } },
        { { "p1", QStringLiteral("Trip") }, { "p'2", std::nullopt } }));
    EXPECT_TRUE(execSql(db,
        "CREATE TABLE Counter (id INTEGER PRIMARY KEY AUTOINCREMENT, note TEXT);"
        "INSERT INTO Counter (note) VALUES ('x'), (NULL), ('z');"
        "CREATE TABLE Empty (id INTEGER);"
        "UPDATE RKFolder SET versionCount = 5 WHERE uuid = 'p1';"));
    return db;
}

} // namespace

TEST(DBOperations, ReadingOperations)
{
    QTemporaryDir dir;
    const QString db = buildDatabase(dir);

    EXPECT_EQ(
        DBOperations::getDBTableName(db), QStringList({ "RKVersion", "RKMaster", "RKFolder", "Counter", "Empty" }));
    EXPECT_TRUE(DBOperations::tableHasData(db, "Counter"));
    EXPECT_FALSE(DBOperations::tableHasData(db, "Empty"));
    EXPECT_FALSE(DBOperations::tableHasData(db, "NoSuchTable"));
    EXPECT_TRUE(DBOperations::dbHasData(db));
    EXPECT_EQ(DBOperations::getColumnDataForDB(db, "Counter", "note"), QStringList({ "x", "z" }));
    EXPECT_EQ(DBOperations::getPragmaForMaster(db, "RKMaster").value("imagePath"), 2);
    EXPECT_EQ(DBOperations::getRowCountEventForDB(db, "RKVersion", "m1"), 2);
    EXPECT_EQ(DBOperations::getRowCountEventForDB(db, "RKVersion", "m'2"), 1);
    EXPECT_EQ(DBOperations::getpreviousEventCountForDB(db, "RKFolder", "p1"), 5);
    EXPECT_EQ(DBOperations::getpreviousEventCountForDB(db, "RKFolder", "nobody"), 0);
    EXPECT_EQ(DBOperations::getuuIDfromRkVersionTable("SELECT uuid FROM RKVersion ORDER BY modelId", db), "");
    EXPECT_EQ(DBOperations::getuuIDfromRkVersionTable("SELECT uuid FROM RKVersion WHERE modelId < 3", db), "v2");

    const auto nodes = DBOperations::getAllPhotoNodes(
        db, "RKMaster", DBOperations::getPragmaForMaster(db, "RKMaster"), "/lib/Masters");
    ASSERT_EQ(nodes.size(), 2); // m'2 is in the trash
    EXPECT_EQ(nodes[0].value("filePath").toString(), "/lib/Masters/a/1.jpg");
    EXPECT_EQ(nodes[0].value("uuid").toString(), "m1");

    // Rows that cannot make a path or a join are left out; a NULL folder name is "untitled event".
    EXPECT_EQ(DBOperations::getAllVersionPhotos(db, "RKVersion").size(), 3);
    DBOperations::InfoMap masters, folders;
    DBOperations::getAllMasterPhotos(db, "/lib/Masters/", "RKMaster", masters);
    EXPECT_EQ(masters.keys(), QStringList({ "m1" }));
    EXPECT_EQ(masters.value("m1").value("OriginalPath").toString(), "/lib/Masters/a/1.jpg");
    DBOperations::getAllFolders(db, "RKFolder", folders);
    EXPECT_EQ(folders.value("p'2").value("EventName").toString(), "untitled event");

    // Nothing is created for a missing database.
    EXPECT_TRUE(DBOperations::getAllVersionPhotos(dir.filePath("missing.apdb"), "RKVersion").isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing.apdb")));
}

TEST(DBOperations, ChangingOperationsBindTheirValues)
{
    QTemporaryDir dir;
    const QString db = buildDatabase(dir);

    EXPECT_TRUE(DBOperations::markInTrashForMaster(db, "RKMaster", "m1"));
    EXPECT_TRUE(DBOperations::markInTrashForVersion(db, "RKVersion", "v'3", "p'2", 7));
    EXPECT_TRUE(DBOperations::updateFolderCount(db, "RKFolder", "x' OR '1'='1", 99)); // matches nothing
    EXPECT_EQ(DBOperations::getpreviousEventCountForDB(db, "RKFolder", "p'2"), 7);
    EXPECT_EQ(DBOperations::getpreviousEventCountForDB(db, "RKFolder", "p1"), 5);
    EXPECT_EQ(DBOperations::getuuIDfromRkVersionTable("SELECT uuid FROM RKVersion WHERE isInTrash = 1", db), "v'3");
    EXPECT_EQ(
        DBOperations::getAllPhotoNodes(db, "RKMaster", DBOperations::getPragmaForMaster(db, "RKMaster"), "").size(), 1);

    EXPECT_TRUE(DBOperations::tableEmptyData(db, "Counter"));
    EXPECT_FALSE(DBOperations::tableHasData(db, "Counter"));
    EXPECT_TRUE(DBOperations::dbEmptyData(db));
    EXPECT_FALSE(DBOperations::dbHasData(db));
    EXPECT_TRUE(DBOperations::vacuumDB(db));
    EXPECT_FALSE(DBOperations::vacuumDB(dir.filePath("missing.apdb")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing.apdb")));
}
