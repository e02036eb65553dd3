#include "components/AppLook.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>

#include "components/FocusRing.h"

namespace vantrel {

namespace {

/// Fusion, except that a lone Alt press does not put the menu bar into keyboard mode (no
/// modifier key on its own moves the keyboard anywhere), and that it draws no focus frame of its
/// own: the focus ring shows focus on every control, once.
class AppStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    void drawPrimitive(
        PrimitiveElement element, const QStyleOption* option, QPainter* painter, const QWidget* widget) const override
    {
        if (element != PE_FrameFocusRect)
            QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
    int styleHint(
        StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* returnData) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

QPalette AppLook::palette()
{
    QPalette palette;
    const QColor panel = panelColor();
    const QColor popup = popupColor();
    const QColor label = labelColor();
    const QColor disabled = disabledLabelColor();
    for (const auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        palette.setColor(group, QPalette::Window, panel);
        palette.setColor(group, QPalette::Base, popup);
        palette.setColor(group, QPalette::AlternateBase, popup.lighter(112));
        palette.setColor(group, QPalette::Button, popup);
        palette.setColor(group, QPalette::ToolTipBase, popup);
        palette.setColor(group, QPalette::ToolTipText, label);
        palette.setColor(group, QPalette::Highlight, accentColor());
        palette.setColor(group, QPalette::HighlightedText, label);
        palette.setColor(group, QPalette::Link, accentColor());
        palette.setColor(group, QPalette::LinkVisited, accentColor().darker(120));
        palette.setColor(group, QPalette::BrightText, label);
        palette.setColor(group, QPalette::Light, popup.lighter(140));
        palette.setColor(group, QPalette::Midlight, popup.lighter(120));
        palette.setColor(group, QPalette::Mid, panel.lighter(130));
        palette.setColor(group, QPalette::Dark, panel.darker(140));
        palette.setColor(group, QPalette::Shadow, QColor(0, 0, 0));
        const QColor text = group == QPalette::Disabled ? disabled : label;
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::PlaceholderText, disabled);
    }
    palette.setColor(QPalette::Disabled, QPalette::Highlight, popup.lighter(130));
    return palette;
}

void AppLook::apply(QApplication& app)
{
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(new AppStyle(fusion));
    QApplication::setPalette(palette());
    FocusRing::install();
    Q_UNUSED(app);
}

} // namespace vantrel
