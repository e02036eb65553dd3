#include "components/RvWindow/RvWindow.h"

#include <QEvent>

#include "components/RvWindow/RvColorView.h"

namespace vantrel {

RvWindow::RvWindow(const QRect& contentRect, Qt::WindowFlags flags, QWidget* parent)
    : QWidget(parent, flags)
    , m_titlebarTintColor(defaultTintColor())
{
    if (contentRect.isValid())
        setGeometry(contentRect);
    setupTitlebarTint();
}

QColor RvWindow::defaultTintColor()
{
    return QColor::fromRgbF(25 / 255.0f, 25 / 255.0f, 25 / 255.0f, 0.96f);
}

QList<QWidget*> RvWindow::titlebarContainers() const
{
    QList<QWidget*> containers;
    for (QObject* child : children()) {
        if (child->isWidgetType() && child->objectName() == QLatin1String(kTitlebarContainerName))
            containers.append(static_cast<QWidget*>(child));
    }
    return containers;
}

void RvWindow::setupTitlebarTint()
{
    for (QWidget* container : titlebarContainers()) {
        if (container->findChild<RvColorView*>(QString(), Qt::FindDirectChildrenOnly))
            continue;
        QWidget* first = nullptr;
        for (QObject* child : container->children()) {
            if (child->isWidgetType()) {
                first = static_cast<QWidget*>(child);
                break;
            }
        }
        auto* tint = new RvColorView(container);
        tint->setObjectName(QStringLiteral("titlebarTint"));
        tint->setGeometry(0, 0, container->width(), container->height());
        tint->setBackgroundColor(m_titlebarTintColor);
        tint->setAttribute(Qt::WA_TransparentForMouseEvents);
        if (first)
            tint->stackUnder(first);
        tint->show();
        container->installEventFilter(this);
        setTintView(tint);
    }
}

QWidget* RvWindow::applesTitlebarView() const
{
    const auto containers = titlebarContainers();
    if (containers.isEmpty())
        return nullptr;
    return containers.first()->findChild<QWidget*>(QLatin1String(kTitlebarViewName), Qt::FindDirectChildrenOnly);
}

void RvWindow::setTitlebarTintColor(const QColor& color)
{
    if (color == m_titlebarTintColor)
        return;
    m_titlebarTintColor = color;
    if (m_tintView)
        m_tintView->setBackgroundColor(color);
}

void RvWindow::setTitlebarEffectState(qint64 state)
{
    m_titlebarEffectState = state;
    if (QWidget* view = applesTitlebarView()) {
        view->setProperty(kEffectStateProperty, state);
        view->update();
    }
}

void RvWindow::setTintView(RvColorView* view)
{
    m_tintView = view;
}

bool RvWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The tint keeps the container's size, as the title bar is resized with the window.
    if (event->type() == QEvent::Resize && watched->isWidgetType()) {
        auto* container = static_cast<QWidget*>(watched);
        if (auto* tint = container->findChild<RvColorView*>(QString(), Qt::FindDirectChildrenOnly))
            tint->setGeometry(0, 0, container->width(), container->height());
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vantrel
