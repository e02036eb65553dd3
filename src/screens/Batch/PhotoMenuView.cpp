#include "screens/Batch/PhotoMenuView.h"

#include <algorithm>
#include <iterator>

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace vantrel {

PhotoMenuView::PhotoMenuView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("vwPhotoMenuOptions"));
    setAccessibleName(tr("Photo menu"));
    setAttribute(Qt::WA_TranslucentBackground);
    const struct {
        const char* objectName;
        const char* caption;
        int option;
    } items[] = {
        { "btnReviealInFinder", "Show in File Manager", 0 },
        { "btnShowPreview", "Open", 1 },
        { "btnGetInfo", "Get Info", 2 },
        { "btnDeleteOnMenuOption", "Remove from Batch", 4 },
    };
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 6, 4, 6);
    layout->setSpacing(0);
    for (int i = 0; i < 4; ++i) {
        auto* button = new QPushButton(tr(items[i].caption), this);
        button->setObjectName(QString::fromLatin1(items[i].objectName));
        button->setAccessibleName(button->text());
        button->setFlat(true);
        button->setFixedHeight(28);
        button->setCursor(Qt::PointingHandCursor);
        button->setStyleSheet(QStringLiteral(
            "QPushButton { color: white; text-align: left; padding-left: 12px; border: none; }"
            "QPushButton:hover, QPushButton:focus { background: rgb(66,180,211); border-radius: 3px; }"));
        const int option = items[i].option;
        connect(button, &QPushButton::clicked, this, [this, option] { emit btnOnMenuOptionTapped(option); });
        button->installEventFilter(this);
        layout->addWidget(button);
        m_buttons[i] = button;
    }
    setFixedSize(190, 4 * 28 + 12);
}

void PhotoMenuView::focusFirstItem()
{
    m_buttons[0]->setFocus(Qt::TabFocusReason);
}

bool PhotoMenuView::eventFilter(QObject* watched, QEvent* event)
{
    const int at = int(std::find(std::begin(m_buttons), std::end(m_buttons), watched) - std::begin(m_buttons));
    if (event->type() != QEvent::KeyPress || at >= 4)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (mods != Qt::NoModifier)
        return QWidget::eventFilter(watched, event);
    int to = -1;
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Backtab:
        to = (at + 3) % 4;
        break;
    case Qt::Key_Down:
        to = (at + 1) % 4;
        break;
    case Qt::Key_Tab:
        to = key->modifiers() & Qt::ShiftModifier ? (at + 3) % 4 : (at + 1) % 4;
        break;
    case Qt::Key_Home:
    case Qt::Key_PageUp:
        to = 0;
        break;
    case Qt::Key_End:
    case Qt::Key_PageDown:
        to = 3;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!key->isAutoRepeat())
            m_buttons[at]->click();
        return true;
    default:
        // An item's first letter, from the item after the focused one.
        if (const QString text = key->text(); text.size() == 1 && text.at(0).isLetter()) {
            for (int step = 1; step <= 4 && to < 0; ++step) {
                const int candidate = (at + step) % 4;
                if (m_buttons[candidate]->text().startsWith(text, Qt::CaseInsensitive))
                    to = candidate;
            }
            if (to < 0)
                return true; // no item starts so: the key is a menu's all the same
        }
        break;
    }
    if (to < 0)
        return QWidget::eventFilter(watched, event);
    m_buttons[to]->setFocus(Qt::TabFocusReason);
    return true;
}

void PhotoMenuView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    painter.fillPath(outline, QColor(54, 63, 78));
    painter.setPen(QColor(80, 92, 112));
    painter.drawPath(outline);
}

} // namespace vantrel
