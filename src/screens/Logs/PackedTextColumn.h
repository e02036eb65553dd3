#pragma once

#include <vector>

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

namespace vantrel {

/// A column of texts packed for long tables: each text is split at its last "/" into a head
/// (a folder, kept once per distinct value) and a tail stored as UTF-8 in one shared buffer.
/// A million file paths from a few folders take a few tens of megabytes instead of a QString and
/// a dictionary entry each. Append-only; not thread-safe.
class PackedTextColumn {
public:
    void append(const QString& text);
    QString at(qsizetype row) const;
    qsizetype size() const { return qsizetype(m_ends.size()); }
    void clear();
    void reserve(qsizetype rows);
    /// Bytes held by the column's buffers (for measurements).
    qsizetype byteSize() const;

private:
    QByteArray m_tails;
    std::vector<quint32> m_ends; // end offset of each row's tail in m_tails
    std::vector<quint32> m_rowHeads; // index into m_heads; empty while every head is ""
    QStringList m_heads { QString() };
    QHash<QString, quint32> m_headIndex;
};

} // namespace vantrel
