#include "screens/Batch/PhotoMenuView.h"

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
        button->setStyleSheet(
            QStringLiteral("QPushButton { color: white; text-align: left; padding-left: 12px; border: none; }"
                           "QPushButton:hover { background: rgb(66,180,211); border-radius: 3px; }"));
        const int option = items[i].option;
        connect(button, &QPushButton::clicked, this, [this, option] { emit btnOnMenuOptionTapped(option); });
        layout->addWidget(button);
        m_buttons[i] = button;
    }
    setFixedSize(190, 4 * 28 + 12);
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
