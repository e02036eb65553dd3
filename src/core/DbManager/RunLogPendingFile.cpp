#include "core/DbManager/RunLogPendingFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/DbManager/DbSupport.h"
#include "platform/OwnFile.h"
#include "platform/imaging/AtomicFileWriter.h"

namespace vantrel {

using namespace dbsupport;

namespace {

constexpr auto kLockPause = std::chrono::milliseconds(kBusyPauseMs);

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

QJsonObject toJson(const DbRow& row)
{
    QJsonObject object;
    for (auto it = row.cbegin(); it != row.cend(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

DbRow fromJson(const QJsonObject& object)
{
    DbRow row;
    for (auto it = object.constBegin(); it != object.constEnd(); ++it)
        row.insert(it.key(), it.value().toString());
    return row;
}

QJsonObject toJson(const RunLogRun& run)
{
    QJsonArray details;
    for (const DbRow& row : run.details)
        details.append(toJson(row));
    return { { QStringLiteral("id"), run.id }, { QStringLiteral("summary"), toJson(run.summary) },
        { QStringLiteral("details"), details } };
}

/// The runs of a pending file's text; false when the text is not such a file.
bool parseRuns(const QByteArray& text, QList<RunLogRun>* runs)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return false;
    for (const QJsonValue& value : document.array()) {
        const QJsonObject object = value.toObject();
        if (!value.isObject() || !object.value(QStringLiteral("summary")).isObject()
            || !object.value(QStringLiteral("details")).isArray())
            return false;
        RunLogRun run;
        run.id = object.value(QStringLiteral("id")).toString();
        // A run kept without an identity gets one from its content, the same at every reading,
        // so that it too is written once.
        if (run.id.isEmpty())
            run.id = QString::fromLatin1(
                QCryptographicHash::hash(QJsonDocument(object).toJson(QJsonDocument::Compact), QCryptographicHash::Sha1)
                    .toHex());
        run.summary = fromJson(object.value(QStringLiteral("summary")).toObject());
        for (const QJsonValue& detail : object.value(QStringLiteral("details")).toArray())
            run.details.append(fromJson(detail.toObject()));
        runs->append(run);
    }
    return true;
}

} // namespace

RunLogPendingFile::RunLogPendingFile(QString databasePath)
    : m_path(databasePath + QStringLiteral(".pending"))
{
}

RunLogPendingFile::~RunLogPendingFile()
{
    unlock();
}

bool RunLogPendingFile::lock(Clock::time_point deadline, QString* why)
{
    if (m_lockFd >= 0)
        return true;
    // Only a regular file of our own can be locked: a folder or a FIFO there is set aside.
    const int fd = OwnFile::openRegular(m_path + QStringLiteral(".lock"), O_RDWR | O_CREAT);
    if (fd < 0) {
        *why = QStringLiteral("the lock of the pending log rows could not be opened: %1").arg(errnoText());
        return false;
    }
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || Clock::now() >= deadline) {
            *why = errno == EWOULDBLOCK ? QStringLiteral("the pending log rows are held by another process")
                                        : QStringLiteral("the pending log rows cannot be locked: %1").arg(errnoText());
            ::close(fd);
            return false;
        }
        std::this_thread::sleep_for(kLockPause);
    }
    m_lockFd = fd;
    return true;
}

void RunLogPendingFile::unlock()
{
    if (m_lockFd < 0)
        return;
    ::close(m_lockFd); // closing the only descriptor of the open file releases its flock
    m_lockFd = -1;
}

void RunLogPendingFile::setAside(const QString& because, const QString& word)
{
    const QString aside = asidePath(m_path, word);
    // rename() moves the entry itself: a link is moved as a link, its target stays untouched.
    if (std::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(aside).constData()) != 0) {
        logLine(
            QStringLiteral("Pending log rows %1 %2 and could not be set aside: %3").arg(m_path, because, errnoText()));
        return;
    }
    logLine(QStringLiteral("Pending log rows %1 %2; set aside as %3").arg(m_path, because, aside));
    m_setAsideTo = aside;
    m_setAsideBecause = because;
}

QList<RunLogRun> RunLogPendingFile::runs()
{
    Q_ASSERT(m_lockFd >= 0);
    QList<RunLogRun> runs;
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 && errno == ENOENT)
        return runs;
    if (fd < 0 && errno == ELOOP) {
        setAside(QStringLiteral("was a symbolic link"), QStringLiteral("link"));
        return runs;
    }
    struct stat info { };
    QFile file;
    const bool read = fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)
        && file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    if (fd >= 0 && !file.isOpen())
        ::close(fd);
    if (!read || !parseRuns(file.readAll(), &runs)) {
        runs.clear();
        setAside(QStringLiteral("was unreadable"), QStringLiteral("unreadable"));
    }
    return runs;
}

bool RunLogPendingFile::save(const QList<RunLogRun>& runs, QString* why)
{
    Q_ASSERT(m_lockFd >= 0);
    const QByteArray path = QFile::encodeName(m_path);
    if (runs.isEmpty()) {
        if (::unlink(path.constData()) == 0 || errno == ENOENT)
            return true;
        *why = errnoText();
        return false;
    }
    QJsonArray array;
    for (const RunLogRun& run : runs)
        array.append(toJson(run));
    // Written whole beside it, then renamed over it: a half-written file would lose the runs it
    // held, and the rename replaces whatever entry is there instead of writing through it. The
    // temporary is made anew, so a link or a FIFO planted in its place is never written through.
    const QByteArray temporary = path + ".new";
    const int fd = OwnFile::createTemporary(QFile::decodeName(temporary));
    const QByteArray text = QJsonDocument(array).toJson(QJsonDocument::Compact);
    bool ok = fd >= 0 && AtomicFileWriter::writeAll(fd, text.constData(), text.size()) == 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ok = ::close(fd) == 0 && ok;
    if (ok && std::rename(temporary.constData(), path.constData()) == 0)
        return true;
    *why = errnoText();
    ::unlink(temporary.constData());
    return false;
}

} // namespace vantrel
