#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

namespace vantrel {

/// The main screen's loading overlay (`vwLoading`): a veil over the whole screen with a rounded
/// grey box (`bgLoader`) that plays the frames "loader1.png" to "loader55.png" in a loop under a
/// text. Showing it marks a sub-window as open; hiding it clears the mark.
class LoadingOverlay : public QWidget {
    Q_OBJECT

public:
    explicit LoadingOverlay(QWidget* parent);

    /// Shows the animated overlay with the text; when the animation already runs, or for show
    /// false, hides it instead.
    void showLoading(bool show, const QString& text);
    /// The plain variant: the veil without the animated box, hidden for enable true.
    void enableView(bool enable);

    bool isAnimating() const { return m_loadertimer.isActive(); }
    int loaderCounter() const { return m_loaderCounter; }
    QWidget* bgForAnimator() const { return m_bgForAnimator; }
    QLabel* txtLoading() const { return m_txtLoading; }

    static constexpr int kFrameCount = 55;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void tick();
    void coverParent();

    QWidget* m_bgForAnimator = nullptr;
    QWidget* m_bgLoader = nullptr;
    QLabel* m_imgLoader = nullptr;
    QLabel* m_txtLoading = nullptr;
    QTimer m_loadertimer;
    int m_loaderCounter = 0;
    QString m_text;
};

} // namespace vantrel
