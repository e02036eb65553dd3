#pragma once

#include <functional>

#include <QPointer>
#include <QWidget>

namespace vantrel {

/// A sheet: content shown over a window, inside it, dropping from the bottom of its title bar.
/// The overlay covers the top-level window below the height in its "vantrelSheetTop" property
/// (int px, 0 when unset), dims what lies under it and keeps mouse, wheel, drop and key input
/// away from it while the sheet is up (the title bar above it stays usable). The content is centred horizontally at the
/// overlay's top.
///
/// Nothing waits: beginSheet returns at once and the answer arrives in the completion. Ending
/// hides the content and gives it back to the window (not deleted), so callers can show it
/// again. The sheet does not change the application's sub-window flag; callers keep that as
/// their screen requires. A second sheet begun on the same window stacks above the first.
class Sheet : public QWidget {
    Q_OBJECT

public:
    using Completion = std::function<void(int returnCode)>;

    static constexpr const char* kSheetTopProperty = "vantrelSheetTop";

    /// Shows the content as a sheet of window->window(). Returns the sheet, owned by that window
    /// and deleted after it ends; nullptr without a window or content.
    static Sheet* beginSheet(QWidget* window, QWidget* content, Completion done = {});
    /// The topmost sheet still up on window->window(), nullptr when none.
    static Sheet* activeSheet(QWidget* window);

    /// Hides the sheet, returns the content to the window and calls the completion once.
    /// Later calls do nothing.
    void endSheet(int returnCode = 0);

    QWidget* content() const { return m_content; }
    bool isActive() const { return m_active; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    Sheet(QWidget* topLevel, QWidget* content, Completion done);
    void layoutInWindow();
    bool blocksInput(QObject* receiver, QEvent* event) const;

    QPointer<QWidget> m_topLevel;
    QPointer<QWidget> m_content;
    QPointer<QWidget> m_previousFocus;
    Completion m_done;
    bool m_active = true;
};

} // namespace vantrel
