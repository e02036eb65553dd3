#include "components/ReadingOrder.h"

#include <algorithm>

#include <QApplication>
#include <QWidget>

namespace vantrel {

namespace {

bool takesTab(const QWidget* widget, const QWidget* root)
{
    return widget != root && !widget->isWindow() && widget->isVisibleTo(root->window()) && widget->isEnabled()
        && (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy();
}

bool holdsControls(const QWidget* widget, const QWidget* root)
{
    if (takesTab(widget, root))
        return true;
    const auto children = widget->findChildren<QWidget*>();
    return std::any_of(
        children.begin(), children.end(), [root](const QWidget* child) { return takesTab(child, root); });
}

/// The children of container that are controls or hold some, in rows from top to bottom, each
/// row from left to right; each is followed by what it holds, in the same order. A panel is read
/// whole before the panel beside it, as a reader takes a page's columns.
void collect(const QWidget* container, const QWidget* root, QList<QWidget*>& out)
{
    QList<QWidget*> items;
    for (QObject* child : container->children()) {
        if (!child->isWidgetType())
            continue;
        auto* widget = static_cast<QWidget*>(child);
        if (!widget->isWindow() && widget->isVisibleTo(root->window()) && holdsControls(widget, root))
            items.append(widget);
    }
    std::stable_sort(items.begin(), items.end(),
        [](const QWidget* a, const QWidget* b) { return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x(); });
    for (qsizetype first = 0; first < items.size();) {
        const QRect head = items.at(first)->geometry();
        qsizetype end = first + 1;
        while (end < items.size() && items.at(end)->geometry().center().y() <= head.bottom())
            ++end;
        std::stable_sort(items.begin() + first, items.begin() + end,
            [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
        first = end;
    }
    for (QWidget* item : std::as_const(items)) {
        if (takesTab(item, root))
            out.append(item);
        collect(item, root, out);
    }
}

} // namespace

QList<QWidget*> ReadingOrder::controls(const QWidget* root)
{
    QList<QWidget*> ordered;
    collect(root, root, ordered);
    return ordered;
}

QWidget* ReadingOrder::applyTabOrder(const QWidget* root, QWidget* after)
{
    const QList<QWidget*> ordered = controls(root);
    for (qsizetype i = 1; i < ordered.size(); ++i)
        QWidget::setTabOrder(ordered.at(i - 1), ordered.at(i));
    if (after && !ordered.isEmpty())
        QWidget::setTabOrder(ordered.last(), after);
    return ordered.isEmpty() ? nullptr : ordered.last();
}

bool ReadingOrder::moveFocus(const QWidget* root, bool next)
{
    const QList<QWidget*> ordered = controls(root);
    if (!ordered.contains(QApplication::focusWidget()))
        return false;
    moveFocus(ordered, next);
    return true;
}

void ReadingOrder::moveFocus(const QList<QWidget*>& order, bool next)
{
    if (order.isEmpty())
        return;
    const qsizetype count = order.size();
    const qsizetype at = order.indexOf(QApplication::focusWidget());
    const qsizetype to = at < 0 ? (next ? 0 : count - 1) : (at + (next ? 1 : count - 1)) % count;
    order.at(to)->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

} // namespace vantrel
