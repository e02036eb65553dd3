#include "core/Processing/SourceIdentity.h"

#include <algorithm>

#include <sys/stat.h>

#include <QFile>

namespace vantrel {

SourceIdentity SourceIdentity::of(const QString& path)
{
    SourceIdentity identity;
    const QByteArray native = QFile::encodeName(path);
    struct stat info { };
    if (native.isEmpty() || ::stat(native.constData(), &info) != 0)
        return identity;
    identity.exists = true;
    identity.device = quint64(info.st_dev);
    identity.inode = quint64(info.st_ino);
    identity.size = qint64(info.st_size);
    identity.modifiedSeconds = qint64(info.st_mtim.tv_sec);
    identity.modifiedNanoseconds = qint64(info.st_mtim.tv_nsec);
    return identity;
}

qint64 SourceIdentity::settledAt(qint64 now) const
{
    constexpr qint64 kSecond = 1'000'000'000;
    constexpr qint64 kCoarsestStamp = 2 * kSecond;
    qint64 modified = modifiedSeconds * kSecond + modifiedNanoseconds;
    if (modifiedNanoseconds == 0)
        modified += kCoarsestStamp;
    return std::min(modified, now) + kSettleNanoseconds;
}

} // namespace vantrel
