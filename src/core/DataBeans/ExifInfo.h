#pragma once

#include <QDateTime>
#include <QString>
#include <QVariantMap>

namespace vantrel {

/// The metadata of one image file as its header reports it: pixel size, orientation, colour
/// model, resolution, capture date, camera and exposure values, GPS position, keywords and lens,
/// with a few ready-made display texts. Filled once, at creation, from the property dictionary of
/// the file's first image (readImageProperties); a missing or unreadable file gives a record with
/// every field at its start value (zero, NO, empty text, no date). A plain value: cheap to copy,
/// safe to create on any thread.
class ExifInfo {
public:
    ExifInfo() = default;

    /// A record filled from exifForFile() of the path.
    static ExifInfo initWithFile(const QString& path);
    /// A record filled from a property dictionary.
    static ExifInfo initWithDict(const QVariantMap& dict);

    /// The property dictionary of image 0 of the file; empty when the file cannot be opened as an
    /// image. Reads the header only.
    static QVariantMap exifForFile(const QString& path);

    /// Fills the fields from the dictionary (top level and its "{Exif}", "{TIFF}", "{GPS}",
    /// "{IPTC}" and "{ExifAux}" groups); an empty dictionary changes nothing.
    void resetAllWithDict(const QVariantMap& dict);

    /// An EXIF date text ("yyyy:MM:dd HH:mm:ss", local time) as a date, parsed in the POSIX locale
    /// and the Gregorian calendar; an invalid date for a missing, zero ("0000:00:00 00:00:00") or
    /// malformed text.
    static QDateTime getDateFromString(const QString& text);

    /// Sets the texts that resetAllWithDict fills to "" (meteringMode to no text), the sizes and
    /// resolutions to 0, the capture date to none and flashFired and orientation to -1. Record
    /// creation does not call it.
    void commmonInit();

    /// A GPS coordinate as decimal degrees from the forms a header may give it: a number, a
    /// decimal text, a rational text ("52/1"), or degrees, minutes and seconds as a list or as a
    /// blank-separated text of rationals ("52/1 30/1 3600/100"). 0 when unreadable.
    static double decimalDegreesFromValue(const QVariant& value);

#define VANTREL_EXIF_FIELD(Type, name, Setter, init)                                                                   \
public:                                                                                                                \
    Type name() const                                                                                                  \
    {                                                                                                                  \
        return m_##name;                                                                                               \
    }                                                                                                                  \
    void Setter(const Type& value)                                                                                     \
    {                                                                                                                  \
        m_##name = value;                                                                                              \
    }                                                                                                                  \
                                                                                                                       \
private:                                                                                                               \
    Type m_##name = init;

    VANTREL_EXIF_FIELD(QString, profileName, setProfileName, {})
    VANTREL_EXIF_FIELD(qint32, pixelWidth, setPixelWidth, 0)
    VANTREL_EXIF_FIELD(qint32, pixelHeight, setPixelHeight, 0)
    VANTREL_EXIF_FIELD(QString, imageSize, setImageSize, {})
    VANTREL_EXIF_FIELD(QString, imageSizeToDisplay, setImageSizeToDisplay, {})
    VANTREL_EXIF_FIELD(QString, colorModel, setColorModel, {})
    VANTREL_EXIF_FIELD(double, dpiWidth, setDpiWidth, 0.0)
    VANTREL_EXIF_FIELD(double, dpiHeight, setDpiHeight, 0.0)
    VANTREL_EXIF_FIELD(QString, imageDPI, setImageDPI, {})
    VANTREL_EXIF_FIELD(QDateTime, captureDate, setCaptureDate, {})
    VANTREL_EXIF_FIELD(QString, rating, setRating, {})
    VANTREL_EXIF_FIELD(QString, folcalLength, setFolcalLength, {})
    VANTREL_EXIF_FIELD(QString, exposureBias, setExposureBias, {})
    VANTREL_EXIF_FIELD(QString, isoSpeedRating, setIsoSpeedRating, {})
    VANTREL_EXIF_FIELD(QString, exposureMode, setExposureMode, {})
    VANTREL_EXIF_FIELD(QString, exposureProgram, setExposureProgram, {})
    VANTREL_EXIF_FIELD(QString, meteringMode, setMeteringMode, {})
    VANTREL_EXIF_FIELD(QString, lightSource, setLightSource, {})
    VANTREL_EXIF_FIELD(QString, sensingMethod, setSensingMethod, {})
    VANTREL_EXIF_FIELD(QString, sceneCaptureType, setSceneCaptureType, {})
    VANTREL_EXIF_FIELD(QString, digitalZoomRatio, setDigitalZoomRatio, {})
    VANTREL_EXIF_FIELD(QString, colorSpace, setColorSpace, {})
    VANTREL_EXIF_FIELD(QString, userComment, setUserComment, {})
    VANTREL_EXIF_FIELD(qint8, flashFired, setFlashFired, 0)
    VANTREL_EXIF_FIELD(QString, cameraMaker, setCameraMaker, {})
    VANTREL_EXIF_FIELD(QString, cameraModel, setCameraModel, {})
    VANTREL_EXIF_FIELD(QString, editingSoftware, setEditingSoftware, {})
    VANTREL_EXIF_FIELD(qint32, orientation, setOrientation, 0)
    VANTREL_EXIF_FIELD(double, gpsLatitude, setGpsLatitude, 0.0)
    VANTREL_EXIF_FIELD(double, gpsLongitude, setGpsLongitude, 0.0)
    VANTREL_EXIF_FIELD(double, gpsAltitude, setGpsAltitude, 0.0)
    VANTREL_EXIF_FIELD(QString, gpsLatitudeRef, setGpsLatitudeRef, {})
    VANTREL_EXIF_FIELD(QString, gpsLongitudeRef, setGpsLongitudeRef, {})
    VANTREL_EXIF_FIELD(QString, keywords, setKeywords, {})
    VANTREL_EXIF_FIELD(QString, cameraLensModel, setCameraLensModel, {})
    // Not filled from the properties; kept for the records that hold an ExifInfo per file.
    VANTREL_EXIF_FIELD(QString, fileName, setFileName, {})
    VANTREL_EXIF_FIELD(QString, fileType, setFileType, {})
    VANTREL_EXIF_FIELD(QString, fileLabel, setFileLabel, {})
    VANTREL_EXIF_FIELD(QString, folderName, setFolderName, {})
    VANTREL_EXIF_FIELD(QString, exposure, setExposure, {})
    VANTREL_EXIF_FIELD(QString, cameraFirmware, setCameraFirmware, {})
    VANTREL_EXIF_FIELD(QDateTime, fileCreated, setFileCreated, {})
    VANTREL_EXIF_FIELD(QDateTime, fileModified, setFileModified, {})
    VANTREL_EXIF_FIELD(quint64, fileSize, setFileSize, 0)
    VANTREL_EXIF_FIELD(float, imgWidth, setImgWidth, 0.0f)
    VANTREL_EXIF_FIELD(float, imgHeight, setImgHeight, 0.0f)

#undef VANTREL_EXIF_FIELD
};

} // namespace vantrel
