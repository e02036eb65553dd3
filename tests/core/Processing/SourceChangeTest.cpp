// A source rewritten in place while its photo is written fails that photo: nothing is renamed
// into place (an older output stays as it was), no temporary is left, and the result says why.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "RewritingFileSystem.h"
#include "core/DataBeans/PhotoFile.h"
#include "core/Processing/OutputPathBuilder.h"
#include "core/Processing/PhotoPipeline.h"
#include "support/TestImages.h"

namespace vantrel {
namespace {

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(SourceChangeTest, APhotoRewrittenWhileItIsReadIsNotWritten)
{
    using At = RewritingFileSystem::At;
    const struct {
        const char* name;
        const char* source;
        int format; ///< selectedFileFormat; -1 keeps the source's format (a copy when nothing changes)
        bool halfSize;
        At at; ///< Never: rewritten after its header was read, before its write began
    } cases[] = {
        { "copied", "photo.jpg", -1, false, At::Copy },
        { "streamed into another format", "photo.jpg", 2, false, At::Temporary },
        { "decoded and resized", "photo.jpg", 3, true, At::Temporary },
        { "bmp decoded from its copy", "photo.bmp", 3, true, At::Temporary },
        { "resized by the sizes of its former header", "photo.jpg", 3, true, At::Never },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString source = dir.filePath(c.source);
        ASSERT_TRUE(testimages::writePattern(source, 640, 480));
        const QString other = dir.filePath(QStringLiteral("other.") + QFileInfo(source).suffix());
        ASSERT_TRUE(testimages::writePattern(other, 320, 200));
        const QByteArray replacement = contentsOf(other);

        PhotoJobSettings settings;
        settings.ouptputFolder = dir.filePath("out");
        settings.isKeepOriginalSize = !c.halfSize;
        settings.isPercentSize = c.halfSize;
        settings.perWidth = settings.perHeight = 50;
        settings.formatOption = c.format < 0 ? 0 : 1;
        settings.selectedFileFormat = c.format < 0 ? 0 : c.format;
        const PhotoFilePtr photo = PhotoFile::initWithFileUrl(source, c.source, false);
        const QString output = OutputPathBuilder(settings).updatedFilePathWithSetting(*photo);
        ASSERT_TRUE(QDir().mkpath(settings.ouptputFolder));
        ASSERT_TRUE(testimages::writeBytes(output, "an older output"));

        const auto write = [&](At at, bool rewriteAfterPlan = false) {
            const auto fileSystem = std::make_shared<RewritingFileSystem>(at, source, replacement);
            const PhotoPipeline pipeline(settings, fileSystem);
            const PhotoPlan plan = pipeline.planFor(*photo);
            if (rewriteAfterPlan)
                fileSystem->rewrite();
            return pipeline.processPhoto(*photo, plan, output);
        };
        const PhotoWriteResult changed = write(c.at, c.at == At::Never);
        EXPECT_EQ(changed.status, ProcessStatus::NotProcessed);
        EXPECT_TRUE(changed.sourceChanged);
        EXPECT_EQ(contentsOf(output), "an older output");
        EXPECT_EQ(QDir(settings.ouptputFolder).entryList(QDir::Files | QDir::Hidden),
            QStringList { QFileInfo(output).fileName() })
            << "no temporary is left behind";

        // The same write of the file as it is now, left alone, is written.
        const PhotoWriteResult unchanged = write(At::Never);
        EXPECT_EQ(unchanged.status, ProcessStatus::Processed);
        EXPECT_FALSE(unchanged.sourceChanged);
        EXPECT_GT(QFileInfo(output).size(), 100);
    }
}

} // namespace
} // namespace vantrel
