#include "components/CustomOpenPanel.h"

#include <cmath>

#include <QAbstractItemView>
#include <QScreen>

namespace vantrel {

CustomOpenPanel::CustomOpenPanel(QWidget* parent)
    : QFileDialog(parent)
{
    setOption(QFileDialog::DontUseNativeDialog, true);
    setAccessibleName(tr("Open"));
}

void CustomOpenPanel::setAllowsMultipleSelection(bool allows)
{
    m_allowsMultipleSelection = allows;
    applySelectionMode();
}

void CustomOpenPanel::showEvent(QShowEvent* event)
{
    applySelectionMode();
    QFileDialog::showEvent(event);
}

void CustomOpenPanel::applySelectionMode()
{
    // Without the flag, the dialog's own rule: several files in ExistingFiles mode only.
    const bool several = m_allowsMultipleSelection || fileMode() == QFileDialog::ExistingFiles;
    const auto mode = several ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection;
    // The file list and the detail view of the non-native dialog (the sidebar keeps its own).
    for (const char* name : { "listView", "treeView" })
        if (auto* view = findChild<QAbstractItemView*>(QLatin1String(name)))
            view->setSelectionMode(mode);
}

QRect CustomOpenPanel::frameFor(const QRect& frame, const QRect& visibleFrame)
{
    if (visibleFrame.isEmpty())
        return frame;
    const int height = int(std::round(2.0 * visibleFrame.height() / 5.0));
    const int right = visibleFrame.x() + visibleFrame.width();
    return { right - frame.width(), visibleFrame.y(), frame.width(), height };
}

void CustomOpenPanel::center()
{
    const QScreen* s = screen();
    const QRect visible = s ? s->availableGeometry() : QRect();
    const QRect frame = frameFor(frameGeometry(), visible);
    if (frame == frameGeometry())
        return;
    // frameGeometry includes the window frame; geometry() is what can be set.
    const QMargins frameMargins(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
        frameGeometry().right() - geometry().right(), frameGeometry().bottom() - geometry().bottom());
    setGeometry(frame.marginsRemoved(frameMargins));
    repaint();
}

} // namespace vantrel
