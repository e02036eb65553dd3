// Which paths a run takes for one file: every spelling the file system resolves to the same entry,
// and never two entries of different folders or different names.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ProcessingFakes.h"
#include "core/Processing/OutputIdentity.h"

namespace vantrel::test {
namespace {

TEST(OutputIdentity, SpellingsOfOneFileOverlapAndOthersDoNot)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString d = dir.path();
    writeFile(d + "/real/a.jpg", "a");
    writeFile(d + "/other/a.jpg", "b");
    ASSERT_TRUE(QFile::link(d + "/real", d + "/link"));
    ASSERT_TRUE(QFile::link(d + "/real/a.jpg", d + "/real/alias.jpg"));
    const QString e = QString::fromUtf8("\u00e9"); // precomposed
    const QString eCombining = QString::fromUtf8("e\u0301");

    struct Row {
        QString first;
        QString second;
        bool same;
    };
    const Row rows[] = {
        { d + "/real/a.jpg", d + "/real/a.jpg", true },
        { d + "/real/a.jpg", d + "/link/a.jpg", true }, // folder through a symbolic link
        { d + "/real/new.jpg", d + "/link/new.jpg", true }, // a name not written yet
        { d + "/real/a.jpg", d + "/other/../real/a.jpg", true },
        { d + "/real/a.jpg", d + "/link/../real/./a.jpg", true },
        { d + "/real/a.jpg", d + "/real/alias.jpg", true }, // a link is also the file it leads to
        { d + "/real/A.JPG", d + "/link/a.jpg", true }, // one file on a volume that ignores case
        { d + "/real/Stra\u00dfe.jpg", d + "/real/STRASSE.jpg", true },
        { d + "/real/" + e + ".jpg", d + "/real/" + eCombining + ".jpg", true },
        { d + "/none/a.jpg", d + "/none/./a.jpg", true }, // a folder not made yet
        { d + "/real/a.jpg", d + "/real/b.jpg", false },
        { d + "/real/a.jpg", d + "/other/a.jpg", false },
        { d + "/none/a.jpg", d + "/real/a.jpg", false },
        { d + "/real/a.jpg", QString(), false },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE((row.first + " | " + row.second).toStdString());
        EXPECT_EQ(OutputIdentity::of(row.first).overlaps(OutputIdentity::of(row.second)), row.same);
        EXPECT_EQ(OutputIdentity::of(row.second).overlaps(OutputIdentity::of(row.first)), row.same);
    }
}

TEST(OutputIdentity, APathTakenBeforeItsFolderWasMadeIsTheFileTakenAfter)
{
    // A kept hierarchy makes its output folders during the run, while photos bound for them are in
    // flight: the identity taken before the folder existed must still meet the one taken after,
    // whichever spelling the second uses.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString d = dir.path();
    ASSERT_TRUE(QDir().mkpath(d + "/out"));
    ASSERT_TRUE(QFile::link(d + "/out", d + "/link"));
    const OutputIdentity before = OutputIdentity::of(d + "/out/trip/deep/IMG_1.jpg");
    ASSERT_TRUE(QDir().mkpath(d + "/out/trip/deep"));
    for (const QString& after : { d + "/out/trip/deep/IMG_1.jpg", d + "/link/trip/deep/img_1.jpg" }) {
        SCOPED_TRACE(after.toStdString());
        EXPECT_TRUE(before.overlaps(OutputIdentity::of(after)));
        EXPECT_TRUE(OutputIdentity::of(after).overlaps(before));
    }
    EXPECT_FALSE(before.overlaps(OutputIdentity::of(d + "/out/trip/deep/IMG_2.jpg")));
}

} // namespace
} // namespace vantrel::test
