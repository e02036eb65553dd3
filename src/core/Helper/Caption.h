#pragma once

#include <QList>
#include <QString>

namespace vantrel {

/// A caption from the language table with its argument slots. The table marks an integer slot
/// with "DONOT_TRANSLATE_INTEGER_VALUE" and a text slot with "DONOT_TRANSLATE_STRING_VALUE";
/// arg() fills the next open slot, in the order the slots stand in the text. The caption text is
/// never used as a format, so a "%" or a "%1" in it or in an argument is plain text.
class Caption {
public:
    static constexpr char kIntegerPlaceholder[] = "DONOT_TRANSLATE_INTEGER_VALUE";
    static constexpr char kStringPlaceholder[] = "DONOT_TRANSLATE_STRING_VALUE";

    /// The caption of a missing key: the text "(null)".
    Caption();
    /// A caption text as the table holds it, placeholders included.
    explicit Caption(const QString& tableText);

    /// Fills the next open slot with the number (decimal) or the text. Extra arguments are ignored.
    Caption arg(qint64 value) const;
    Caption arg(const QString& value) const;

    /// The text with its filled slots; a slot still open reads "%d" (integer) or "%@" (text).
    QString toString() const;
    operator QString() const { return toString(); }

    int openSlotCount() const;

private:
    enum class Kind { Text, IntegerSlot, StringSlot };
    struct Piece {
        Kind kind = Kind::Text;
        QString text; // literal text, or the argument once the slot is filled
        bool filled = false;
    };

    Caption fillNext(const QString& value) const;

    QList<Piece> m_pieces;
};

} // namespace vantrel
