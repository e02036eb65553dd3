#include "platform/imaging/TiffMetadataSplice.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <iterator>
#include <map>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrel::TiffMetadataSplice {

namespace {

constexpr quint32 kMaxEntries = 4096;
constexpr int kMaxDepth = 4;

// Tags that describe where and how the pixels lie: always the big file's own.
bool isLayoutTag(quint16 tag)
{
    switch (tag) {
    case 0x0100: // ImageWidth
    case 0x0101: // ImageLength
    case 0x0111: // StripOffsets
    case 0x0116: // RowsPerStrip
    case 0x0117: // StripByteCounts
    case 0x0142: // TileWidth
    case 0x0143: // TileLength
    case 0x0144: // TileOffsets
    case 0x0145: // TileByteCounts
        return true;
    default:
        return false;
    }
}

// Tags whose value is the offset of a directory of their own (EXIF, GPS, interoperability).
bool isDirectoryPointer(quint16 tag, quint16 type)
{
    return tag == 0x8769 || tag == 0x8825 || tag == 0xa005 || type == 13;
}

quint32 typeSize(quint16 type)
{
    static const quint32 kSizes[] = { 0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4 };
    return type < std::size(kSizes) ? kSizes[type] : 0;
}

struct Entry {
    quint16 tag = 0;
    quint16 type = 0;
    quint32 count = 0;
    QByteArray field; ///< the four bytes of the value or of its offset, as stored
    QByteArray data; ///< the value's bytes (read only from the small files)
    bool fromTagged = false; ///< its data and directories come from the tagged file
};

struct Directory {
    std::vector<Entry> entries;
    quint32 next = 0;
};

// Reads `size` bytes at `offset`; empty when they are not all there.
using ReadAt = std::function<QByteArray(quint64 offset, quint64 size)>;

class ByteOrder {
public:
    explicit ByteOrder(bool little)
        : m_little(little)
    {
    }
    quint16 u16(const char* p) const
    {
        const auto b = reinterpret_cast<const uchar*>(p);
        return m_little ? quint16(b[0] | b[1] << 8) : quint16(b[0] << 8 | b[1]);
    }
    quint32 u32(const char* p) const
    {
        const auto b = reinterpret_cast<const uchar*>(p);
        return m_little ? quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24
                        : quint32(b[0]) << 24 | quint32(b[1]) << 16 | quint32(b[2]) << 8 | quint32(b[3]);
    }
    void put16(char* p, quint16 v) const
    {
        p[m_little ? 0 : 1] = char(v & 0xff);
        p[m_little ? 1 : 0] = char(v >> 8);
    }
    void put32(char* p, quint32 v) const
    {
        for (int i = 0; i < 4; ++i)
            p[m_little ? i : 3 - i] = char((v >> (8 * i)) & 0xff);
    }

private:
    bool m_little;
};

// The byte order of a classic TIFF header; false for anything else (BigTIFF included).
bool headerOrder(const QByteArray& header, bool* little)
{
    if (header.size() < 8)
        return false;
    if (header.startsWith(QByteArray("II*\0", 4)))
        *little = true;
    else if (header.startsWith(QByteArray("MM\0*", 4)))
        *little = false;
    else
        return false;
    return true;
}

bool readDirectory(const ReadAt& read, const ByteOrder& order, quint32 offset, bool withData, Directory* out)
{
    const QByteArray countBytes = read(offset, 2);
    if (countBytes.size() != 2)
        return false;
    const quint32 count = order.u16(countBytes.constData());
    if (count == 0 || count > kMaxEntries)
        return false;
    const QByteArray body = read(quint64(offset) + 2, quint64(count) * 12 + 4);
    if (body.isEmpty())
        return false;
    for (quint32 i = 0; i < count; ++i) {
        const char* raw = body.constData() + 12 * i;
        Entry entry;
        entry.tag = order.u16(raw);
        entry.type = order.u16(raw + 2);
        entry.count = order.u32(raw + 4);
        entry.field = QByteArray(raw + 8, 4);
        const quint64 size = quint64(typeSize(entry.type)) * entry.count;
        if (typeSize(entry.type) == 0)
            return false;
        if (withData) {
            entry.data = size <= 4 ? entry.field.left(qsizetype(size)) : read(order.u32(raw + 8), size);
            if (quint64(entry.data.size()) != size)
                return false;
        }
        out->entries.push_back(std::move(entry));
    }
    out->next = order.u32(body.constData() + 12 * count);
    return true;
}

bool sameValue(const Entry& a, const Entry& b)
{
    return a.type == b.type && a.count == b.count && a.data == b.data;
}

// Lays directories out one after the other as they will stand from file offset `base` on.
class Layout {
public:
    Layout(const ByteOrder& order, const ReadAt& tagged, quint64 base)
        : m_order(order)
        , m_tagged(tagged)
        , m_base(base)
    {
    }

    const QByteArray& bytes() const { return m_out; }

    // Appends `directory` and returns its file offset; false when a directory it points at
    // cannot be read.
    bool append(const Directory& directory, int depth, quint64* offset)
    {
        if (depth > kMaxDepth)
            return false;
        alignToWord();
        const qsizetype at = m_out.size();
        const qsizetype count = qsizetype(directory.entries.size());
        m_out.append(QByteArray(2 + 12 * count + 4, '\0'));
        m_order.put16(m_out.data() + at, quint16(count));
        for (qsizetype i = 0; i < count; ++i) {
            const Entry& entry = directory.entries[size_t(i)];
            QByteArray field = entry.field;
            if (entry.fromTagged && isDirectoryPointer(entry.tag, entry.type)) {
                Directory inner;
                quint64 innerOffset = 0;
                if (entry.count != 1 || !readDirectory(m_tagged, m_order, m_order.u32(field.constData()), true, &inner))
                    return false;
                for (Entry& innerEntry : inner.entries)
                    innerEntry.fromTagged = true;
                inner.next = 0;
                if (!append(inner, depth + 1, &innerOffset))
                    return false;
                m_order.put32(field.data(), quint32(innerOffset));
            } else if (entry.fromTagged && entry.data.size() > 4) {
                alignToWord();
                m_order.put32(field.data(), quint32(m_base + quint64(m_out.size())));
                m_out.append(entry.data);
            }
            char* raw = m_out.data() + at + 2 + 12 * i;
            m_order.put16(raw, entry.tag);
            m_order.put16(raw + 2, entry.type);
            m_order.put32(raw + 4, entry.count);
            std::copy(field.constBegin(), field.constEnd(), raw + 8);
        }
        m_order.put32(m_out.data() + at + 2 + 12 * count, directory.next);
        *offset = m_base + quint64(at);
        return true;
    }

private:
    void alignToWord()
    {
        if ((m_base + quint64(m_out.size())) % 2)
            m_out.append('\0');
    }

    const ByteOrder& m_order;
    const ReadAt& m_tagged;
    quint64 m_base;
    QByteArray m_out;
};

ReadAt memoryReader(const QByteArray& bytes)
{
    return [&bytes](quint64 offset, quint64 size) {
        if (offset > quint64(bytes.size()) || size > quint64(bytes.size()) - offset)
            return QByteArray();
        return bytes.mid(qsizetype(offset), qsizetype(size));
    };
}

int writeAllAt(int fd, const char* data, qint64 size, off_t offset)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size_t(size), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        data += n;
        size -= n;
        offset += n;
    }
    return 0;
}

// The new first directory: the file's layout tags and the tags only it has, and what writing
// the metadata left as the encoder wrote it; all else (changed or added) from the tagged file.
Directory mergedDirectory(const Directory& file, const Directory& plain, const Directory& tagged)
{
    const auto find = [](const Directory& d, quint16 tag) -> const Entry* {
        for (const Entry& e : d.entries)
            if (e.tag == tag)
                return &e;
        return nullptr;
    };
    std::map<quint16, Entry> merged;
    for (const Entry& entry : file.entries)
        if (isLayoutTag(entry.tag) || !find(plain, entry.tag))
            merged[entry.tag] = entry;
    for (const Entry& entry : tagged.entries) {
        if (isLayoutTag(entry.tag))
            continue;
        const Entry* before = find(plain, entry.tag);
        const Entry* own = find(file, entry.tag);
        if (before && own && sameValue(*before, entry)) {
            merged[entry.tag] = *own;
        } else {
            Entry copy = entry;
            copy.fromTagged = true;
            merged[entry.tag] = std::move(copy);
        }
    }
    Directory out;
    out.next = file.next;
    for (auto& [tag, entry] : merged)
        out.entries.push_back(std::move(entry));
    return out;
}

} // namespace

Outcome splice(const QByteArray& path, const QByteArray& plain, const QByteArray& tagged, int* errorNumber)
{
    *errorNumber = 0;
    bool little = true;
    bool plainLittle = true;
    bool taggedLittle = true;
    if (!headerOrder(plain, &plainLittle) || !headerOrder(tagged, &taggedLittle) || plainLittle != taggedLittle)
        return Outcome::Unsupported;
    const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        *errorNumber = errno;
        return Outcome::Failed;
    }
    struct stat info { };
    const auto failed = [&](int error) {
        *errorNumber = error;
        ::close(fd);
        return Outcome::Failed;
    };
    if (::fstat(fd, &info) != 0)
        return failed(errno);
    const quint64 fileSize = quint64(info.st_size);
    const ReadAt fileReader = [fd, fileSize](quint64 offset, quint64 size) {
        if (offset > fileSize || size > fileSize - offset)
            return QByteArray();
        QByteArray bytes(qsizetype(size), Qt::Uninitialized);
        if (::pread(fd, bytes.data(), size_t(size), off_t(offset)) != ssize_t(size))
            return QByteArray();
        return bytes;
    };
    const QByteArray header = fileReader(0, 8);
    const ByteOrder order(plainLittle);
    Directory fileFirst;
    Directory plainFirst;
    Directory taggedFirst;
    const ReadAt plainReader = memoryReader(plain);
    const ReadAt taggedReader = memoryReader(tagged);
    if (!headerOrder(header, &little) || little != plainLittle
        || !readDirectory(fileReader, order, order.u32(header.constData() + 4), false, &fileFirst)
        || !readDirectory(plainReader, order, order.u32(plain.constData() + 4), true, &plainFirst)
        || !readDirectory(taggedReader, order, order.u32(tagged.constData() + 4), true, &taggedFirst)
        || taggedFirst.next != 0) {
        ::close(fd);
        return Outcome::Unsupported;
    }
    Layout layout(order, taggedReader, fileSize);
    quint64 first = 0;
    if (!layout.append(mergedDirectory(fileFirst, plainFirst, taggedFirst), 0, &first)
        || fileSize + quint64(layout.bytes().size()) > 0xffffffffULL) {
        ::close(fd);
        return Outcome::Unsupported;
    }
    // The header moves to the new directory only once all it points at is in the file.
    if (const int error = writeAllAt(fd, layout.bytes().constData(), layout.bytes().size(), off_t(fileSize)))
        return failed(error);
    char offset[4];
    order.put32(offset, quint32(first));
    if (const int error = writeAllAt(fd, offset, 4, 4))
        return failed(error);
    if (::close(fd) != 0) {
        *errorNumber = errno;
        return Outcome::Failed;
    }
    return Outcome::Spliced;
}

} // namespace vantrel::TiffMetadataSplice
