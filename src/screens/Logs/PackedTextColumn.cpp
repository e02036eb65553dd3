#include "screens/Logs/PackedTextColumn.h"

namespace vantrel {

void PackedTextColumn::append(const QString& text)
{
    const qsizetype slash = text.lastIndexOf(u'/');
    quint32 head = 0;
    if (slash >= 0) {
        const QString folder = text.left(slash + 1);
        auto found = m_headIndex.constFind(folder);
        if (found == m_headIndex.constEnd()) {
            head = quint32(m_heads.size());
            m_heads.append(folder);
            m_headIndex.insert(folder, head);
        } else {
            head = found.value();
        }
        if (m_rowHeads.empty() && head != 0)
            m_rowHeads.assign(m_ends.size(), 0); // the first head: earlier rows had none
    }
    if (!m_rowHeads.empty() || head != 0)
        m_rowHeads.push_back(head);
    m_tails.append(QStringView(text).mid(slash + 1).toUtf8());
    m_ends.push_back(quint32(m_tails.size()));
}

QString PackedTextColumn::at(qsizetype row) const
{
    if (row < 0 || row >= size())
        return {};
    const quint32 begin = row == 0 ? 0 : m_ends[size_t(row) - 1];
    const quint32 end = m_ends[size_t(row)];
    const QString tail = QString::fromUtf8(m_tails.constData() + begin, qsizetype(end - begin));
    if (m_rowHeads.empty())
        return tail;
    return m_heads[m_rowHeads[size_t(row)]] + tail;
}

void PackedTextColumn::clear()
{
    m_tails.clear();
    m_tails.squeeze();
    std::vector<quint32>().swap(m_ends);
    std::vector<quint32>().swap(m_rowHeads);
    m_heads = QStringList { QString() };
    m_headIndex.clear();
}

void PackedTextColumn::reserve(qsizetype rows)
{
    m_ends.reserve(size_t(rows));
}

qsizetype PackedTextColumn::byteSize() const
{
    qsizetype heads = 0;
    for (const QString& head : m_heads)
        heads += head.size() * 2;
    return m_tails.capacity() + qsizetype(m_ends.capacity() * sizeof(quint32))
        + qsizetype(m_rowHeads.capacity() * sizeof(quint32)) + heads * 2;
}

} // namespace vantrel
