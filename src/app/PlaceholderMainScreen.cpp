#include "app/PlaceholderMainScreen.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vantrel {

PlaceholderMainScreen::PlaceholderMainScreen(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(36, 41, 50));
    setPalette(p);
    auto* label = new QLabel(QStringLiteral("Vantrel"), this);
    label->setAlignment(Qt::AlignCenter);
    label->setAccessibleName(QStringLiteral("Main screen"));
    QFont f = label->font();
    f.setPointSize(f.pointSize() * 2);
    label->setFont(f);
    label->setStyleSheet(QStringLiteral("color: rgb(195, 204, 233);"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
}

} // namespace vantrel
