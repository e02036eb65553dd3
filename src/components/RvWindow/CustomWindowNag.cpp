#include "components/RvWindow/CustomWindowNag.h"

namespace vantrel {

CustomWindowNag::CustomWindowNag(const QRect& contentRect, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    Qt::WindowFlags flags = Qt::Window | Qt::NoDropShadowWindowHint;
    if (isYosemite())
        flags |= Qt::FramelessWindowHint;
    setWindowFlags(flags);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    if (contentRect.isValid())
        setGeometry(contentRect);
}

} // namespace vantrel
