#pragma once

#include <optional>

#include <QAbstractButton>
#include <QColor>
#include <QHash>

#include "components/IMGButtonTitleFitter.h"

namespace vantrel {

/// A button drawn from named three-part images (start cap, middle fill, end cap) for each state
/// (on, off) and phase (normal, pressed, disabled), with an end cap drawn over it while hovered,
/// and a title whose font size is fitted to the button.
///
/// Pressing and releasing follow the button's own flag rather than Qt's down state: a press
/// draws the disabled look (the text moves by one point); a release inside the frame, edges
/// included, emits clicked() with the state as it was, then toggles the state (0 <-> 1); with
/// enableImmediately off the button is then really disabled until its screen enables it. A
/// release outside only ends the press. The state is the checked state (the button is
/// checkable). An icon-only button is named for screen readers after its image names
/// ("close-normal" -> "Close", "min-..." -> "Minimize", "max-..." -> "Zoom") unless given a name.
class IMGButton : public QAbstractButton {
    Q_OBJECT

public:
    enum class Phase { Normal, Pressed, Disabled };
    struct ThreePart {
        QString st, md, en;
    };

    explicit IMGButton(QWidget* parent = nullptr);

    /// A custom window button (close, minimise, zoom) of the images "<stem>-normal" (off, and
    /// disabled), "<stem>-press" (on) and "<stem>-hover" (hover end cap, also while pressed),
    /// exactly as large as its square images so the end caps cover it whole. It is momentary:
    /// its state stays off, so the hover image shows every time the pointer is over it, also
    /// after a click. `name` is its accessible name and tool tip.
    static IMGButton* windowButton(const QString& stem, const QString& name, int size, QWidget* parent = nullptr);

    /// The 18 image names, on state first (start cap, middle, end cap for normal, pressed and
    /// disabled), then the off state. Ends a press in progress.
    void setButtonImages(const QString& imgOnState_St, const QString& imgOnState_Md, const QString& imgOnState_En,
        const QString& imgOnStateDwn_St, const QString& imgOnStateDwn_Md, const QString& imgOnStateDwn_En,
        const QString& imgOnStateDis_St, const QString& imgOnStateDis_Md, const QString& imgOnStateDis_En,
        const QString& imgOffState_St, const QString& imgOffState_Md, const QString& imgOffState_En,
        const QString& imgOffStateDwn_St, const QString& imgOffStateDwn_Md, const QString& imgOffStateDwn_En,
        const QString& imgOffStateDis_St, const QString& imgOffStateDis_Md, const QString& imgOffStateDis_En);
    /// The same nine names for both states.
    void setButtonsImages(const QString& imgState_St, const QString& imgState_Md, const QString& imgState_En,
        const QString& imgStateDwn_St, const QString& imgStateDwn_Md, const QString& imgStateDwn_En,
        const QString& imgStateDis_St, const QString& imgStateDis_Md, const QString& imgStateDis_En);
    ThreePart images(bool onState, Phase phase) const;
    void setImages(bool onState, Phase phase, const ThreePart& names);

    QString imgMouseHover() const { return m_imgMouseHover; }
    void setImgMouseHover(const QString& name);
    QString imgMouseOut() const { return m_imgMouseOut; }
    void setImgMouseOut(const QString& name) { m_imgMouseOut = name; }

    QColor colorOnState() const { return m_colorOnState; }
    void setColorOnState(const QColor& c)
    {
        m_colorOnState = c;
        update();
    }
    QColor colorOnStateDis() const { return m_colorOnStateDis; }
    void setColorOnStateDis(const QColor& c)
    {
        m_colorOnStateDis = c;
        update();
    }
    QColor colorOffState() const { return m_colorOffState; }
    void setColorOffState(const QColor& c)
    {
        m_colorOffState = c;
        update();
    }
    QColor colorOffStateDis() const { return m_colorOffStateDis; }
    void setColorOffStateDis(const QColor& c)
    {
        m_colorOffStateDis = c;
        update();
    }

    /// Title margins for one line (left, top, right, bottom) and the top and bottom margins for two.
    QMargins margins() const { return m_margins; }
    void setMargins(const QMargins& margins);
    int marginTopML() const { return m_marginTopML; }
    int marginBottomML() const { return m_marginBottomML; }
    void setMultiLineMargins(int top, int bottom);

    bool isMultiLine() const { return m_isMultiLine; }
    void setIsMultiLine(bool flag) { m_isMultiLine = flag; }
    QString multiLineStr() const { return m_multiLineStr; }
    void setMultiLineStr(const QString& separator);
    bool enableImmediately() const { return m_enableImmediately; }
    void setEnableImmediately(bool flag) { m_enableImmediately = flag; }
    bool makeBoldFont() const { return m_makeBoldFont; }
    void setMakeBoldFont(bool flag);

    bool isMouseDown() const { return m_isMouseDown; }
    bool isMouseHover() const { return m_isMouseHover; }
    int state() const { return isChecked() ? 1 : 0; }
    void setState(int state) { setChecked(state != 0); }

    /// The older fitting against a plain size. With isMultiLine it first rewrites the button's
    /// own title as its first part, a line feed and the other parts. It tries sizes 5 to 50:
    /// when even 50 fits it gives no font, left alignment and black; otherwise the largest
    /// fitting font, centred, in the current title colour, and when the title is lower than the
    /// size, rectText() becomes the title's height centred vertically in it.
    struct TitleAttributes {
        std::optional<QFont> font;
        Qt::Alignment alignment = Qt::AlignLeft;
        QColor color = Qt::black;
    };
    TitleAttributes getAttributesForRect(const QSizeF& size);
    QRectF rectText() const { return m_rectText; }

    /// The title fitting of the last draw: which text, font and rect were used.
    const std::optional<IMGButtonTitleFitter::Fit>& drawnTitle() const { return m_drawnTitle; }
    /// The look the button draws now (for tests): the images and the title colour.
    ThreePart currentImages() const;
    QColor colorText() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    IMGButtonTitleFitter::Fit fittedTitle(const QString& text, bool multi);
    void updateAccessibleName();
    bool drawsDisabled() const { return !isEnabled() || m_isMouseDown; }

    ThreePart m_images[2][3]; // [on][phase]
    QString m_imgMouseHover;
    QString m_imgMouseOut;
    QColor m_colorOnState = Qt::white;
    QColor m_colorOnStateDis = QColor(96, 96, 96);
    QColor m_colorOffState = Qt::white;
    QColor m_colorOffStateDis = QColor(96, 96, 96);
    QMargins m_margins { 5, 5, 5, 5 };
    int m_marginTopML = 2;
    int m_marginBottomML = 2;
    bool m_isMultiLine = false;
    QString m_multiLineStr = QStringLiteral(" ");
    bool m_enableImmediately = true;
    bool m_makeBoldFont = false;
    bool m_isMouseDown = false;
    bool m_isMouseHover = false;

    /// Fitting results per title, size, colour-independent settings and line mode.
    QHash<QString, std::optional<IMGButtonTitleFitter::Fit>> m_fitCache;
    /// What was fitted last, per line mode: a title that fits even at the largest size keeps it.
    std::optional<IMGButtonTitleFitter::Fit> m_lastFit[2];
    std::optional<IMGButtonTitleFitter::Fit> m_drawnTitle;
    QRectF m_rectText;
    QString m_autoAccessibleName;
};

} // namespace vantrel
