#include "components/TitleBar/OvWindowButton.h"

#include <QEvent>
#include <QPainter>
#include <QWindowStateChangeEvent>

#include "components/TitleBar/OvWindowButtonGroup.h"

namespace vantrel {

OvWindowButton* OvWindowButton::windowButtonWithSize(QSize size, const QString& groupIdentifier, QWidget* parent)
{
    return new OvWindowButton(size, groupIdentifier, parent);
}

OvWindowButton::OvWindowButton(QSize size, const QString& groupIdentifier, QWidget* parent)
    : QAbstractButton(parent)
    , m_size(size)
    , m_groupIdentifier(groupIdentifier)
{
    setFixedSize(size);
    setFocusPolicy(Qt::NoFocus);
    setText(QString());
    connect(group(), &OvWindowButtonGroup::rolloverStateChanged, this, &OvWindowButton::updateRollOverImage);
    watchWindow();
}

OvWindowButton::Image OvWindowButton::imageFor(bool enabled, bool inKeyWindow, bool groupShowsRollover, bool pressed)
{
    if (pressed && enabled)
        return Image::Pressed;
    if (!enabled)
        return Image::Inactive;
    if (groupShowsRollover)
        return Image::Rollover;
    return inKeyWindow ? Image::Active : Image::ActiveNotKeyWindow;
}

OvWindowButtonGroup* OvWindowButton::group() const
{
    return OvWindowButtonGroup::groupWithIdentifier(m_groupIdentifier);
}

void OvWindowButton::setActiveImage(const QPixmap& image)
{
    m_active = image;
    update();
}

void OvWindowButton::setActiveNotKeyWindowImage(const QPixmap& image)
{
    m_activeNotKey = image;
    update();
}

void OvWindowButton::setInactiveImage(const QPixmap& image)
{
    m_inactive = image;
    update();
}

void OvWindowButton::setRolloverImage(const QPixmap& image)
{
    m_rollover = image;
    update();
}

void OvWindowButton::setPressedImage(const QPixmap& image)
{
    m_pressed = image;
    update();
}

bool OvWindowButton::inKeyWindow() const
{
    return window() && window()->isActiveWindow();
}

void OvWindowButton::updateImage()
{
    m_shown = imageFor(isEnabled(), inKeyWindow(), false, false);
    update();
}

void OvWindowButton::updateActiveImage()
{
    m_shown = isEnabled() ? Image::Active : Image::Inactive;
    update();
}

void OvWindowButton::updateRollOverImage()
{
    m_shown = imageFor(isEnabled(), inKeyWindow(), group()->shouldDisplayRollOver(), false);
    update();
}

const QPixmap& OvWindowButton::pixmapFor(Image image) const
{
    switch (image) {
    case Image::Active:
        return m_active;
    case Image::ActiveNotKeyWindow:
        return m_activeNotKey.isNull() ? m_active : m_activeNotKey;
    case Image::Inactive:
        return m_inactive.isNull() ? m_active : m_inactive;
    case Image::Rollover:
        return m_rollover;
    case Image::Pressed:
        return m_pressed.isNull() ? m_active : m_pressed;
    }
    return m_active;
}

void OvWindowButton::paintEvent(QPaintEvent*)
{
    const Image image = isDown() && isEnabled() ? Image::Pressed : m_shown;
    const QPixmap& pixmap = pixmapFor(image);
    if (pixmap.isNull())
        return; // a missing image draws nothing
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), pixmap);
}

void OvWindowButton::enterEvent(QEnterEvent* event)
{
    group()->didCaptureMousePointer();
    updateRollOverImage();
    QAbstractButton::enterEvent(event);
}

void OvWindowButton::leaveEvent(QEvent* event)
{
    group()->didReleaseMousePointer();
    updateRollOverImage();
    QAbstractButton::leaveEvent(event);
}

void OvWindowButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        updateActiveImage();
    else if (event->type() == QEvent::ParentChange) {
        watchWindow();
        updateImage();
    }
    QAbstractButton::changeEvent(event);
}

void OvWindowButton::watchWindow()
{
    QWidget* w = window();
    if (w == m_watchedWindow)
        return;
    if (m_watchedWindow)
        m_watchedWindow->removeEventFilter(this);
    m_watchedWindow = w;
    if (w && w != this)
        w->installEventFilter(this);
    else
        m_watchedWindow = nullptr;
}

bool OvWindowButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_watchedWindow) {
        if (event->type() == QEvent::ActivationChange) {
            updateImage();
        } else if (event->type() == QEvent::WindowStateChange) {
            const bool fullScreen = m_watchedWindow->windowState() & Qt::WindowFullScreen;
            const auto* change = static_cast<QWindowStateChangeEvent*>(event);
            const bool wasFullScreen = change->oldState() & Qt::WindowFullScreen;
            if (fullScreen != wasFullScreen) {
                group()->resetMouseCaptures();
                // Shown again on leaving only when entering hid it: a button its owner hid stays hidden.
                if (fullScreen && isVisibleTo(m_watchedWindow)) {
                    m_hiddenForFullScreen = true;
                    hide();
                } else if (!fullScreen && m_hiddenForFullScreen) {
                    m_hiddenForFullScreen = false;
                    show();
                }
            }
        }
    }
    return QAbstractButton::eventFilter(watched, event);
}

} // namespace vantrel
