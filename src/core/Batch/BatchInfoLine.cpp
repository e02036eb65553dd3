#include "core/Batch/BatchInfoLine.h"

#include <algorithm>

#include <QRegularExpression>

#include "core/Helper/Utils.h"

namespace vantrel {

double BatchInfoLine::totalBytes(const QList<PhotoFilePtr>& batch)
{
    double bytes = 0;
    for (const PhotoFilePtr& photo : batch)
        bytes += photo->fileSizeInBytes();
    return bytes;
}

BatchInfoLine::Styled BatchInfoLine::make(qsizetype count, double bytes)
{
    const QString countText = QString::number(qulonglong(std::max<qsizetype>(count, 0)));
    const QString sizeText = QStringLiteral("%1 approx.").arg(Utils::sharedUtils().unitStringFromBytes(bytes, 0));
    Styled styled;
    styled.text = QStringLiteral("Batch Count: %1  |  Batch Size: %2  ").arg(countText, sizeText);
    for (const QString& pattern : { countText, sizeText }) {
        const QRegularExpression expression(pattern);
        auto matches = expression.globalMatch(styled.text);
        while (matches.hasNext()) {
            const QRegularExpressionMatch match = matches.next();
            if (match.capturedLength() > 0)
                styled.highlights.append({ match.capturedStart(), match.capturedLength() });
        }
    }
    std::stable_sort(styled.highlights.begin(), styled.highlights.end(),
        [](const Range& a, const Range& b) { return a.start < b.start; });
    return styled;
}

QString BatchInfoLine::toHtml(const Styled& line)
{
    if (line.text.isEmpty())
        return {};
    const auto part = [&line](qsizetype from, qsizetype to) { return line.text.mid(from, to - from).toHtmlEscaped(); };
    QString html = QStringLiteral("<span style=\"white-space:pre; color:rgb(%1,%1,%1)\">").arg(kGrey);
    qsizetype at = 0;
    for (const Range& range : line.highlights) {
        // Overlapping white parts (a count that also stands in the size) merge.
        const qsizetype start = qMax(range.start, at);
        const qsizetype end = range.start + range.length;
        if (end <= start)
            continue;
        html += part(at, start) + QStringLiteral("<span style=\"color:rgb(255,255,255)\">") + part(start, end)
            + QStringLiteral("</span>");
        at = end;
    }
    return html + part(at, line.text.size()) + QStringLiteral("</span>");
}

} // namespace vantrel
