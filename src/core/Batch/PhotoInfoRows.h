#pragma once

#include <optional>

#include <QList>
#include <QString>

namespace vantrel {

class ExifInfo;
class ImageFileInfo;

/// The rows of the photo information popup: 35 titled values, "---" for a value the photo lacks.
class PhotoInfoRows {
public:
    struct Row {
        QString title;
        QString value;
        bool operator==(const Row&) const = default;
    };

    static constexpr char kMissing[] = "---";
    /// The caption keys of the rows, in row order.
    static const QList<QString>& titleKeys();

    PhotoInfoRows() = delete;

    /// Appends a row; an empty value reads "---".
    static void createArrayToUpdateMetaData(QList<Row>& rows, const QString& title, const QString& value);
    /// The 35 rows for a file's record and its metadata, titles from the language table.
    static QList<Row> createArrayToUpdateMetaDataWithNode(const ImageFileInfo& node, const ExifInfo& exif);
    /// A coordinate as "%i° %i' %i'' %@" (degrees, minutes, seconds of the absolute value,
    /// truncated to whole seconds, then the reference letter); "---" without a reference.
    static QString getPositioninlatitudelongitude(double coordinate, const QString& latLongRef);

    /// The rows for the photo at `path`, or nothing when its header cannot be read as an image.
    /// Reads headers and file attributes only; never decodes pixels.
    static std::optional<QList<Row>> forFile(const QString& path);

    /// The value column's text: ":      %@" (a colon and six spaces before the value).
    static QString valueText(const QString& value);
};

} // namespace vantrel
