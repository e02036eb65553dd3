#pragma once

// Finding a control the way a user or a screen reader names it.
#include <QAbstractButton>
#include <QString>
#include <QTest>
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

/// The first child of `root` of type T named `accessibleName` that would show with `root`; null
/// when none does.
template <class T> T* shownNamed(QWidget* root, const QString& accessibleName)
{
    for (T* widget : root->findChildren<T*>()) {
        if (widget->accessibleName() == accessibleName && widget->isVisibleTo(root))
            return widget;
    }
    return nullptr;
}

/// A click of the left button at the middle of `button`, as a user's.
inline void clickOn(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

} // namespace vantrel::test
