#include "core/Helper/Caption.h"

namespace vantrel {

Caption::Caption()
    : Caption(QStringLiteral("(null)"))
{
}

Caption::Caption(const QString& tableText)
{
    const QLatin1String integer(kIntegerPlaceholder);
    const QLatin1String string(kStringPlaceholder);
    qsizetype from = 0;
    while (from <= tableText.size()) {
        const qsizetype atInteger = tableText.indexOf(integer, from);
        const qsizetype atString = tableText.indexOf(string, from);
        qsizetype at = -1;
        Kind kind = Kind::Text;
        if (atInteger >= 0 && (atString < 0 || atInteger < atString)) {
            at = atInteger;
            kind = Kind::IntegerSlot;
        } else if (atString >= 0) {
            at = atString;
            kind = Kind::StringSlot;
        }
        if (at < 0) {
            if (from < tableText.size())
                m_pieces.append({ Kind::Text, tableText.mid(from), false });
            break;
        }
        if (at > from)
            m_pieces.append({ Kind::Text, tableText.mid(from, at - from), false });
        m_pieces.append({ kind, QString(), false });
        from = at + (kind == Kind::IntegerSlot ? integer.size() : string.size());
    }
}

Caption Caption::fillNext(const QString& value) const
{
    Caption filled = *this;
    for (Piece& piece : filled.m_pieces) {
        if (piece.kind != Kind::Text && !piece.filled) {
            piece.text = value;
            piece.filled = true;
            break;
        }
    }
    return filled;
}

Caption Caption::arg(qint64 value) const
{
    return fillNext(QString::number(value));
}

Caption Caption::arg(const QString& value) const
{
    return fillNext(value);
}

QString Caption::toString() const
{
    QString out;
    for (const Piece& piece : m_pieces) {
        if (piece.kind == Kind::Text || piece.filled)
            out += piece.text;
        else
            out += piece.kind == Kind::IntegerSlot ? QStringLiteral("%d") : QStringLiteral("%@");
    }
    return out;
}

int Caption::openSlotCount() const
{
    int open = 0;
    for (const Piece& piece : m_pieces)
        open += (piece.kind != Kind::Text && !piece.filled) ? 1 : 0;
    return open;
}

} // namespace vantrel
