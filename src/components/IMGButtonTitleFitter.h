#pragma once

#include <optional>

#include <QFont>
#include <QMargins>
#include <QRectF>
#include <QString>

namespace vantrel {

/// The title fitting of the image buttons: the largest font size from 5 to 50 at which the title
/// still fits the button less its margins. Pure apart from font measuring (QtGui only).
class IMGButtonTitleFitter {
public:
    static constexpr int kMinFontSize = 5;
    static constexpr int kMaxFontSize = 50;

    struct Fit {
        QString text; // the title as drawn (two lines joined by a line feed when multi)
        QFont font;
        QSizeF size; // the measured title
        QRectF rect; // the margins' rect moved down to centre the title vertically
    };

    /// The title rearranged for two lines: split at the separator into n parts; two parts become
    /// "a\nb"; more parts become the first n / 2 parts and the rest, each group joined with the
    /// separator, with a line feed between the groups; one part stays as it is.
    static QString twoLineTitle(const QString& title, const QString& separator);
    /// True when the title can be drawn on two lines: it splits into at least two parts at the
    /// separator or holds a line feed.
    static bool canSplit(const QString& title, const QString& separator);

    /// Fits `text` (already arranged) into `bounds` less the margins. The measuring font is the
    /// `family` at pixel sizes 5, 6, ... 50; the first size whose width or height exceeds the
    /// room fails, and the title is drawn one size smaller (bold 20 instead when `makeBoldFont`
    /// and the failing width lies strictly between 200 and 245). No value when even size 50
    /// fits: the caller keeps what it fitted before (or draws at size 50 when nothing was).
    static std::optional<Fit> fit(
        const QString& text, const QRectF& bounds, const QMargins& margins, bool makeBoldFont, const QString& family);
    /// What a title that fits even at size 50 is drawn with when nothing was fitted before.
    static Fit largest(const QString& text, const QRectF& bounds, const QMargins& margins, const QString& family);

    static QSizeF measure(const QString& text, const QFont& font);
};

} // namespace vantrel
