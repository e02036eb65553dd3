// A photo that is copied rather than encoded (same format, same size) is put in place whole, as
// the version its plan saw once that version has stood unchanged for a moment, or not at all: a
// copy that stops short on a full disk, or one taken while another program was rewriting the
// photo, never stands under the output's name.
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <functional>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>

#include "core/DataBeans/PhotoFile.h"
#include "core/Processing/OutputFileSystem.h"
#include "core/Processing/OutputPathBuilder.h"
#include "core/Processing/PhotoPipeline.h"
#include "core/Processing/ProcessingPhotoPipeline.h"
#include "core/Processing/SourceIdentity.h"
#include "platform/imaging/ImageEncoder.h"
#include "support/TestImages.h"

namespace vantrel {
namespace {

void setModified(const QString& path, time_t seconds, long nanoseconds)
{
    const struct timespec times[2] = { { seconds, nanoseconds }, { seconds, nanoseconds } };
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

/// A job that writes "photo.jpg", a `width` x `height` pattern made in `dir`, at its own size into
/// the folder "out" there (made), in the format `format` (-1 keeps the photo's own: a copy).
void makeJob(const QTemporaryDir& dir, int width, int height, int format, QString& source, PhotoJobSettings& job)
{
    ASSERT_TRUE(dir.isValid());
    source = dir.filePath(QStringLiteral("photo.jpg"));
    ASSERT_TRUE(testimages::writePattern(source, width, height));
    job.isKeepOriginalSize = true;
    job.ouptputFolder = dir.filePath(QStringLiteral("out"));
    job.formatOption = format < 0 ? 0 : 1;
    job.selectedFileFormat = std::max(0, format);
    ASSERT_TRUE(QDir().mkpath(job.ouptputFolder));
}

/// The real file system whose copy writes only the first half of the source and says it is done,
/// as a copy routine that misses a failed write does.
class ShortCopyFileSystem : public OutputFileSystem {
public:
    int copyContents(const QString& source, const QString& target) override
    {
        QFile out(target);
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            const QByteArray bytes = testimages::readBytes(source);
            out.write(bytes.left(bytes.size() / 2));
        }
        return 0;
    }
};

/// Files written by this process may grow no further than `bytes` while it lives: the writes past
/// it fail (EFBIG) as they would on a full disk, on the real file system.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    struct rlimit m_old { };
    void (*m_oldHandler)(int) = nullptr;
};

TEST(OutputCopyTest, ACopyIsTheWholePlannedVersionOrNothing)
{
    const struct {
        const char* name;
        /// What happens to the source between its plan and its write.
        std::function<void(const QString& source, const QByteArray& bytes)> afterPlan;
        bool shortCopy; ///< the copy stops half-way and reports no error
        bool diskFills; ///< the disk fills half-way through the copy
        bool written;
        bool sourceChanged;
    } cases[] = {
        { "left alone", nullptr, false, false, true, false },
        { "the disk fills during the copy", nullptr, false, true, false, false },
        { "a short copy that reports no error", nullptr, true, false, false, false },
        { "cut short by a rewrite that paused",
            [](const QString& source, const QByteArray&) { ASSERT_TRUE(QFile(source).resize(2000)); }, false, false,
            false, true },
        { "rewritten at the same size within the same second",
            [](const QString& source, const QByteArray& bytes) {
                QByteArray other = bytes;
                other[other.size() - 3] = char(other[other.size() - 3] ^ 0x55);
                ASSERT_TRUE(testimages::writeBytes(source, other));
                setModified(source, 1'700'000'000, 900'000'000);
            },
            false, false, false, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        QString source;
        PhotoJobSettings settings;
        ASSERT_NO_FATAL_FAILURE(makeJob(dir, 1200, 900, -1, source, settings));
        setModified(source, 1'700'000'000, 100'000'000);
        const QByteArray bytes = testimages::readBytes(source);
        ASSERT_GT(bytes.size(), 8000);

        const PhotoFilePtr photo = PhotoFile::initWithFileUrl(source, QStringLiteral("photo.jpg"), false);
        const QString output = OutputPathBuilder(settings).updatedFilePathWithSetting(*photo);
        ASSERT_TRUE(testimages::writeBytes(output, "an older output"));

        const PhotoPipeline pipeline(
            settings, c.shortCopy ? std::make_shared<ShortCopyFileSystem>() : std::shared_ptr<OutputFileSystem>());
        ASSERT_TRUE(pipeline.shouldCopy(*photo, output));
        const PhotoPlan plan = pipeline.planFor(*photo);
        if (c.afterPlan)
            c.afterPlan(source, bytes);
        PhotoWriteResult result;
        {
            std::optional<FileSizeLimit> limit;
            if (c.diskFills)
                limit.emplace(rlim_t(bytes.size() / 2));
            result = pipeline.processPhoto(*photo, plan, output);
        }

        EXPECT_EQ(result.status, c.written ? ProcessStatus::Processed : ProcessStatus::NotProcessed);
        EXPECT_EQ(result.sourceChanged, c.sourceChanged);
        EXPECT_EQ(testimages::readBytes(output), c.written ? bytes : QByteArray("an older output"));
        if (c.written) {
            EXPECT_EQ(result.outputSize, bytes.size());
        }
        if (c.diskFills) {
            EXPECT_EQ(result.errorNumber, EFBIG) << qPrintable(result.error);
        }
        EXPECT_EQ(QDir(settings.ouptputFolder).entryList(QDir::Files | QDir::Hidden),
            QStringList { QFileInfo(output).fileName() })
            << "no temporary is left behind";
    }
}

/// The real file system, with another program rewriting the source in place in pieces: each time
/// the pipeline sleeps, that writer's pause ends and its next piece is appended. The clock reads
/// the source's modification time plus `sinceWritten`, and runs only while the pipeline sleeps.
class PieceWriterFileSystem : public OutputFileSystem {
public:
    PieceWriterFileSystem(QString source, QList<QByteArray> pieces, qint64 sinceWritten)
        : m_source(std::move(source))
        , m_pieces(std::move(pieces))
    {
        const SourceIdentity written = SourceIdentity::of(m_source);
        m_clock = written.modifiedSeconds * 1'000'000'000 + written.modifiedNanoseconds + sinceWritten;
    }
    qint64 wallClock() override { return m_clock + m_slept; }
    void sleepFor(qint64 nanoseconds) override
    {
        m_slept += nanoseconds;
        if (m_pieces.isEmpty())
            return;
        QFile file(m_source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append));
        file.write(m_pieces.takeFirst());
    }
    qint64 slept() const { return m_slept; }

private:
    QString m_source;
    QList<QByteArray> m_pieces;
    qint64 m_clock = 0;
    qint64 m_slept = 0;
};

TEST(OutputCopyTest, APhotoBeingRewrittenIsCopiedOnlyOnceItSettles)
{
    constexpr qint64 kHour = 3600'000'000'000;
    constexpr qint64 kSettle = SourceIdentity::kSettleNanoseconds;
    enum class Written { Nothing, Whole, Prefix };
    const struct {
        const char* name;
        bool prefix; ///< the source holds the first quarter of the photo when planned, else all of it
        bool piecesToCome; ///< the writer appends the other three quarters in pauses
        qint64 sinceWritten; ///< the source's age when planned
        Written written;
        qint64 slept;
    } cases[] = {
        { "plan and copy in one pause of the rewrite", true, true, 0, Written::Nothing, kSettle },
        { "the rewrite's last piece written a moment before", false, false, 0, Written::Whole, kSettle },
        { "a truncated photo that nothing changes", true, false, 0, Written::Prefix, kSettle },
        { "edited an hour before the run", false, false, kHour, Written::Whole, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        QString source;
        PhotoJobSettings settings;
        ASSERT_NO_FATAL_FAILURE(makeJob(dir, 1200, 900, -1, source, settings));
        const PhotoFilePtr photo = PhotoFile::initWithFileUrl(source, QStringLiteral("photo.jpg"), false);
        const QString output = OutputPathBuilder(settings).updatedFilePathWithSetting(*photo);
        ASSERT_TRUE(testimages::writeBytes(output, "an older output"));
        const QByteArray bytes = testimages::readBytes(source);
        const qsizetype quarter = bytes.size() / 4;
        const QByteArray prefix = bytes.left(quarter);
        ASSERT_TRUE(testimages::writeBytes(source, c.prefix ? prefix : bytes)); // cut, then written again
        QList<QByteArray> pieces;
        if (c.piecesToCome)
            pieces = { bytes.mid(quarter, quarter), bytes.mid(2 * quarter, quarter), bytes.mid(3 * quarter) };

        const auto fileSystem = std::make_shared<PieceWriterFileSystem>(source, pieces, c.sinceWritten);
        const PhotoPipeline pipeline(settings, fileSystem);
        const PhotoWriteResult result = pipeline.processPhoto(*photo, pipeline.planFor(*photo), output);

        EXPECT_EQ(
            result.status, c.written == Written::Nothing ? ProcessStatus::NotProcessed : ProcessStatus::Processed);
        EXPECT_EQ(result.sourceChanged, c.written == Written::Nothing);
        const QByteArray expected = c.written == Written::Whole ? bytes
            : c.written == Written::Prefix                      ? prefix
                                                                : QByteArray("an older output");
        EXPECT_EQ(testimages::readBytes(output), expected) << testimages::readBytes(output).size() << " bytes";
        EXPECT_EQ(fileSystem->slept(), c.slept);
        EXPECT_EQ(QDir(settings.ouptputFolder).entryList(QDir::Files | QDir::Hidden),
            QStringList { QFileInfo(output).fileName() })
            << "no temporary is left behind";
    }
}

/// The real file system, with the output folder renamed by another program as soon as a write's
/// temporary exists in it.
class MovingFolderFileSystem : public OutputFileSystem {
public:
    explicit MovingFolderFileSystem(QString movedTo)
        : m_movedTo(std::move(movedTo))
    {
    }
    int createTemporary(const QString& folder, QString* path) override
    {
        const int error = OutputFileSystem::createTemporary(folder, path);
        if (error == 0) {
            EXPECT_TRUE(QDir().rename(folder, m_movedTo));
        }
        return error;
    }

private:
    QString m_movedTo;
};

TEST(OutputCopyTest, ATemporaryIsRemovedWhereItsFolderWent)
{
    const struct {
        const char* name;
        int format; ///< selectedFileFormat; -1 keeps the format (a copy)
        bool onceThePixelsAreWritten; ///< renamed then (a PNG's, apart from its metadata), else at the temporary
    } cases[] = { { "copied", -1, false }, { "encoded", 2, false }, { "encoded as PNG, its pixels written", 2, true } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        QString source;
        PhotoJobSettings settings;
        ASSERT_NO_FATAL_FAILURE(makeJob(dir, 320, 200, c.format, source, settings));
        const PhotoFilePtr photo = PhotoFile::initWithFileUrl(source, QStringLiteral("photo.jpg"), false);
        const QString output = OutputPathBuilder(settings).updatedFilePathWithSetting(*photo);
        const QString moved = dir.filePath(QStringLiteral("moved"));
        if (c.onceThePixelsAreWritten) {
            setPngChunkFailureForTesting([&](const QString&) {
                EXPECT_TRUE(QDir().rename(settings.ouptputFolder, moved));
                return false;
            });
        }
        const auto unhook = qScopeGuard([] { setPngChunkFailureForTesting({}); });

        const PhotoPipeline pipeline(settings,
            c.onceThePixelsAreWritten ? std::shared_ptr<OutputFileSystem>()
                                      : std::make_shared<MovingFolderFileSystem>(moved));
        const PhotoWriteResult result = pipeline.processPhoto(*photo, output);
        EXPECT_EQ(result.status, ProcessStatus::NotProcessed);
        EXPECT_EQ(QDir(moved).entryList(QDir::Files | QDir::Hidden), QStringList()) << "no temporary is left";
    }
}

/// The real file system with one fault: every write into a temporary fails with ENOSPC (it is a
/// link to /dev/full), or creating the temporary or putting it in place fails with `error`, as a
/// quota does where the file is created or where its delayed blocks are allocated at the flush.
class FaultyFileSystem : public OutputFileSystem {
public:
    enum class Fault { WritesFull, Create, Commit };
    FaultyFileSystem(Fault fault, int error)
        : m_fault(fault)
        , m_error(error)
    {
    }
    int createTemporary(const QString& folder, QString* path) override
    {
        if (m_fault == Fault::Create)
            return m_error;
        const int error = OutputFileSystem::createTemporary(folder, path);
        if (error == 0 && m_fault == Fault::WritesFull) {
            QFile::remove(*path);
            EXPECT_TRUE(QFile::link(QStringLiteral("/dev/full"), *path));
        }
        return error;
    }
    int commit(const QString& temporary, const QString& target) override
    {
        return m_fault == Fault::Commit ? m_error : OutputFileSystem::commit(temporary, target);
    }

private:
    Fault m_fault;
    int m_error;
};

TEST(OutputCopyTest, AFullDiskOrAQuotaIsToldFromOtherFailures)
{
    using Fault = FaultyFileSystem::Fault;
    // A full volume or an exhausted quota holds the run (noSpace); any other failure fails the photo.
    const struct {
        const char* name;
        Fault fault;
        int error;
        bool noSpace;
    } faults[] = {
        { "the disk is full", Fault::WritesFull, 0, true },
        { "the quota refuses the temporary", Fault::Create, EDQUOT, true },
        { "the quota refuses the flush", Fault::Commit, EDQUOT, true },
        { "an input/output error at the flush", Fault::Commit, EIO, false },
    };
    const struct {
        const char* name;
        int format; ///< selectedFileFormat; -1 keeps the format (a copy)
    } routes[] = { { "copied", -1 }, { "encoded as TIFF", 0 }, { "encoded as PNG", 2 } };
    for (const auto& f : faults) {
        for (const auto& r : routes) {
            SCOPED_TRACE(std::string(f.name) + ", " + r.name);
            QTemporaryDir dir;
            QString source;
            RunOptions options;
            options.job.folderOption = 1;
            ASSERT_NO_FATAL_FAILURE(makeJob(dir, 320, 200, r.format, source, options.job));
            const PhotoFilePtr photo = PhotoFile::initWithFileUrl(source, QStringLiteral("photo.jpg"), false);
            ProcessingPhotoPipeline pipeline(std::make_shared<FaultyFileSystem>(f.fault, f.error));
            const QString output = pipeline.outputPath(*photo, options);

            const RunWriteResult result = pipeline.write(*photo, output, options);
            EXPECT_EQ(result.status, 0);
            EXPECT_EQ(result.noSpace, f.noSpace);
            EXPECT_EQ(
                QDir(options.job.ouptputFolder).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList());
        }
    }
}

/// The real file system whose flush of a finished temporary fails, as a disk's I/O error does.
class FailingFlushFileSystem : public OutputFileSystem {
public:
    int flush(const QString&) override { return EIO; }
};

TEST(OutputCopyTest, AFailedFlushBeforeTheRenameFailsThePhoto)
{
    const struct {
        const char* name;
        int format; ///< selectedFileFormat; -1 keeps the format (a copy)
    } cases[] = { { "copied", -1 }, { "encoded as PNG", 2 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        QString source;
        RunOptions options;
        options.job.folderOption = 1;
        ASSERT_NO_FATAL_FAILURE(makeJob(dir, 320, 200, c.format, source, options.job));
        const PhotoFilePtr photo = PhotoFile::initWithFileUrl(source, QStringLiteral("photo.jpg"), false);
        ProcessingPhotoPipeline pipeline(std::make_shared<FailingFlushFileSystem>());
        const QString output = pipeline.outputPath(*photo, options);
        ASSERT_TRUE(testimages::writeBytes(output, "an older output"));

        const RunWriteResult result = pipeline.write(*photo, output, options);
        EXPECT_EQ(result.status, 0);
        EXPECT_FALSE(result.noSpace);
        EXPECT_EQ(testimages::readBytes(output), "an older output");
        EXPECT_EQ(QDir(options.job.ouptputFolder).entryList(QDir::Files | QDir::Hidden),
            QStringList { QFileInfo(output).fileName() })
            << "no temporary is left behind";
    }
}

} // namespace
} // namespace vantrel
