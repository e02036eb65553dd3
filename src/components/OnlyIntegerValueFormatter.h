#pragma once

#include <limits>

#include <QValidator>

namespace vantrel {

/// The editing rule of every integer entry field (sizes, percentages, quality, rotation angle),
/// applied to the whole text after each edit. An edit is allowed (Acceptable) or refused
/// (Invalid); there is no intermediate answer:
/// - an empty text is allowed;
/// - otherwise the text must be one integer with optional leading white space, one optional
///   leading "+" or "-", decimal digits and optional trailing white space;
/// - its value must fit in 32 bits (a longer run of digits is refused, never wrapped or capped),
///   its length (UTF-16 units, white space included) must not exceed maximumLength and its value
///   must not exceed maximumValue;
/// - and its value must not be 0, so "0", "00" and "-0" are refused while "007" is allowed. A
///   negative number is allowed when it arrives whole (pasted), though a lone "-" is refused.
/// Like any QValidator on a QLineEdit, the rule applies to user edits only: a programmatic
/// setText("0") is kept.
class OnlyIntegerValueFormatter : public QValidator {
    Q_OBJECT

public:
    static constexpr int kUnlimited = std::numeric_limits<qint32>::max();

    explicit OnlyIntegerValueFormatter(QObject* parent = nullptr);

    void setMaximumLength(int maxLength) { m_maxLength = maxLength; }
    int maximumLength() const { return m_maxLength; }
    void setMaximumValue(int maxValue) { m_maxValue = maxValue; }
    int maximumValue() const { return m_maxValue; }

    /// True when the edited text may stand, with this formatter's limits.
    bool isPartialStringValid(const QString& text) const;
    /// The rule itself, with explicit limits.
    static bool isPartialStringValid(const QString& text, int maxLength, int maxValue);

    State validate(QString& input, int& pos) const override;

private:
    int m_maxLength = kUnlimited;
    int m_maxValue = kUnlimited;
};

} // namespace vantrel
