#pragma once

// Finding a control the way a user or a screen reader names it.
#include <QString>
#include <QWidget>

namespace vantrel::test {

/// The first child of `root` of type T whose accessible name is `accessibleName`, shown or not;
/// null when there is none.
template <class T> T* named(QWidget* root, const QString& accessibleName)
{
    for (T* widget : root->findChildren<T*>()) {
        if (widget->accessibleName() == accessibleName)
            return widget;
    }
    return nullptr;
}

} // namespace vantrel::test
