// File digests: MD5 as 32 lowercase hexadecimal characters.
#include "core/Helper/CommonFunc.h"

#include <cstdio>

#include <QCryptographicHash>
#include <QFile>
#include <QThread>

namespace vantrel {

namespace {

constexpr qint64 kDefaultChunk = 4096;

} // namespace

std::optional<QString> CommonFunc::getFileMD5(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (!hash.addData(&file) || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return QString::fromLatin1(hash.result().toHex());
}

std::optional<QString> CommonFunc::FileMD5HashCreateWithPath(
    const QString& path, qint64 chunkSize, const std::atomic<bool>* abortFlag)
{
    const qint64 chunk = chunkSize > 0 ? chunkSize : kDefaultChunk;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Md5);
    QByteArray buffer(chunk, Qt::Uninitialized);
    for (qint64 index = 0;; ++index) {
        if (index % 5 == 0)
            QThread::yieldCurrentThread();
        if (abortFlag && abortFlag->load()) {
            std::fprintf(stderr, "abortFlag true!!\n");
            return std::nullopt;
        }
        const qint64 got = file.read(buffer.data(), chunk);
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        hash.addData(QByteArrayView(buffer.constData(), got));
    }
    return QString::fromLatin1(hash.result().toHex());
}

std::optional<QString> CommonFunc::getFileMD5UsingStreamWithAbortFlag(
    const QString& path, const std::atomic<bool>* abortFlag)
{
    auto digest = FileMD5HashCreateWithPath(path, kDefaultChunk, abortFlag);
    if (!digest) {
        std::fprintf(stderr, "############# MD5 coming NIL for file: %s #############\n", qPrintable(path));
        if (abortFlag && abortFlag->load())
            std::fprintf(stderr, "abortFlag true!!\nAborted!!\n");
    }
    return digest;
}

} // namespace vantrel
