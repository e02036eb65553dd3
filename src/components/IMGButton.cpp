#include "components/IMGButton.h"

#include <QEnterEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStringList>

#include "components/NamedImagePainter.h"
#include "core/ResourceImages.h"

namespace vantrel {

namespace {

int phaseIndex(IMGButton::Phase phase)
{
    return static_cast<int>(phase);
}

/// A screen-reader name for a button that has only images.
QString nameFromImage(const QString& imageName)
{
    const QString stem = imageName.section(u'-', 0, 0).section(u'.', 0, 0);
    if (stem == u"close")
        return IMGButton::tr("Close");
    if (stem == u"min")
        return IMGButton::tr("Minimize");
    if (stem == u"max")
        return IMGButton::tr("Zoom");
    return stem;
}

} // namespace

IMGButton::IMGButton(QWidget* parent)
    : QAbstractButton(parent)
{
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
    connect(this, &QAbstractButton::toggled, this, [this] { update(); });
}

IMGButton* IMGButton::windowButton(const QString& stem, const QString& name, int size, QWidget* parent)
{
    auto* button = new IMGButton(parent);
    const QString normal = stem + QStringLiteral("-normal");
    const QString press = stem + QStringLiteral("-press");
    // Disabled (a window that is not active disables its title bar, and a press draws the
    // disabled look under the hover image) shows the plain image.
    button->setButtonImages(QString(), QString(), press, QString(), QString(), press, QString(), QString(), normal, //
        QString(), QString(), normal, QString(), QString(), press, QString(), QString(), normal);
    button->setImgMouseHover(stem + QStringLiteral("-hover"));
    button->setImgMouseOut(normal);
    button->setCheckable(false);
    button->setFixedSize(size, size);
    button->setAccessibleName(name);
    button->setToolTip(name);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void IMGButton::setButtonImages(const QString& imgOnState_St, const QString& imgOnState_Md,
    const QString& imgOnState_En, const QString& imgOnStateDwn_St, const QString& imgOnStateDwn_Md,
    const QString& imgOnStateDwn_En, const QString& imgOnStateDis_St, const QString& imgOnStateDis_Md,
    const QString& imgOnStateDis_En, const QString& imgOffState_St, const QString& imgOffState_Md,
    const QString& imgOffState_En, const QString& imgOffStateDwn_St, const QString& imgOffStateDwn_Md,
    const QString& imgOffStateDwn_En, const QString& imgOffStateDis_St, const QString& imgOffStateDis_Md,
    const QString& imgOffStateDis_En)
{
    m_isMouseDown = false;
    m_images[1][0] = { imgOnState_St, imgOnState_Md, imgOnState_En };
    m_images[1][1] = { imgOnStateDwn_St, imgOnStateDwn_Md, imgOnStateDwn_En };
    m_images[1][2] = { imgOnStateDis_St, imgOnStateDis_Md, imgOnStateDis_En };
    m_images[0][0] = { imgOffState_St, imgOffState_Md, imgOffState_En };
    m_images[0][1] = { imgOffStateDwn_St, imgOffStateDwn_Md, imgOffStateDwn_En };
    m_images[0][2] = { imgOffStateDis_St, imgOffStateDis_Md, imgOffStateDis_En };
    updateAccessibleName();
    updateGeometry();
    update();
}

void IMGButton::setButtonsImages(const QString& imgState_St, const QString& imgState_Md, const QString& imgState_En,
    const QString& imgStateDwn_St, const QString& imgStateDwn_Md, const QString& imgStateDwn_En,
    const QString& imgStateDis_St, const QString& imgStateDis_Md, const QString& imgStateDis_En)
{
    setButtonImages(imgState_St, imgState_Md, imgState_En, imgStateDwn_St, imgStateDwn_Md, imgStateDwn_En,
        imgStateDis_St, imgStateDis_Md, imgStateDis_En, imgState_St, imgState_Md, imgState_En, imgStateDwn_St,
        imgStateDwn_Md, imgStateDwn_En, imgStateDis_St, imgStateDis_Md, imgStateDis_En);
}

IMGButton::ThreePart IMGButton::images(bool onState, Phase phase) const
{
    return m_images[onState ? 1 : 0][phaseIndex(phase)];
}

void IMGButton::setImages(bool onState, Phase phase, const ThreePart& names)
{
    m_images[onState ? 1 : 0][phaseIndex(phase)] = names;
    updateAccessibleName();
    update();
}

void IMGButton::setImgMouseHover(const QString& name)
{
    m_imgMouseHover = name;
    update();
}

void IMGButton::setMargins(const QMargins& margins)
{
    m_margins = margins;
    m_fitCache.clear();
    update();
}

void IMGButton::setMultiLineMargins(int top, int bottom)
{
    m_marginTopML = top;
    m_marginBottomML = bottom;
    m_fitCache.clear();
    update();
}

void IMGButton::setMultiLineStr(const QString& separator)
{
    m_multiLineStr = separator;
    update();
}

void IMGButton::setMakeBoldFont(bool flag)
{
    m_makeBoldFont = flag;
    m_fitCache.clear();
    update();
}

IMGButton::ThreePart IMGButton::currentImages() const
{
    // A pressed button draws its disabled look.
    if (drawsDisabled())
        return images(isChecked(), Phase::Disabled);
    return images(isChecked(), m_isMouseDown ? Phase::Pressed : Phase::Normal);
}

QColor IMGButton::colorText() const
{
    if (drawsDisabled())
        return isChecked() ? m_colorOnStateDis : m_colorOffStateDis;
    return isChecked() ? m_colorOnState : m_colorOffState;
}

IMGButtonTitleFitter::Fit IMGButton::fittedTitle(const QString& text, bool multi)
{
    const QMargins margins
        = multi ? QMargins(m_margins.left(), m_marginTopML, m_margins.right(), m_marginBottomML) : m_margins;
    const QString family = font().family();
    const QString key = QStringLiteral("%1|%2|%3x%4|%5").arg(multi).arg(family).arg(width()).arg(height()).arg(text);
    auto cached = m_fitCache.constFind(key);
    if (cached == m_fitCache.constEnd()) {
        if (m_fitCache.size() > 64)
            m_fitCache.clear();
        cached = m_fitCache.insert(key, IMGButtonTitleFitter::fit(text, rect(), margins, m_makeBoldFont, family));
    }
    std::optional<IMGButtonTitleFitter::Fit>& last = m_lastFit[multi ? 1 : 0];
    if (cached->has_value())
        last = **cached;
    else if (!last || last->text != text)
        // Fits even at the largest size: keep what was fitted before for this title, or draw
        // at the largest size on the first draw.
        last = IMGButtonTitleFitter::largest(text, rect(), margins, family);
    return *last;
}

IMGButton::TitleAttributes IMGButton::getAttributesForRect(const QSizeF& size)
{
    if (m_isMultiLine && !m_multiLineStr.isEmpty()) {
        QStringList parts = text().split(m_multiLineStr);
        if (parts.size() >= 2) {
            const QString first = parts.takeFirst();
            setText(first + u'\n' + parts.join(m_multiLineStr));
        }
    }
    const QString title = text();
    QFont font(this->font().family());
    int fitting = 0;
    for (int s = IMGButtonTitleFitter::kMinFontSize; s <= IMGButtonTitleFitter::kMaxFontSize; ++s) {
        font.setPixelSize(s);
        const QSizeF measured = IMGButtonTitleFitter::measure(title, font);
        if (measured.width() > size.width() || measured.height() > size.height())
            break;
        fitting = s;
    }
    if (fitting == IMGButtonTitleFitter::kMaxFontSize)
        return {};
    TitleAttributes attributes;
    // Nothing fits at all: the smallest size still gives a font.
    font.setPixelSize(std::max(fitting, IMGButtonTitleFitter::kMinFontSize - 1));
    attributes.font = font;
    attributes.alignment = Qt::AlignHCenter;
    attributes.color = colorText();
    const qreal textHeight = IMGButtonTitleFitter::measure(title, font).height();
    if (textHeight < size.height())
        m_rectText = QRectF(0, (size.height() - textHeight) / 2, size.width(), textHeight);
    return attributes;
}

void IMGButton::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF bounds = QRectF(rect());
    const ThreePart look = currentImages();
    NamedImagePainter::drawThreePart(painter, bounds, look.st, look.md, look.en);

    const QString title = text();
    m_drawnTitle.reset();
    if (!title.isEmpty()) {
        IMGButtonTitleFitter::Fit drawn = fittedTitle(title, false);
        if (IMGButtonTitleFitter::canSplit(title, m_multiLineStr)) {
            const IMGButtonTitleFitter::Fit twoLines
                = fittedTitle(IMGButtonTitleFitter::twoLineTitle(title, m_multiLineStr), true);
            const auto area = [](const QSizeF& s) { return s.width() * s.height(); };
            if (area(twoLines.size) > area(drawn.size))
                drawn = twoLines;
        }
        if (m_isMouseDown)
            drawn.rect.translate(1, 1);
        painter.setFont(drawn.font);
        painter.setPen(colorText());
        painter.drawText(drawn.rect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, drawn.text);
        m_drawnTitle = drawn;
    }

    if (m_isMouseHover && !isChecked()) {
        const ThreePart on = images(true, Phase::Normal);
        NamedImagePainter::drawThreePart(painter, bounds, on.st, on.md, m_imgMouseHover);
    }
}

void IMGButton::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    m_isMouseDown = true;
    update();
}

void IMGButton::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void IMGButton::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || !m_isMouseDown)
        return;
    m_isMouseDown = false;
    update();
    const QPointF p = event->position();
    if (p.x() < 0 || p.x() > width() || p.y() < 0 || p.y() > height())
        return;
    // The action may close the window holding this button.
    QPointer<IMGButton> alive(this);
    emit clicked(isChecked());
    if (!alive)
        return;
    setChecked(!isChecked());
    if (!m_enableImmediately)
        setEnabled(false);
}

void IMGButton::enterEvent(QEnterEvent* event)
{
    if (isEnabled()) {
        m_isMouseHover = true;
        update();
    }
    QAbstractButton::enterEvent(event);
}

void IMGButton::leaveEvent(QEvent* event)
{
    m_isMouseHover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void IMGButton::updateAccessibleName()
{
    // Never overwrite a name the screen gave.
    if (!text().isEmpty() || (!accessibleName().isEmpty() && accessibleName() != m_autoAccessibleName))
        return;
    for (const auto& state : m_images) {
        for (const ThreePart& part : state) {
            for (const QString& name : { part.en, part.st, part.md }) {
                if (!name.isEmpty()) {
                    m_autoAccessibleName = nameFromImage(name);
                    setAccessibleName(m_autoAccessibleName);
                    return;
                }
            }
        }
    }
}

QSize IMGButton::sizeHint() const
{
    const ThreePart look = images(false, Phase::Normal);
    const QImage start = ResourceImages::named(look.st);
    const QImage end = ResourceImages::named(look.en);
    const QImage middle = ResourceImages::named(look.md);
    int w = start.width() + end.width() + middle.width();
    int h = std::max({ start.height(), end.height(), middle.height() });
    if (!text().isEmpty()) {
        const QSize textSize = fontMetrics().size(0, text());
        w = std::max(w, textSize.width() + m_margins.left() + m_margins.right());
        h = std::max(h, textSize.height() + m_margins.top() + m_margins.bottom());
    }
    return { std::max(w, 1), std::max(h, 1) };
}

} // namespace vantrel
