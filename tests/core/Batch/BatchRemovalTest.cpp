// Removals change the batch in one pass, by identity, and forget exactly the removed paths; the
// remove buttons and mark-all choose by the batch's check marks.
#include <gtest/gtest.h>

#include <QStringList>

#include "core/Batch/BatchRemoval.h"

namespace vantrel {
namespace {

QList<PhotoFilePtr> makeBatch(const QString& checks)
{
    QList<PhotoFilePtr> batch;
    for (qsizetype i = 0; i < checks.size(); ++i) {
        auto photo = std::make_shared<PhotoFile>();
        photo->setFilePath(QStringLiteral("/p/%1.jpg").arg(i));
        photo->setIsSelected(checks[i] == 'x');
        batch.append(photo);
    }
    return batch;
}

QString paths(const QList<PhotoFilePtr>& batch)
{
    QStringList names;
    for (const auto& photo : batch)
        names << photo->filePath().mid(3, 1);
    return names.join(',');
}

TEST(BatchRemovalTest, RemoveCheckedKeepsOrderAndForgetsExactlyTheRemoved)
{
    const struct {
        QString checks;
        QString left;
        QString forgotten;
    } rows[] = {
        { "x.x..", "1,3,4", "0,2" },
        { "xxxxx", "", "0,1,2,3,4" },
        { ".....", "0,1,2,3,4", "" },
        { "", "", "" },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.checks.toStdString());
        QList<PhotoFilePtr> batch = makeBatch(row.checks);
        QStringList forgotten;
        BatchRemoval::removeChecked(batch, [&](const QString& p) { forgotten << p.mid(3, 1); });
        EXPECT_EQ(paths(batch), row.left);
        EXPECT_EQ(forgotten.join(','), row.forgotten);
    }
}

TEST(BatchRemovalTest, RemoveRecordsMatchesIdentityNotPath)
{
    QList<PhotoFilePtr> batch = makeBatch(".....");
    auto twin = std::make_shared<PhotoFile>(); // same path as photo 1, another record
    twin->setFilePath(batch[1]->filePath());
    QStringList forgotten;
    const qsizetype removed = BatchRemoval::removeRecords(
        batch, { batch[3], twin, batch[0] }, [&](const QString& p) { forgotten << p.mid(3, 1); });
    EXPECT_EQ(removed, 2);
    EXPECT_EQ(paths(batch), "1,2,4");
    EXPECT_EQ(forgotten.join(','), "0,3");
}

TEST(BatchRemovalTest, RemoveAtIgnoresIndexesOutsideTheBatch)
{
    for (const qsizetype index : { qsizetype(-1), qsizetype(3), qsizetype(99) }) {
        QList<PhotoFilePtr> batch = makeBatch("...");
        EXPECT_FALSE(BatchRemoval::removeAt(batch, index, {}));
        EXPECT_EQ(batch.size(), 3);
    }
    QList<PhotoFilePtr> batch = makeBatch("...");
    QString forgotten;
    EXPECT_TRUE(BatchRemoval::removeAt(batch, 2, [&](const QString& p) { forgotten = p; }));
    EXPECT_EQ(paths(batch), "0,1");
    EXPECT_EQ(forgotten, "/p/2.jpg");
}

TEST(BatchRemovalTest, HundredThousandCheckedPhotosGoInOnePass)
{
    QList<PhotoFilePtr> batch;
    for (int i = 0; i < 100'000; ++i) {
        auto photo = std::make_shared<PhotoFile>();
        photo->setIsSelected(i % 2 == 0);
        batch.append(photo);
    }
    int forgotten = 0;
    EXPECT_EQ(BatchRemoval::removeChecked(batch, [&](const QString&) { ++forgotten; }), 50'000);
    EXPECT_EQ(forgotten, 50'000);
    EXPECT_EQ(batch.size(), 50'000);
    EXPECT_FALSE(BatchRemoval::isAnyChecked(batch));
}

TEST(BatchRemovalTest, MarkAllAndTheSelection)
{
    const struct {
        QString before;
        QString after;
        bool allBefore;
        bool anyBefore;
    } rows[] = {
        { "xxx", "...", true, true },
        { "x.x", "xxx", false, true },
        { "...", "xxx", false, false },
        { "", "", false, false },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.before.toStdString());
        const QList<PhotoFilePtr> batch = makeBatch(row.before);
        EXPECT_EQ(BatchRemoval::isAllChecked(batch), row.allBefore);
        EXPECT_EQ(BatchRemoval::isAnyChecked(batch), row.anyBefore);
        EXPECT_EQ(BatchRemoval::getSelectedPhotoFiles(batch).size(), row.before.count('x'));
        BatchRemoval::markUnmarkAll(batch);
        QString after;
        for (const auto& photo : batch)
            after += photo->isSelected() ? 'x' : '.';
        EXPECT_EQ(after, row.after);
    }
}

TEST(BatchRemovalTest, RemoveButtonsChooseTheirAlert)
{
    const struct {
        int tag;
        bool subWindow;
        bool anyChecked;
        int alert;
    } rows[] = {
        { 0, false, true, 113 },
        { 0, false, false, 116 },
        { 1, false, false, 114 },
        { 1, false, true, 114 },
        { 1, true, true, 0 },
        { 0, true, true, 0 },
        { 2, false, true, 0 },
        { -1, false, true, 0 },
    };
    for (const auto& row : rows)
        EXPECT_EQ(BatchRemoval::alertForRemoveRequest(row.tag, row.subWindow, row.anyChecked), row.alert)
            << row.tag << row.subWindow << row.anyChecked;
}

} // namespace
} // namespace vantrel
