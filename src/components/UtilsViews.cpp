#include "components/UtilsViews.h"

#include <QPainter>
#include <QPainterPath>
#include <QWidget>

namespace vantrel {

namespace {

/// A dark, slightly translucent backdrop with rounded corners, drawn behind a panel.
class VisualEffectBackdrop : public QWidget {
public:
    explicit VisualEffectBackdrop(QWidget* parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("visualEffectView"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setProperty("cornerRadius", UtilsViews::kCornerRadius);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()), UtilsViews::kCornerRadius, UtilsViews::kCornerRadius);
        painter.fillPath(path, QColor(30, 30, 30, 235));
    }
};

} // namespace

QWidget* UtilsViews::addVisualEffectView(QWidget* view, QWidget* relativeToView)
{
    if (!view || !relativeToView)
        return nullptr;
    relativeToView->setProperty("cornerRadius", kCornerRadius);
    auto* backdrop = new VisualEffectBackdrop(view);
    backdrop->setGeometry(0, 0, view->width(), view->height() + 20);
    if (relativeToView->parentWidget() == view)
        backdrop->stackUnder(relativeToView);
    else
        backdrop->lower();
    backdrop->show();
    return backdrop;
}

} // namespace vantrel
