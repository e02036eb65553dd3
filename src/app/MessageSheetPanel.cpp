#include "app/MessageSheetPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantrel {

MessageSheetPanel::MessageSheetPanel(const QString& title, const QString& message, const QStringList& buttons,
    const QString& accessibleName, QWidget* parent)
    : QFrame(parent)
{
    setAccessibleName(accessibleName);
    setObjectName(QStringLiteral("messageSheetPanel"));
    setStyleSheet(
        QStringLiteral("#messageSheetPanel { background: rgb(54, 63, 78); border: 1px solid rgb(30, 34, 42);"
                       " border-bottom-left-radius: 6px; border-bottom-right-radius: 6px; }"
                       "QLabel { color: white; background: transparent; }"
                       "QPushButton { color: white; background: rgb(36, 41, 50); border: 1px solid rgb(80, 90, 108);"
                       " border-radius: 4px; padding: 6px 16px; min-width: 90px; }"
                       "QPushButton:hover { border-color: rgb(66, 180, 211); }"
                       "QPushButton:default { background: rgb(66, 180, 211); border-color: rgb(66, 180, 211); }"));
    setFixedWidth(460);

    m_title = new QLabel(title, this);
    QFont f = m_title->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    m_title->setFont(f);
    m_message = new QLabel(message, this);
    m_message->setWordWrap(true);
    m_message->setStyleSheet(QStringLiteral("color: rgb(195, 204, 233);"));

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (int i = buttons.size() - 1; i >= 0; --i) {
        auto* b = new QPushButton(buttons.at(i), this);
        b->setAccessibleName(buttons.at(i));
        b->setDefault(i == 0);
        b->setAutoDefault(false);
        row->addWidget(b);
        m_buttons.prepend(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 18);
    layout->setSpacing(12);
    layout->addWidget(m_title);
    layout->addWidget(m_message);
    layout->addSpacing(8);
    layout->addLayout(row);
    // The wrapped message decides the height at the fixed width (the sheet asks heightForWidth).
    resize(width(), layout->totalHeightForWidth(width()));
}

} // namespace vantrel
