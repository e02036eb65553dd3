#include "components/OnlyIntegerValueFormatter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

struct FormatterCase {
    const char* text;
    int maxLength;
    int maxValue;
    bool accepted;
};

constexpr int kMax = OnlyIntegerValueFormatter::kUnlimited;

/// Types the characters one by one, as a user would.
void type(QLineEdit& field, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(&field, &press);
    }
}

void backspace(QLineEdit& field)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QCoreApplication::sendEvent(&field, &press);
}

} // namespace

TEST(OnlyIntegerValueFormatter, AnswersTheEditingTable)
{
    const FormatterCase cases[] = {
        { "", kMax, kMax, true },
        { "5", kMax, kMax, true },
        { "007", kMax, kMax, true },
        { "0", kMax, kMax, false },
        { "00", kMax, kMax, false },
        { "-0", kMax, kMax, false },
        { "+0", kMax, kMax, false },
        { "-", kMax, kMax, false },
        { "+", kMax, kMax, false },
        { "-5", kMax, kMax, true },
        { "+12", kMax, kMax, true },
        { "+-1", kMax, kMax, false },
        { "12a", kMax, kMax, false },
        { "1 2", kMax, kMax, false },
        { "a12", kMax, kMax, false },
        { "1.5", kMax, kMax, false },
        { " 12", kMax, kMax, true },
        { "12 ", kMax, kMax, true },
        { "\t12\n", kMax, kMax, true },
        { "   ", kMax, kMax, false },
        { "- 5", kMax, kMax, false },
        // The value must fit in 32 bits: never wrapped, never capped.
        { "2147483647", kMax, kMax, true },
        { "2147483648", kMax, kMax, false },
        { "-2147483648", kMax, kMax, true },
        { "-2147483649", kMax, kMax, false },
        { "99999999999999999999", kMax, kMax, false },
        { "4294967301", kMax, kMax, false }, // 2^32 + 5 would wrap to 5
        // The quality field: at most 100.
        { "100", kMax, 100, true },
        { "101", kMax, 100, false },
        { "0", kMax, 100, false },
        { "", kMax, 100, true },
        { "-3", kMax, 100, true },
        // Length counts white space too.
        { "123", 3, kMax, true },
        { "1234", 3, kMax, false },
        { " 12", 2, kMax, false },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OnlyIntegerValueFormatter::isPartialStringValid(QString::fromUtf8(c.text), c.maxLength, c.maxValue),
            c.accepted)
            << '"' << c.text << "\" maxLength " << c.maxLength << " maxValue " << c.maxValue;
    }
}

TEST(OnlyIntegerValueFormatter, GuardsTypingButKeepsProgrammaticText)
{
    OnlyIntegerValueFormatter formatter;
    EXPECT_EQ(formatter.maximumLength(), 2147483647);
    EXPECT_EQ(formatter.maximumValue(), 2147483647);
    formatter.setMaximumValue(100);

    QLineEdit field;
    field.setValidator(&formatter);
    field.setText("0");
    EXPECT_EQ(field.text(), "0");

    field.clear();
    type(field, "0");
    EXPECT_EQ(field.text(), "");
    type(field, "-5"); // a lone "-" is refused, so the minus never lands
    EXPECT_EQ(field.text(), "5");
    backspace(field);
    EXPECT_EQ(field.text(), "");
    type(field, "1x0");
    EXPECT_EQ(field.text(), "10");
    type(field, "0");
    EXPECT_EQ(field.text(), "100");
    type(field, "0");
    EXPECT_EQ(field.text(), "100");
    backspace(field);
    backspace(field);
    EXPECT_EQ(field.text(), "1");
}
