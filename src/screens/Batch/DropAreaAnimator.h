#pragma once

#include <QAbstractButton>
#include <QPointer>

#include "components/TickSource.h"
#include "core/Batch/DropAreaAnimation.h"

namespace vantrel {

/// Plays the empty drop area's animation ("1.png" to "19.png", every 0.2 seconds) on its middle
/// add button. It ticks only while the button is visible: showing the button starts it from the
/// first frame, hiding it stops the timer, so a full batch costs no wake-ups.
class DropAreaAnimator : public QObject {
    Q_OBJECT
public:
    /// `ticks` defaults to a timed source; tests give a manual one.
    explicit DropAreaAnimator(QAbstractButton* button, TickSource* ticks = nullptr);

    bool isRunning() const { return m_ticks->isActive(); }
    /// The frame the button shows now ("" before the first tick).
    QString currentImage() const { return m_current; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void performAnimationWithCounter();
    void dragImageAnimation();

    QPointer<QAbstractButton> m_button;
    /// The button as the filter compares it: a plain address, because the filter also sees the
    /// events the button gets while it is being destroyed, when it is no longer a button.
    const QObject* m_watched;
    TickSource* m_ticks;
    DropAreaAnimation m_animation;
    QString m_current;
};

} // namespace vantrel
