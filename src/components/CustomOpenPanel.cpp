#include "components/CustomOpenPanel.h"

#include <cmath>

#include <QScreen>

namespace vantrel {

CustomOpenPanel::CustomOpenPanel(QWidget* parent)
    : QFileDialog(parent)
{
    setOption(QFileDialog::DontUseNativeDialog, true);
    setAccessibleName(tr("Open"));
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
