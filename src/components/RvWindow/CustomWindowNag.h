#pragma once

#include <QWidget>

namespace vantrel {

/// A window without title bar, background or shadow that can still take the keyboard: the
/// frame for forms such as the feedback sheet. Whatever style it is asked for, it is frameless,
/// translucent where its content does not paint, and casts no shadow. It can also be given to
/// Sheet::beginSheet as a sheet's content; it then becomes a child of the sheet and keeps its
/// translucency.
class CustomWindowNag : public QWidget {
    Q_OBJECT

public:
    /// initWithContentRect: the content rect (position and size); the other window style
    /// arguments of the original call do not change the result.
    explicit CustomWindowNag(const QRect& contentRect = {}, QWidget* parent = nullptr);

    /// Always true.
    bool canBecomeKeyWindow() const { return true; }
    /// Whether the borderless style is available; it always is here, so the window is never
    /// given a title bar.
    static bool isYosemite() { return true; }
};

} // namespace vantrel
