#pragma once

#include <array>

#include <QString>
#include <QVariant>

namespace vantrel {

class KeyedArchiver;
class KeyedUnarchiver;

/// The output choices of a run: format, quality, naming, folder and overwrite. A plain value: a
/// copy is an independent snapshot, and the run works on its own copy. No equality operator.
///
/// The six "number" fields are kept and archived as they are held (an int, a bool or a double in
/// a QVariant; an invalid QVariant is nil); the run does not read them.
class OutputOptionSettings {
public:
    static constexpr const char* kClassName = "OutputOptionSettings";

    /// The output formats indexed by selectedFileFormat, in this order everywhere; the same eight
    /// lower-case extensions are the source formats that need no RAW answer.
    static constexpr std::array<const char*, 8> kOutputFormats { "tif", "tiff", "png", "jpg", "jpeg", "jp2", "bmp",
        "gif" };
    /// The extension at index in kOutputFormats; empty when index is out of range.
    static QString outputFormatAt(qint32 index);

    QString dateString = QStringLiteral("");
    QString outputFolderPath = QStringLiteral("");
    QVariant moveAndRenameToDestinationFolder = 0;
    QVariant copyyToDestinationFolder = 0;
    QVariant useSourceFolder = 0;
    QVariant openOutputFolderAfterProcessing = 0;
    QVariant owerwriteExistingFiles = 1;
    QVariant setOutputDateTimeAsOriginal = 0;
    qint32 formatOption = 0; ///< 0 each photo keeps its format; 1 each is converted to selectedFileFormat
    bool keepFolderHierarchy = false; ///< with folderOption 1, rebuild the source folder path under ouptputFolder
    bool askBeforeOverwrite = true; ///< ask before replacing an existing output file
    qint32 selectedFileFormat = 0; ///< index into kOutputFormats
    qint32 compressionRatio = 75; ///< quality in percent for the lossy formats
    /// 0 keep the name; 1 name with the output size; 2 prefix before the name; 3 text after the name.
    qint32 filenameOption = 0;
    qint32 folderOption = 1; ///< 1 write into ouptputFolder; any other value writes beside the source
    QString prefixString = QStringLiteral(""); ///< the text that filenameOption 2 and 3 add
    QString ouptputFolder; ///< the chosen output folder; defaults to Paths::defaultOutputFolder()

    /// Sets the defaults above; ouptputFolder is the Pictures folder + "/Vantrel".
    OutputOptionSettings();

    void encodeWithCoder(KeyedArchiver& coder) const;
    /// Reads from zero values: an absent key gives 0, NO or nil (an absent "compressionRatio"
    /// gives quality 0, an absent "askBeforeOverwrite" gives NO).
    static OutputOptionSettings initWithCoder(KeyedUnarchiver& coder);
};

} // namespace vantrel
