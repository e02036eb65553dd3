#pragma once

#include <QAbstractButton>
#include <QPixmap>
#include <QString>

namespace vantrel {

class OvWindowButtonGroup;

/// A window button (close, minimise, zoom, full screen) drawn from images, with rollover state
/// shared through its group. Which image shows is decided by imageFor().
class OvWindowButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Image { Active, ActiveNotKeyWindow, Inactive, Rollover, Pressed };

    static OvWindowButton* windowButtonWithSize(QSize size, const QString& groupIdentifier, QWidget* parent = nullptr);
    OvWindowButton(QSize size, const QString& groupIdentifier, QWidget* parent = nullptr);

    /// The image rule: pressed shows the pressed image; disabled the inactive one; a rollover
    /// of the group shows the rollover image; otherwise the active image in the key window and
    /// the not-key one elsewhere.
    static Image imageFor(bool enabled, bool inKeyWindow, bool groupShowsRollover, bool pressed);

    const QString& groupIdentifier() const { return m_groupIdentifier; }
    OvWindowButtonGroup* group() const;

    void setActiveImage(const QPixmap& image);
    void setActiveNotKeyWindowImage(const QPixmap& image);
    void setInactiveImage(const QPixmap& image);
    void setRolloverImage(const QPixmap& image);
    void setPressedImage(const QPixmap& image);

    /// The image showing now.
    Image shownImage() const { return m_shown; }

    void updateImage();
    void updateActiveImage();
    void updateRollOverImage();

    QSize sizeHint() const override { return m_size; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchWindow();
    bool inKeyWindow() const;
    const QPixmap& pixmapFor(Image image) const;

    QSize m_size;
    QString m_groupIdentifier;
    QPixmap m_active, m_activeNotKey, m_inactive, m_rollover, m_pressed;
    Image m_shown = Image::Active;
    QWidget* m_watchedWindow = nullptr;
    bool m_hiddenForFullScreen = false;
};

} // namespace vantrel
