#include "JourneyGestures.h"

#include <cmath>

#include <QAbstractItemView>
#include <QApplication>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>
#include <QWheelEvent>

#include "JourneyDriver.h"
#include "support/TestImages.h"

namespace vantrel::journeys {

::testing::AssertionResult clickItem(const QString& viewName, const QString& itemText, QWidget* scope)
{
    QString why;
    auto* view = qobject_cast<QAbstractItemView*>(findControl(viewName, scope, &why));
    if (!view)
        return ::testing::AssertionFailure()
            << "cannot choose \"" << itemText.toStdString()
            << "\": " << (why.isEmpty() ? "\"" + viewName.toStdString() + "\" is no list" : why.toStdString());
    QAbstractItemModel* model = view->model();
    QModelIndex found;
    for (int row = 0; model && row < model->rowCount(view->rootIndex()) && !found.isValid(); ++row)
        for (int column = 0; column < model->columnCount(view->rootIndex()) && !found.isValid(); ++column) {
            const QModelIndex index = model->index(row, column, view->rootIndex());
            if (index.data().toString() == itemText)
                found = index;
        }
    if (!found.isValid())
        return ::testing::AssertionFailure()
            << "list \"" << viewName.toStdString() << "\" has no row \"" << itemText.toStdString() << "\"";
    QWidget* viewport = view->viewport();
    for (int turns = 0; turns < 40 && !viewport->rect().contains(view->visualRect(found)); ++turns) {
        const bool down = view->visualRect(found).top() > viewport->rect().center().y();
        const QPoint centre = viewport->rect().center();
        QWheelEvent wheel(centre, viewport->mapToGlobal(centre), QPoint(), QPoint(0, down ? -120 : 120), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
        QApplication::processEvents();
    }
    const QRect rect = view->visualRect(found);
    if (!viewport->rect().contains(rect.center()))
        return ::testing::AssertionFailure() << "row \"" << itemText.toStdString() << "\" of \""
                                             << viewName.toStdString() << "\" cannot be scrolled into view";
    return clickWidget(viewport, viewName + " row " + itemText, rect.center());
}

namespace {

QAction* actionNamed(const QList<QAction*>& actions, const QString& text)
{
    for (QAction* action : actions)
        if (action->text() == text && action->isVisible())
            return action;
    return nullptr;
}

QMenu* openPopupMenu()
{
    return visibleTopLevel<QMenu>();
}

::testing::AssertionResult openMenu(const QString& menu, QMenu** popup)
{
    QString why;
    auto* bar = qobject_cast<QMenuBar*>(findControl(QStringLiteral("Menu"), nullptr, &why));
    if (!bar)
        return ::testing::AssertionFailure() << "no menu bar: " << why.toStdString();
    QAction* title = actionNamed(bar->actions(), menu);
    if (!title)
        return ::testing::AssertionFailure() << "the menu bar has no menu \"" << menu.toStdString() << "\"";
    if (::testing::AssertionResult ok = clickWidget(bar, "menu " + menu, bar->actionGeometry(title).center()); !ok)
        return ok;
    if (!waitFor([] { return openPopupMenu() != nullptr; }, 3000))
        return ::testing::AssertionFailure() << "the menu \"" << menu.toStdString() << "\" did not open";
    *popup = openPopupMenu();
    return ::testing::AssertionSuccess();
}

/// Opens `menu` from the menu bar and finds its item `item` in it, left open.
::testing::AssertionResult openMenuAt(const QString& menu, const QString& item, QMenu** popup, QAction** action)
{
    if (::testing::AssertionResult ok = openMenu(menu, popup); !ok)
        return ok;
    *action = actionNamed((*popup)->actions(), item);
    if (!*action)
        return ::testing::AssertionFailure()
            << "the menu \"" << menu.toStdString() << "\" has no item \"" << item.toStdString() << "\"";
    return ::testing::AssertionSuccess();
}

} // namespace

::testing::AssertionResult chooseMenuItem(const QString& menu, const QString& item)
{
    QMenu* popup = nullptr;
    QAction* action = nullptr;
    if (::testing::AssertionResult ok = openMenuAt(menu, item, &popup, &action); !ok)
        return ok;
    if (!action->isEnabled())
        return ::testing::AssertionFailure() << "the menu item \"" << item.toStdString() << "\" is disabled";
    return clickWidget(popup, "menu item " + item, popup->actionGeometry(action).center());
}

::testing::AssertionResult menuItemEnabled(const QString& menu, const QString& item, bool* enabled)
{
    QMenu* popup = nullptr;
    QAction* action = nullptr;
    if (::testing::AssertionResult ok = openMenuAt(menu, item, &popup, &action); !ok)
        return ok;
    *enabled = action->isEnabled();
    if (::testing::AssertionResult ok = pressKey(Qt::Key_Escape); !ok)
        return ok;
    if (!waitFor([] { return openPopupMenu() == nullptr; }, 3000))
        return ::testing::AssertionFailure() << "the menu \"" << menu.toStdString() << "\" did not close on Escape";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult dropPaths(QWidget* area, const QString& name, const QStringList& paths)
{
    if (::testing::AssertionResult ok = isReachable(area, name); !ok)
        return ok;
    auto* mime = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    mime->setUrls(urls);
    const QPointF at = area->rect().center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(area, &enter);
    if (!enter.isAccepted()) {
        delete mime;
        return ::testing::AssertionFailure() << "\"" << name.toStdString() << "\" refuses the dragged files";
    }
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(area, &move);
    QDropEvent drop(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(area, &drop);
    QApplication::processEvents();
    delete mime;
    if (!drop.isAccepted())
        return ::testing::AssertionFailure() << "\"" << name.toStdString() << "\" did not accept the drop";
    return ::testing::AssertionSuccess();
}

bool showsPattern(QWidget* widget, const QRect& part)
{
    if (!widget || !widget->isVisible())
        return false;
    const QImage image = widget->grab(part.isNull() ? widget->rect() : part).toImage();
    // The four quadrant colours of the test photos (JPEG and scaling blur them a little).
    using testimages::Corner;
    const Corner corners[] = { Corner::TopLeft, Corner::TopRight, Corner::BottomLeft, Corner::BottomRight };
    bool seen[4] = { false, false, false, false };
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) {
            const QColor c = image.pixelColor(x, y);
            const std::vector<double> pixel { double(c.red()), double(c.green()), double(c.blue()) };
            for (int i = 0; i < 4; ++i)
                seen[i] = seen[i] || testimages::looksLike(pixel, corners[i], false, 40);
        }
    return seen[0] && seen[1] && seen[2] && seen[3];
}

} // namespace vantrel::journeys
