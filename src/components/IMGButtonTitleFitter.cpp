#include "components/IMGButtonTitleFitter.h"

#include <QFontMetricsF>
#include <QStringList>

namespace vantrel {

namespace {

QFont sizedFont(const QString& family, int pixelSize, bool bold = false)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QRectF innerRect(const QRectF& bounds, const QMargins& m)
{
    return { bounds.x() + m.left(), bounds.y() + m.top(), bounds.width() - m.left() - m.right(),
        bounds.height() - m.top() - m.bottom() };
}

IMGButtonTitleFitter::Fit makeFit(const QString& text, const QFont& font, const QRectF& room)
{
    IMGButtonTitleFitter::Fit fit;
    fit.text = text;
    fit.font = font;
    fit.size = IMGButtonTitleFitter::measure(text, font);
    fit.rect = room.translated(0, (room.height() - fit.size.height()) / 2);
    return fit;
}

} // namespace

QString IMGButtonTitleFitter::twoLineTitle(const QString& title, const QString& separator)
{
    if (separator.isEmpty())
        return title;
    const QStringList parts = title.split(separator);
    const qsizetype n = parts.size();
    if (n == 2)
        return parts.at(0) + u'\n' + parts.at(1);
    if (n > 2)
        return parts.mid(0, n / 2).join(separator) + u'\n' + parts.mid(n / 2).join(separator);
    return title;
}

bool IMGButtonTitleFitter::canSplit(const QString& title, const QString& separator)
{
    return (!separator.isEmpty() && title.split(separator).size() >= 2) || title.contains(u'\n');
}

QSizeF IMGButtonTitleFitter::measure(const QString& text, const QFont& font)
{
    return QFontMetricsF(font).size(0, text);
}

std::optional<IMGButtonTitleFitter::Fit> IMGButtonTitleFitter::fit(
    const QString& text, const QRectF& bounds, const QMargins& margins, bool makeBoldFont, const QString& family)
{
    const QRectF room = innerRect(bounds, margins);
    for (int s = kMinFontSize; s <= kMaxFontSize; ++s) {
        const QSizeF size = measure(text, sizedFont(family, s));
        if (size.width() <= room.width() && size.height() <= room.height())
            continue;
        QFont font = sizedFont(family, s - 1);
        if (makeBoldFont && size.width() > 200 && size.width() < 245)
            font = sizedFont(family, 20, true);
        return makeFit(text, font, room);
    }
    return std::nullopt;
}

IMGButtonTitleFitter::Fit IMGButtonTitleFitter::largest(
    const QString& text, const QRectF& bounds, const QMargins& margins, const QString& family)
{
    return makeFit(text, sizedFont(family, kMaxFontSize), innerRect(bounds, margins));
}

} // namespace vantrel
