#include "screens/Batch/NoNewPhotosAlertView.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "components/Sheet.h"

namespace vantrel {

NoNewPhotosAlertView::NoNewPhotosAlertView(QWidget* parent)
    : QWidget(parent)
    , m_title(new QLabel(this))
    , m_message(new QLabel(this))
    , m_ok(new QPushButton(tr("OK"), this))
    , m_remove(new QPushButton(tr("Remove from Batch"), this))
{
    setObjectName(QStringLiteral("winNoNewPhotos"));
    setAccessibleName(tr("Alert"));
    m_title->setObjectName(QStringLiteral("lblAlertTitleOnALertwin"));
    m_message->setObjectName(QStringLiteral("lblAlertMsgOnAlertWin"));
    m_ok->setObjectName(QStringLiteral("btnOkonAlertWin"));
    m_remove->setObjectName(QStringLiteral("btnRemoveFromBatchOnAlertWin"));
    m_title->setAccessibleName(tr("Alert title"));
    m_message->setAccessibleName(tr("Alert message"));
    m_ok->setAccessibleName(m_ok->text());
    m_remove->setAccessibleName(m_remove->text());
    m_title->setAlignment(Qt::AlignCenter);
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);
    m_title->setStyleSheet(QStringLiteral("color: white; font-weight: bold; font-size: 14px;"));
    m_message->setStyleSheet(QStringLiteral("color: rgb(195,204,233);"));
    const QString button = QStringLiteral("QPushButton { background: rgb(66,180,211); color: white; border: none;"
                                          " border-radius: 3px; padding: 5px 16px; }");
    m_ok->setStyleSheet(button);
    m_remove->setStyleSheet(button);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_remove);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 18);
    layout->setSpacing(12);
    layout->addWidget(m_title);
    layout->addWidget(m_message);
    layout->addLayout(buttons);
    setFixedSize(420, 150);
    // Whichever of the two buttons shows answers Return. Escape acknowledges with OK; it never
    // removes photos.
    Sheet::setDefaultButton(m_ok);
    Sheet::setDefaultButton(m_remove);
    Sheet::setCancelButton(m_ok);
}

void NoNewPhotosAlertView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(54, 63, 78));
}

} // namespace vantrel
