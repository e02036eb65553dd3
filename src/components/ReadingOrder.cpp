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

} // namespace

QList<QWidget*> ReadingOrder::controls(const QWidget* root)
{
    struct Placed {
        QWidget* widget;
        QRect rect;
    };
    QList<Placed> placed;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (takesTab(widget, root))
            placed.append({ widget, QRect(widget->mapTo(root, QPoint(0, 0)), widget->size()) });
    }
    std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
        return a.rect.top() != b.rect.top() ? a.rect.top() < b.rect.top() : a.rect.left() < b.rect.left();
    });
    QList<QWidget*> ordered;
    for (qsizetype first = 0; first < placed.size();) {
        const QRect head = placed.at(first).rect;
        qsizetype end = first + 1;
        while (end < placed.size() && placed.at(end).rect.center().y() <= head.bottom())
            ++end;
        std::stable_sort(placed.begin() + first, placed.begin() + end,
            [](const Placed& a, const Placed& b) { return a.rect.left() < b.rect.left(); });
        for (qsizetype i = first; i < end; ++i)
            ordered.append(placed.at(i).widget);
        first = end;
    }
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
    const qsizetype at = ordered.indexOf(QApplication::focusWidget());
    if (at < 0)
        return false;
    const qsizetype count = ordered.size();
    ordered.at((at + (next ? 1 : count - 1)) % count)->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

} // namespace vantrel
