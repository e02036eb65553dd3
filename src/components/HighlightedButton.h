#pragma once

#include <QImage>
#include <QPushButton>

#include "components/HighlightedButtonLook.h"

namespace vantrel {

/// A push button whose whole look (image, background, border, corner radius, title colour and
/// font) follows its tag (the "tag" property, 101 to 112) in three looks: default, highlighted
/// while the pointer is over it, and disabled. Unknown tags draw as a plain push button.
///
/// The button keeps an enabled flag of its own (isButtonEnabled()), distinct from the widget's
/// enabled state: tags 108 and 110 keep taking clicks when set disabled, only their look
/// changes. setState(0) shows the disabled look (the current step's tab). While a sub-window is
/// open, only tag 104 changes its look under the pointer; none does while it is disabled (its
/// window included) or while a sheet it is not part of holds its window. Setting the tag applies its default
/// look (awakeFromNib() does it again and sets the own flag). Icon-only buttons need an accessible name from their
/// screen.
class HighlightedButton : public QPushButton {
    Q_OBJECT

public:
    explicit HighlightedButton(QWidget* parent = nullptr);
    explicit HighlightedButton(const QString& title, QWidget* parent = nullptr);

    int tag() const;
    void setTag(int tag);

    QImage imgNormalState() const { return m_imgNormalState; }
    void setImgNormalState(const QImage& image)
    {
        m_imgNormalState = image;
        update();
    }
    QImage imgSelectedState() const { return m_imgSelectedState; }
    void setImgSelectedState(const QImage& image)
    {
        m_imgSelectedState = image;
        update();
    }

    /// The button's own flag; see the class comment.
    bool isButtonEnabled() const { return m_isEnabled; }

    /// Sets the own flag and the default look; call once the tag and images are set.
    void awakeFromNib();

public slots:
    /// The own flag follows `flag`; the widget's enabled state follows it too except for tags
    /// 108 and 110. Then the default look (true) or the disabled look (false). Declared as a
    /// slot so that callers holding a plain QWidget* reach it through the meta-object
    /// (DisableSubviews does); a direct QWidget::setEnabled(false) is followed as well, and a
    /// 108 or 110 disabled that way is enabled again at once, keeping only the disabled look.
    void setEnabled(bool flag);

public:
    /// 0: setEnabled(false); anything else: setEnabled(true) and the default look.
    void setState(int state);

    void setButtonDefault();
    void setButtonHighlighted();
    void setDisabled();

    /// What the button shows now (for tests and for the screens' layout).
    const HighlightedButtonLook& currentLook() const { return m_current; }
    QImage currentImage() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyLook(HighlightedButtonLook::Kind kind);
    bool reactsToPointer();
    void highlightOnPress();
    void resetCursorRects();
    bool hasTagLook() const;

    QImage m_imgNormalState;
    QImage m_imgSelectedState;
    bool m_isEnabled = true;
    bool m_settingEnabled = false;
    bool m_disabledFromOutside = false; // by a QWidget::setEnabled(false) on the button itself
    /// The accumulated look: each applied look overwrites only what it sets.
    HighlightedButtonLook m_current;
    bool m_layerBacked = false;
};

} // namespace vantrel
