#include "platform/imaging/JpegHeader.h"

#include <algorithm>

#include <fcntl.h>
#include <unistd.h>

namespace vantrel {

namespace {

// Positional reads over a file descriptor with one buffered window.
class Reader {
public:
    explicit Reader(int fd)
        : m_fd(fd)
    {
    }
    // The byte at `at`, or -1 past the end or on error.
    int byteAt(qint64 at)
    {
        if (at < m_start || at >= m_start + m_buffer.size()) {
            m_buffer.resize(kWindow);
            const ssize_t got = ::pread(m_fd, m_buffer.data(), kWindow, at);
            if (got <= 0) {
                m_buffer.clear();
                return -1;
            }
            m_buffer.resize(got);
            m_start = at;
        }
        return static_cast<unsigned char>(m_buffer[at - m_start]);
    }
    QByteArray bytes(qint64 at, int length)
    {
        QByteArray out(length, Qt::Uninitialized);
        const ssize_t got = ::pread(m_fd, out.data(), length, at);
        out.resize(got > 0 ? got : 0);
        return out;
    }

private:
    static constexpr int kWindow = 4096;
    int m_fd;
    qint64 m_start = 0;
    QByteArray m_buffer;
};

int u16(const QByteArray& b, qsizetype at, bool little)
{
    if (at < 0 || at + 2 > b.size())
        return -1;
    const auto lo = static_cast<unsigned char>(b[at + (little ? 0 : 1)]);
    const auto hi = static_cast<unsigned char>(b[at + (little ? 1 : 0)]);
    return hi << 8 | lo;
}

qint64 u32(const QByteArray& b, qsizetype at, bool little)
{
    const int first = u16(b, at, little);
    const int second = u16(b, at + 2, little);
    if (first < 0 || second < 0)
        return -1;
    return little ? (qint64(second) << 16 | first) : (qint64(first) << 16 | second);
}

bool isFrameMarker(int m)
{
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

bool isProgressiveFrame(int m)
{
    return m == 0xC2 || m == 0xC6 || m == 0xCA || m == 0xCE;
}

qint64 ceilDiv(qint64 a, qint64 b)
{
    return (a + b - 1) / b;
}

// The coefficient buffer libjpeg allocates for a frame decoded from several scans: per
// component, its blocks padded to whole multiples of its sampling factors. `components` holds
// the frame header's component entries (id, sampling factors, table) after its first six bytes.
qint64 coefficientBytes(int width, int height, const QByteArray& components, int count)
{
    int hMax = 1, vMax = 1;
    for (int i = 0; i < count; ++i) {
        const auto factors = static_cast<unsigned char>(components[3 * i + 1]);
        hMax = std::max(hMax, factors >> 4);
        vMax = std::max(vMax, factors & 15);
    }
    qint64 blocks = 0;
    for (int i = 0; i < count; ++i) {
        const auto factors = static_cast<unsigned char>(components[3 * i + 1]);
        const int h = std::max(1, factors >> 4), v = std::max(1, factors & 15);
        const qint64 across = ceilDiv(ceilDiv(qint64(width) * h, qint64(hMax) * 8), h) * h;
        const qint64 down = ceilDiv(ceilDiv(qint64(height) * v, qint64(vMax) * 8), v) * v;
        blocks += across * down;
    }
    return blocks * 64 * 2;
}

} // namespace

bool JpegHeader::exifOrientation(const QByteArray& tiff, int* orientation)
{
    if (tiff.size() < 8)
        return false;
    const bool little = tiff.startsWith("II");
    if (!little && !tiff.startsWith("MM"))
        return false;
    if (u16(tiff, 2, little) != 42)
        return false;
    const qint64 ifd = u32(tiff, 4, little);
    const int count = ifd >= 0 ? u16(tiff, ifd, little) : -1;
    for (int i = 0; i < count; ++i) {
        const qint64 entry = ifd + 2 + 12 * qint64(i);
        if (entry + 12 > tiff.size())
            return false;
        if (u16(tiff, entry, little) != 0x0112)
            continue;
        if (u16(tiff, entry + 2, little) != 3 || u32(tiff, entry + 4, little) < 1)
            return false;
        *orientation = u16(tiff, entry + 8, little);
        return true;
    }
    return false;
}

JpegHeader JpegHeader::read(const QByteArray& nativePath)
{
    JpegHeader header;
    const int fd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return header;
    Reader in(fd);
    bool frame = false;
    bool exifSeen = false;
    qint64 at = 2;
    if (in.byteAt(0) == 0xFF && in.byteAt(1) == 0xD8) {
        for (;;) {
            if (in.byteAt(at) != 0xFF)
                break;
            int marker = in.byteAt(at + 1);
            while (marker == 0xFF) // fill bytes
                marker = in.byteAt(++at + 1);
            at += 2;
            if (marker < 0 || marker == 0xD9)
                break;
            if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
                continue;
            const int hi = in.byteAt(at), lo = in.byteAt(at + 1);
            if (hi < 0 || lo < 0 || (hi << 8 | lo) < 2)
                break;
            const int length = hi << 8 | lo;
            if (marker == 0xDA) {
                header.ok = frame && header.width > 0 && header.height > 0;
                break;
            }
            if (isFrameMarker(marker) && !frame) {
                const QByteArray sof = in.bytes(at + 2, length - 2);
                if (sof.size() < 6 || length < 8)
                    break;
                header.precision = static_cast<unsigned char>(sof[0]);
                header.height = u16(sof, 1, false);
                header.width = u16(sof, 3, false);
                header.components = static_cast<unsigned char>(sof[5]);
                header.progressive = isProgressiveFrame(marker);
                if (header.progressive && sof.size() >= 6 + 3 * header.components)
                    header.wholeFrameBytes
                        = coefficientBytes(header.width, header.height, sof.mid(6), header.components);
                frame = true;
            } else if (marker == 0xE1 && !exifSeen && length > 8) {
                const QByteArray payload = in.bytes(at + 2, length - 2);
                if (payload.startsWith(QByteArray("Exif\0\0", 6))) {
                    exifSeen = true;
                    int orientation = 1;
                    if (exifOrientation(payload.mid(6), &orientation)) {
                        header.hasOrientationTag = true;
                        header.orientation = orientation >= 1 && orientation <= 8 ? orientation : 1;
                    }
                }
            }
            at += length;
        }
    }
    ::close(fd);
    return header;
}

} // namespace vantrel
