#include "platform/imaging/VipsErrorText.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include "platform/imaging/VipsInclude.h"

namespace vantrel {

namespace {

// A file named in a line of libvips' text: an absolute path up to a quote, a colon or a space.
const QRegularExpression& namedFile()
{
    static const QRegularExpression kPath(QStringLiteral("(?:^|[\\s\"'(])(/[^\\s\"':]+)"));
    return kPath;
}

// True when `line` names a file and none of the names is `path` (or its file name alone).
bool namesOtherFile(const QString& line, const QString& path)
{
    bool named = false;
    auto matches = namedFile().globalMatch(line);
    while (matches.hasNext()) {
        const QString name = matches.next().captured(1);
        if (name == path || (name.endsWith(QLatin1Char('/') + QFileInfo(path).fileName())))
            return false;
        named = true;
    }
    return named;
}

} // namespace

void VipsErrorText::clear()
{
    vips_error_clear();
}

QString VipsErrorText::take(const std::exception& error, const QString& path)
{
    vips_error_clear();
    return oneLine(QString::fromUtf8(error.what()), path);
}

QString VipsErrorText::oneLine(const QString& text, const QString& path)
{
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !lines.contains(trimmed))
            lines.append(trimmed);
    }
    if (!path.isEmpty()) {
        QStringList own;
        for (const QString& line : lines)
            if (!namesOtherFile(line, path))
                own.append(line);
        if (!own.isEmpty())
            lines = own;
    }
    return lines.join(QStringLiteral("; "));
}

} // namespace vantrel
