#include "platform/imaging/DocumentHeaderSize.h"

#include <cmath>

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>

namespace vantrel::DocumentHeaderSize {

namespace {

constexpr qint64 kScanBytes = 256 * 1024;
constexpr int kMaxSide = 1'000'000;

quint32 littleEndian32(const QByteArray& b, int at)
{
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 | quint32(quint8(b[at + 2])) << 16
        | quint32(quint8(b[at + 3])) << 24;
}

int bigEndian16(const QByteArray& b, int at)
{
    return qint16(quint16(quint8(b[at])) << 8 | quint8(b[at + 1]));
}

// The last usable "%%BoundingBox: llx lly urx ury" of a PostScript text, or an empty size.
QSize boundingBoxIn(const QByteArray& text, bool* deferred)
{
    static const QRegularExpression box(
        R"(%%BoundingBox:[ \t]*(\(atend\)|(-?[0-9.]+)[ \t]+(-?[0-9.]+)[ \t]+(-?[0-9.]+)[ \t]+(-?[0-9.]+)))");
    QSize found;
    auto it = box.globalMatch(QString::fromLatin1(text));
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(1) == "(atend)") {
            *deferred = true;
            continue;
        }
        const double llx = m.captured(2).toDouble(), lly = m.captured(3).toDouble();
        const double urx = m.captured(4).toDouble(), ury = m.captured(5).toDouble();
        const double w = std::ceil(urx - llx), h = std::ceil(ury - lly);
        if (w > 0 && h > 0 && w < kMaxSide && h < kMaxSide)
            return QSize(int(w), int(h)); // the header's box wins over a later one
    }
    return found;
}

} // namespace

QSize epsSize(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    qint64 start = 0;
    qint64 length = file.size();
    const QByteArray head = file.read(32);
    if (head.size() >= 12 && quint8(head[0]) == 0xC5 && quint8(head[1]) == 0xD0 && quint8(head[2]) == 0xD3
        && quint8(head[3]) == 0xC6) {
        start = littleEndian32(head, 4);
        length = littleEndian32(head, 8);
        if (start <= 0 || start >= file.size())
            return {};
        length = std::min(length, file.size() - start);
    }
    if (!file.seek(start))
        return {};
    const QByteArray text = file.read(std::min(length, kScanBytes));
    if (!text.startsWith("%!"))
        return {};
    bool deferred = false;
    QSize size = boundingBoxIn(text, &deferred);
    if (size.isEmpty() && deferred && length > kScanBytes && file.seek(start + length - kScanBytes))
        size = boundingBoxIn(file.read(kScanBytes), &deferred);
    return size;
}

QSize pictSize(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.read(512 + 2 + 8 + 8);
    auto frameAt = [&bytes](int offset) -> QSize {
        if (bytes.size() < offset + 2 + 8 + 2)
            return {};
        const int top = bigEndian16(bytes, offset + 2), left = bigEndian16(bytes, offset + 4);
        const int bottom = bigEndian16(bytes, offset + 6), right = bigEndian16(bytes, offset + 8);
        const int w = right - left, h = bottom - top;
        return w > 0 && h > 0 ? QSize(w, h) : QSize();
    };
    // A version opcode follows the frame: 0x1101 (version 1) or 0x0011 0x02FF (version 2).
    auto versionAt = [&bytes](int offset) {
        const int at = offset + 10;
        if (bytes.size() < at + 4)
            return false;
        const quint8 a = quint8(bytes[at]), b = quint8(bytes[at + 1]);
        return (a == 0x11 && b == 0x01) || (a == 0x00 && b == 0x11 && quint8(bytes[at + 2]) == 0x02);
    };
    if (versionAt(512))
        return frameAt(512);
    if (versionAt(0))
        return frameAt(0);
    return {};
}

} // namespace vantrel::DocumentHeaderSize
