#pragma once

#include <QColor>
#include <QDateTime>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVariantMap>

#include "platform/imaging/Image.h"

namespace vantrel {

struct ImageProperties;

/// The image toolbox: loads, measures, converts and transforms photos, and formats the values
/// that travel with them (byte counts, elapsed times, dates, collision-free names, flat JSON).
///
/// Holds no state: every operation works only on its arguments, so the shared instance is used
/// at once from the main thread, the run's worker and the thumbnail queues without a lock.
/// Images are `Image` values measured in pixels. Failures give a null Image, an empty dictionary
/// or false, never an exception.
class Utils {
public:
    /// The shared instance, created once on first use (thread-safe).
    static Utils& sharedUtils();
    Utils(const Utils&) = delete;
    Utils& operator=(const Utils&) = delete;

    // Loading and measuring --------------------------------------------------------------------

    /// The photo upright (EXIF orientation applied) and in colour (a grey photo becomes RGB), or
    /// null. The loader of the batch run.
    Image getImageWithFixedOrientionFromUrl(const QString& path) const;
    /// The upright pixel size as the header states it (width and height exchanged for EXIF
    /// orientations 5 to 8); (0, 0) when the file cannot be read.
    QSizeF getImageOriginalSizeAtFilePathUrl(const QString& path) const;
    /// The photo at about (minWidth, minHeight): upright, from the thumbnailer when the file has
    /// an orientation other than 1, else decoded as stored. Null, with one line on stderr, when
    /// the file cannot be decoded.
    Image getImageFromFile(const QString& path, float minWidth, float minHeight) const;
    /// A thumbnail fitted to the box width (and, for portrait photos, to the box height); a photo
    /// smaller than the box in both directions keeps its size. Never a full decode.
    Image getThumbnailImageAtFilePath(const QString& path, QSizeF size) const;

    // Aspect arithmetic (single precision; a size without positive width and height gives (0, 0)) --

    QSizeF aspectFitSizeWithMaxSize(QSizeF size, double scaledWidth) const;
    QSizeF aspectFitSizeWithMaxHeight(QSizeF size, double scaledHeight) const;
    /// The size fitted into the box, enlarged or reduced so that it touches the box.
    QSizeF getAspectFitModeSizeWithsize(QSizeF size, QSizeF toSize) const;

    // Transforms (exact for quarter turns and mirrors) -----------------------------------------

    /// The image at exactly newSize (pixels, rounded). A null image, or a requested size without
    /// positive width and height, gives the image unchanged.
    Image scaleImage(const Image& image, QSizeF newSize) const;
    /// Turned clockwise on screen by the angle; 90, 180 and 270 are exact pixel moves, other
    /// angles give the bounding box (truncated) with transparent corners.
    Image imageRotatedByDegrees(double degrees, const Image& image) const;
    Image flipImageHorizontally(const Image& image) const;
    Image flipImageVertically(const Image& image) const;
    /// An RGB copy of a grey image (other images unchanged).
    Image convertGraycolorModelToRgb(const Image& image) const;
    /// The bitmap of an image for an encoder: the same pixels, owned by the caller as a value.
    Image getCgiImageRef(const Image& image) const;

    // Properties -------------------------------------------------------------------------------

    /// The property dictionary of image 0 of the file (header only); empty when none.
    QVariantMap getImageeExifDict(const QString& path) const;
    QVariantMap exifForFile(const QString& path) const;

    // Texts ------------------------------------------------------------------------------------

    /// A byte count as text: base 1000, two decimals cut (exact integer arithmetic), a value above
    /// 993 of one unit shown as 0.97 of the next; units go on past "TB" ("PB", "EB", ...). The
    /// flags are not used.
    QString unitStringFromBytes(double bytes, int flags = 0) const;
    /// Whole seconds as "1 hour 2 minutes 3 seconds"; without hours the text begins with a blank;
    /// 0 gives "".
    QString timeFormattedString(qint64 seconds) const;
    /// Whole seconds from the first date to the second, truncated toward zero.
    static qint64 getDurationBetweenDate(const QDateTime& first, const QDateTime& after);
    /// A date formatted with an ICU pattern ("MMM dd, yyyy hh:mm:ss a") in the user's locale and
    /// the local time zone: month names, the AM/PM marker and digits are the user's. Texts that are
    /// stored and read again by the program (the run stamp, the saved session's date) are not made
    /// here but with DateFormat::format, in en_US_POSIX, so that they do not change with the locale.
    static QString getDateStringFromDate(const QDateTime& date, const QString& format);
    /// A text parsed with an ICU pattern, in the user's locale or else in en_US_POSIX (so texts
    /// written before a change of locale, or by format(), still read); an invalid date when it
    /// matches neither.
    static QDateTime getDateFromString(const QString& text, const QString& format);
    /// The path itself when nothing exists there, else "name (n).ext" in the same folder with the
    /// first free n from 1 ("name (n)" for a name without extension).
    static QString stringToAvoidNameCollisionForPath(const QString& path);
    /// A flat dictionary as a JSON object: numbers bare, everything else quoted; quotes,
    /// backslashes and control characters escaped. Keys in the dictionary's order.
    static QString getJSONFromDict(const QVariantMap& dict);
    /// True when the whole text matches "^.+@([A-Za-z0-9-]+\.)+[A-Za-z]{2}[A-Za-z]*$".
    static bool validateEmail(const QString& email);
    /// "yyyyMMddTHHmm" of the date in local time.
    static QString getDateInFormatNEW(const QDateTime& date);

    // Encoders (the toolbox's own set; the batch run writes through its own) ---------------------

    /// Writes the bitmap as the type ("public.tiff", "public.png", "public.jpeg",
    /// "public.jpeg-2000", "com.compuserve.gif", "com.microsoft.bmp"); the options carry
    /// "kCGImageDestinationLossyCompressionQuality" and the properties ("Orientation", ...).
    /// False when the type is unknown or writing fails.
    bool writeCGImage(const Image& image, const QString& path, const QString& type, const QVariantMap& options) const;
    /// Copies into target, when present in source, the groups and top-level keys an encoder
    /// carries over; returns target.
    QVariantMap setImageExifInfo(QVariantMap target, const QVariantMap& exifDict) const;
    /// Writes by the toolbox's own index: 0 TIFF, 1 BMP, 2 GIF, 3 and 4 JPEG, 5 PNG, 6 JPEG 2000;
    /// 7 and above write nothing (false). Quality 0.0 to 1.0.
    bool saveImageInSelectedFormat(int format, const QString& path, const Image& filteredImage, const Image& imageRef,
        const QVariantMap& exifDict, float quality, int orientation) const;
    /// Rewrites the file at path in its own type (JPEG when that type cannot be written, the
    /// extension then becoming ".jpeg") with the bitmap and the properties.
    bool updateImageExifDataAtPath(
        const QString& path, const QVariantMap& exifDict, float quality, int orientation, const Image& imageRef) const;

    // Further image operations (rectangles use an upward y axis, origin at the bottom left) -----

    static QRectF centerRect(QRectF inner, QRectF outer);
    Image imageFromCGImageRef(const Image& image) const;
    /// The part of the image under the rectangle, at the rectangle's size (parts outside the
    /// image transparent). A rectangle without positive width and height gives the image.
    Image cropImage(const Image& image, QRectF cropRect) const;
    /// Null unless both are positive.
    Image resizeImage(const Image& image, int width, int height) const;
    /// Fills the size, then cuts a window of it: mode 0 top part, 2 bottom part, else the centre.
    Image getAspectFillImageFormImage(const Image& image, QSizeF size, int cropMode) const;
    Image addBackgroundToImage(const Image& image, const QColor& color) const;
    /// Centred on a canvas of the size when it fits there, else as the two-argument form.
    Image addBackgroundToImage(const Image& image, const QColor& color, QSizeF imageSize) const;
    /// The fromRect part of the image drawn, scaled, into inRect of a new transparent image of the
    /// size. Null for a null image or empty rectangles.
    Image getDrawedImage(const Image& image, QSizeF size, QRectF inRect, QRectF fromRect) const;
    /// The fromRect part of the image drawn unscaled with its lower-left corner at `atPoint` of a
    /// new transparent image of the size (the inRect form with fromRect's size).
    Image getDrawedImage(const Image& image, QSizeF size, QPointF atPoint, QRectF fromRect) const;
    /// The image redrawn over a transparent canvas of its size at the opacity `factor` (clamped
    /// to 0..1), as 8-bit RGB with alpha. A null or empty image is returned unchanged.
    Image getTransparentImageFromImage(const Image& image, double factor) const;
    /// The image as the input of a filter. One image type serves drawing and filtering here, so
    /// this is the image itself.
    static Image getCIImageFromNSImage(const Image& image);
    /// A 128-pixel upright thumbnail, brought to width x height when both are positive.
    Image getThumbnailForFile(const QString& path, int width, int height) const;
    /// The photo loaded upright; when its header states an orientation, also scaled to size.
    Image fixOrientation(const QString& path, QSizeF size) const;
    /// A four-component vector (x, y, z, w) as a rectangle (x, y, z, w) or a point (x, y).
    static QRectF cgRectWithCiVector(const QList<double>& vector);
    static QPointF cgPointWithCiVector(const QList<double>& vector);
    static QList<double> ciVectorWithCGRect(QRectF rect);

private:
    Utils() = default;
    Image loadFromFile(const QString& path, const ImageProperties& properties, float minWidth, float minHeight) const;
};

} // namespace vantrel
