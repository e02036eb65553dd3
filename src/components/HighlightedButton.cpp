#include "components/HighlightedButton.h"

#include <QEnterEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QTimer>

#include "components/DisableSubviews.h"
#include "components/Sheet.h"
#include "core/AppDelegate.h"

namespace vantrel {

namespace {

using Kind = HighlightedButtonLook::Kind;

bool keepsClicksWhenDisabled(int tag)
{
    return tag == 108 || tag == 110;
}

} // namespace

HighlightedButton::HighlightedButton(QWidget* parent)
    : QPushButton(parent)
{
    setFlat(true);
    connect(this, &QAbstractButton::pressed, this, &HighlightedButton::highlightOnPress);
}

HighlightedButton::HighlightedButton(const QString& title, QWidget* parent)
    : QPushButton(title, parent)
{
    setFlat(true);
    connect(this, &QAbstractButton::pressed, this, &HighlightedButton::highlightOnPress);
}

int HighlightedButton::tag() const
{
    return DisableSubviews::tagOf(this);
}

void HighlightedButton::setTag(int tag)
{
    DisableSubviews::setTag(this, tag);
    // A button is never left without the look of its tag, even before awakeFromNib().
    setButtonDefault();
}

bool HighlightedButton::hasTagLook() const
{
    return tag() >= 101 && tag() <= 112;
}

void HighlightedButton::awakeFromNib()
{
    m_isEnabled = true;
    setButtonDefault();
}

void HighlightedButton::setEnabled(bool flag)
{
    resetCursorRects();
    m_isEnabled = flag;
    m_disabledFromOutside = false;
    m_settingEnabled = true;
    QWidget::setEnabled(flag || keepsClicksWhenDisabled(tag()));
    m_settingEnabled = false;
    if (flag)
        setButtonDefault();
    else
        setDisabled();
}

void HighlightedButton::setState(int state)
{
    if (state == 0) {
        setEnabled(false);
        return;
    }
    setEnabled(true);
    setButtonDefault();
}

void HighlightedButton::setButtonDefault()
{
    applyLook(Kind::Default);
}

void HighlightedButton::setButtonHighlighted()
{
    applyLook(Kind::Highlighted);
}

void HighlightedButton::setDisabled()
{
    applyLook(Kind::Disabled);
}

void HighlightedButton::applyLook(Kind kind)
{
    const AppDelegate* app = AppDelegate::shareDelegate();
    if (!HighlightedButtonLook::applies(tag(), kind, app->isSubWindowOpened, m_isEnabled, app->isDisableview))
        return;
    const HighlightedButtonLook look = HighlightedButtonLook::forTag(tag(), kind);
    if (look.image != HighlightedButtonLook::Image::Unchanged)
        m_current.image = look.image;
    if (look.background)
        m_current.background = look.background;
    if (look.borderColor)
        m_current.borderColor = look.borderColor;
    if (look.borderWidth)
        m_current.borderWidth = look.borderWidth;
    if (look.cornerRadius)
        m_current.cornerRadius = look.cornerRadius;
    if (look.setsTitle) {
        m_current.setsTitle = true;
        m_current.titleColor = look.titleColor;
        m_current.font = look.font;
        m_layerBacked = true;
    }
    update();
}

bool HighlightedButton::reactsToPointer()
{
    // A button disabled with its window (an inactive title bar), or standing beside a sheet that
    // holds the window, keeps its look under the pointer.
    if (!isEnabled())
        return false;
    const Sheet* sheet = Sheet::activeSheet(this);
    return !sheet || sheet->isAncestorOf(this);
}

void HighlightedButton::highlightOnPress()
{
    if (!reactsToPointer())
        return;
    // The background is cleared only for a highlighted look that applies: a disabled 108 or 110,
    // which still takes clicks, keeps its disabled look instead of losing its background for good.
    const AppDelegate* app = AppDelegate::shareDelegate();
    if (HighlightedButtonLook::applies(
            tag(), Kind::Highlighted, app->isSubWindowOpened, m_isEnabled, app->isDisableview))
        m_current.background = Qt::transparent;
    setButtonHighlighted();
    if (app->isSubWindowOpened && !m_isEnabled)
        return;
    QTimer::singleShot(100, this, &HighlightedButton::setButtonDefault);
}

void HighlightedButton::resetCursorRects()
{
    setCursor(AppDelegate::shareDelegate()->isDisableview ? Qt::ArrowCursor : Qt::PointingHandCursor);
}

QImage HighlightedButton::currentImage() const
{
    switch (m_current.image) {
    case HighlightedButtonLook::Image::Selected:
        return m_imgSelectedState;
    case HighlightedButtonLook::Image::None:
        return {};
    case HighlightedButtonLook::Image::Normal:
    case HighlightedButtonLook::Image::Unchanged:
        break;
    }
    return m_imgNormalState;
}

void HighlightedButton::enterEvent(QEnterEvent* event)
{
    resetCursorRects();
    if (reactsToPointer())
        setButtonHighlighted();
    QPushButton::enterEvent(event);
}

void HighlightedButton::leaveEvent(QEvent* event)
{
    setButtonDefault();
    QPushButton::leaveEvent(event);
}

void HighlightedButton::changeEvent(QEvent* event)
{
    // A QWidget::setEnabled on the button itself from outside is followed like our own. A
    // parent that disables its subtree (an inactive title bar) changes neither the own flag nor
    // the look: the button comes back as it was.
    if (event->type() == QEvent::EnabledChange && !m_settingEnabled) {
        if (!isEnabled() && testAttribute(Qt::WA_ForceDisabled)) {
            m_disabledFromOutside = true;
            m_isEnabled = false;
            setDisabled();
            // Tags 108 and 110 keep taking clicks whoever disables them.
            if (keepsClicksWhenDisabled(tag())) {
                m_settingEnabled = true;
                QWidget::setEnabled(true);
                m_settingEnabled = false;
                m_disabledFromOutside = false;
            }
        } else if (isEnabled() && m_disabledFromOutside) {
            m_disabledFromOutside = false;
            m_isEnabled = true;
            setButtonDefault();
        }
    }
    QPushButton::changeEvent(event);
}

void HighlightedButton::paintEvent(QPaintEvent* event)
{
    if (!hasTagLook()) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect());
    const qreal radius = m_current.cornerRadius.value_or(0);
    const int borderWidth = m_current.borderWidth.value_or(0);
    if (m_layerBacked && m_current.background) {
        QPainterPath path;
        path.addRoundedRect(bounds, radius, radius);
        painter.fillPath(path, *m_current.background);
    }

    const QImage image = currentImage();
    if (!image.isNull()) {
        const QSizeF size = QSizeF(image.size()).scaled(bounds.size(), Qt::KeepAspectRatio);
        const QSizeF drawn
            = image.width() <= bounds.width() && image.height() <= bounds.height() ? QSizeF(image.size()) : size;
        painter.drawImage(QRectF(bounds.center() - QPointF(drawn.width() / 2, drawn.height() / 2), drawn), image);
    }

    if (m_layerBacked && m_current.borderColor && borderWidth > 0) {
        const qreal half = borderWidth / 2.0;
        painter.setPen(QPen(*m_current.borderColor, borderWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(bounds.adjusted(half, half, -half, -half), radius, radius);
    }

    if (text().isEmpty())
        return;
    QFont titleFont = font();
    QColor titleColor = palette().color(QPalette::ButtonText);
    if (m_current.setsTitle) {
        titleColor = m_current.titleColor;
        switch (m_current.font) {
        case HighlightedButtonLook::Font::Regular:
            titleFont.setWeight(QFont::Normal);
            break;
        case HighlightedButtonLook::Font::Bold:
            titleFont.setWeight(QFont::Bold);
            break;
        case HighlightedButtonLook::Font::Semibold:
            titleFont.setWeight(QFont::DemiBold);
            break;
        }
    }
    painter.setFont(titleFont);
    painter.setPen(titleColor);
    painter.drawText(bounds, Qt::AlignCenter, text());
}

} // namespace vantrel
