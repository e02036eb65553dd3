#include "core/DataBeans/OutputOptionSettings.h"

#include "platform/KeyedArchiver.h"
#include "platform/Paths.h"

namespace vantrel {

namespace {

// The number fields, in the order in which they are archived.
constexpr std::array<QVariant OutputOptionSettings::*, 6> kNumberFields {
    &OutputOptionSettings::moveAndRenameToDestinationFolder,
    &OutputOptionSettings::copyyToDestinationFolder,
    &OutputOptionSettings::useSourceFolder,
    &OutputOptionSettings::openOutputFolderAfterProcessing,
    &OutputOptionSettings::owerwriteExistingFiles,
    &OutputOptionSettings::setOutputDateTimeAsOriginal,
};
constexpr std::array<const char*, 6> kNumberKeys {
    "moveAndRenameToDestinationFolder",
    "copyyToDestinationFolder",
    "useSourceFolder",
    "openOutputFolderAfterProcessing",
    "owerwriteExistingFiles",
    "setOutputDateTimeAsOriginal",
};

} // namespace

OutputOptionSettings::OutputOptionSettings()
    : ouptputFolder(Paths::defaultOutputFolder())
{
}

QString OutputOptionSettings::outputFormatAt(qint32 index)
{
    if (index < 0 || index >= qint32(kOutputFormats.size()))
        return {};
    return QString::fromLatin1(kOutputFormats[size_t(index)]);
}

void OutputOptionSettings::encodeWithCoder(KeyedArchiver& coder) const
{
    coder.encodeString(dateString, QStringLiteral("dateString"));
    coder.encodeString(outputFolderPath, QStringLiteral("outputFolderPath"));
    for (size_t i = 0; i < kNumberFields.size(); ++i)
        coder.encodeNumber(this->*kNumberFields[i], QString::fromLatin1(kNumberKeys[i]));
    coder.encodeInt32(formatOption, QStringLiteral("formatOption"));
    coder.encodeInt32(selectedFileFormat, QStringLiteral("selectedFileFormat"));
    coder.encodeInt32(compressionRatio, QStringLiteral("compressionRatio"));
    coder.encodeInt32(filenameOption, QStringLiteral("filenameOption"));
    coder.encodeString(prefixString, QStringLiteral("prefixString"));
    coder.encodeInt32(folderOption, QStringLiteral("folderOption"));
    coder.encodeString(ouptputFolder, QStringLiteral("ouptputFolder"));
    coder.encodeInt32(keepFolderHierarchy ? 1 : 0, QStringLiteral("keepFolderHierarchy"));
    coder.encodeInt32(askBeforeOverwrite ? 1 : 0, QStringLiteral("askBeforeOverwrite"));
}

OutputOptionSettings OutputOptionSettings::initWithCoder(KeyedUnarchiver& coder)
{
    OutputOptionSettings options;
    options.dateString = coder.decodeString(QStringLiteral("dateString"));
    options.outputFolderPath = coder.decodeString(QStringLiteral("outputFolderPath"));
    for (size_t i = 0; i < kNumberFields.size(); ++i)
        options.*kNumberFields[i] = coder.decodeNumber(QString::fromLatin1(kNumberKeys[i]));
    options.formatOption = coder.decodeInt32(QStringLiteral("formatOption"));
    options.selectedFileFormat = coder.decodeInt32(QStringLiteral("selectedFileFormat"));
    options.compressionRatio = coder.decodeInt32(QStringLiteral("compressionRatio"));
    options.filenameOption = coder.decodeInt32(QStringLiteral("filenameOption"));
    options.prefixString = coder.decodeString(QStringLiteral("prefixString"));
    options.folderOption = coder.decodeInt32(QStringLiteral("folderOption"));
    options.ouptputFolder = coder.decodeString(QStringLiteral("ouptputFolder"));
    options.keepFolderHierarchy = coder.decodeInt32(QStringLiteral("keepFolderHierarchy")) != 0;
    options.askBeforeOverwrite = coder.decodeInt32(QStringLiteral("askBeforeOverwrite")) != 0;
    return options;
}

} // namespace vantrel
