#include "screens/Batch/DropAreaAnimator.h"

#include <QEvent>
#include <QIcon>
#include <QPixmap>

#include "core/ResourceImages.h"

namespace vantrel {

DropAreaAnimator::DropAreaAnimator(QAbstractButton* button, TickSource* ticks)
    : QObject(button)
    , m_button(button)
    , m_watched(button)
    , m_ticks(ticks ? ticks : new TickSource(this))
{
    if (m_ticks->parent() == nullptr)
        m_ticks->setParent(this);
    connect(m_ticks, &TickSource::tick, this, &DropAreaAnimator::performAnimationWithCounter);
    button->installEventFilter(this);
    if (button->isVisible())
        dragImageAnimation();
}

bool DropAreaAnimator::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_watched) {
        if (event->type() == QEvent::Show)
            dragImageAnimation();
        else if (event->type() == QEvent::Hide)
            m_ticks->stop();
    }
    return false;
}

void DropAreaAnimator::dragImageAnimation()
{
    m_animation.restart();
    m_ticks->start(DropAreaAnimation::kIntervalMs);
}

void DropAreaAnimator::performAnimationWithCounter()
{
    if (!m_button || !m_button->isVisible()) {
        m_ticks->stop();
        return;
    }
    if (const auto image = m_animation.tick()) {
        m_current = *image;
        const QImage frame = ResourceImages::named(*image);
        m_button->setIcon(QIcon(QPixmap::fromImage(frame)));
        if (!frame.isNull())
            m_button->setIconSize(frame.size());
    }
}

} // namespace vantrel
