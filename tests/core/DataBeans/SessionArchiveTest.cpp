#include <tuple>

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QDir>

#include <gtest/gtest.h>

#include "core/DataBeans/OutputOptionSettings.h"
#include "core/DataBeans/ProjectSession.h"
#include "core/DataBeans/ResizingOptionsSettingObject.h"
#include "core/DataBeans/SizeObject.h"
#include "platform/Defaults.h"
#include "platform/KeyedArchiver.h"

using namespace vantrel;

namespace {

// Field lists, so that two records can be compared as values in the tests.
auto fields(const SizeObject& s)
{
    return std::tuple(s.isCustomSize, s.isPercentSize, s.isKeepAspectRatio, s.isKeepOriginalSize, s.isPredefinedSize,
        s.isSaveAsPredefined, s.predefinedIndex, s.customHeight, s.customWidth, s.perHeight, s.perWidth,
        s.name.toStdString(), s.name.isNull());
}

auto fields(const OutputOptionSettings& o)
{
    return std::tuple(o.dateString.toStdString(), o.outputFolderPath.toStdString(),
        o.moveAndRenameToDestinationFolder.toString().toStdString(),
        o.copyyToDestinationFolder.toString().toStdString(), o.useSourceFolder.toString().toStdString(),
        o.openOutputFolderAfterProcessing.toString().toStdString(), o.owerwriteExistingFiles.toString().toStdString(),
        o.setOutputDateTimeAsOriginal.toString().toStdString(), o.formatOption, o.keepFolderHierarchy,
        o.askBeforeOverwrite, o.selectedFileFormat, o.compressionRatio, o.filenameOption, o.folderOption,
        o.prefixString.toStdString(), o.ouptputFolder.toStdString());
}

template <class T> std::optional<T> roundTrip(const T& record)
{
    return KeyedUnarchiver::unarchiveObjectWithData<T>(KeyedArchiver::archivedDataWithRootObject(record));
}

SizeObject preset(const char* name, double width, double height, qint32 index)
{
    SizeObject size;
    size.name = name;
    size.isCustomSize = true;
    size.isPredefinedSize = true;
    size.customWidth = width;
    size.customHeight = height;
    size.predefinedIndex = index;
    return size;
}

QByteArray cbor(const QCborMap& map)
{
    return QCborValue(map).toCbor();
}

} // namespace

TEST(SessionRecords, NewRecordsHoldTheirDefaults)
{
    const SizeObject size;
    // Every flag off, no preset, zero sizes, an empty (not null) name.
    EXPECT_EQ(fields(size),
        std::tuple(false, false, false, false, false, false, -1, 0.0, 0.0, 0.0, 0.0, std::string(), false));
    EXPECT_EQ(size.predefinedIndex, -1);
    EXPECT_FALSE(size.name.isNull());
    EXPECT_TRUE(size.name.isEmpty());

    const ResizingOptionsSettingObject resize;
    ASSERT_TRUE(resize.sizeObject.has_value()) << "a new resize choice holds its own size";
    EXPECT_EQ(resize.sizeObject->predefinedIndex, -1);
    EXPECT_EQ(resize.rotationType, 0);

    const OutputOptionSettings output;
    EXPECT_EQ(output.ouptputFolder, QDir::homePath() + "/Pictures/Vantrel");
    EXPECT_EQ(output.compressionRatio, 75);
    EXPECT_EQ(output.folderOption, 1);
    EXPECT_TRUE(output.askBeforeOverwrite);
    EXPECT_EQ(output.owerwriteExistingFiles.toInt(), 1);
    EXPECT_EQ(output.useSourceFolder.toInt(), 0);
    EXPECT_TRUE(output.useSourceFolder.isValid());

    const ProjectSession session;
    EXPECT_TRUE(session.dateString.isNull());
    EXPECT_TRUE(session.arrayPredefinedSize.isEmpty());
    EXPECT_FALSE(session.resizeSettingObject.has_value());
    EXPECT_FALSE(session.outputSettingObject.has_value());

    const char* formats[] = { "tif", "tiff", "png", "jpg", "jpeg", "jp2", "bmp", "gif" };
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(OutputOptionSettings::outputFormatAt(i), formats[i]);
    EXPECT_TRUE(OutputOptionSettings::outputFormatAt(-1).isEmpty());
    EXPECT_TRUE(OutputOptionSettings::outputFormatAt(8).isEmpty());
}

TEST(SessionRecords, EveryRecordSurvivesTheArchive)
{
    SizeObject size = preset("Full HD", 1920, 1080, 3);
    size.isPercentSize = true;
    size.isKeepAspectRatio = true;
    size.isKeepOriginalSize = true;
    size.isSaveAsPredefined = true;
    size.perWidth = 50;
    size.perHeight = 12.5;
    ASSERT_TRUE(roundTrip(size).has_value());
    EXPECT_EQ(fields(*roundTrip(size)), fields(size));

    ResizingOptionsSettingObject resize;
    resize.isHorizontalFlip = true;
    resize.isVerticalFlip = true;
    resize.rotationType = 4;
    resize.sizeObject = size;
    const std::optional<ResizingOptionsSettingObject> resizeBack = roundTrip(resize);
    ASSERT_TRUE(resizeBack.has_value());
    EXPECT_TRUE(resizeBack->isHorizontalFlip);
    EXPECT_TRUE(resizeBack->isVerticalFlip);
    EXPECT_EQ(resizeBack->rotationType, 4);
    ASSERT_TRUE(resizeBack->sizeObject.has_value());
    EXPECT_EQ(fields(*resizeBack->sizeObject), fields(size));

    const OutputOptionSettings fresh;
    ASSERT_TRUE(roundTrip(fresh).has_value());
    EXPECT_EQ(fields(*roundTrip(fresh)), fields(fresh));

    OutputOptionSettings output;
    output.dateString = "Dec-07-2026 08:30:5 AM";
    output.outputFolderPath = "/tmp/out";
    output.moveAndRenameToDestinationFolder = 1;
    output.copyyToDestinationFolder = true;
    output.useSourceFolder = 2.5;
    output.openOutputFolderAfterProcessing = QVariant();
    output.owerwriteExistingFiles = 0;
    output.setOutputDateTimeAsOriginal = 1;
    output.formatOption = 1;
    output.keepFolderHierarchy = true;
    output.askBeforeOverwrite = false;
    output.selectedFileFormat = 7;
    output.compressionRatio = 100;
    output.filenameOption = 3;
    output.folderOption = 0;
    output.prefixString = QString::fromUtf8("_v\u00e9");
    output.ouptputFolder = QString::fromUtf8("/media/\u65e5\u672c/out put");
    const std::optional<OutputOptionSettings> outputBack = roundTrip(output);
    ASSERT_TRUE(outputBack.has_value());
    EXPECT_EQ(fields(*outputBack), fields(output));
    EXPECT_FALSE(outputBack->openOutputFolderAfterProcessing.isValid()) << "a nil number stays nil";
    EXPECT_EQ(outputBack->copyyToDestinationFolder.typeId(), QMetaType::Bool) << "a number is kept as held";
    EXPECT_EQ(outputBack->useSourceFolder.toDouble(), 2.5);

    ProjectSession session;
    session.dateString = "Dec-07-2026 08:30:5 AM";
    session.arrayPredefinedSize = { preset("A", 640, 480, 0), preset("B", 800, 600, 1), size };
    session.resizeSettingObject = resize;
    session.outputSettingObject = output;
    const std::optional<ProjectSession> sessionBack = roundTrip(session);
    ASSERT_TRUE(sessionBack.has_value());
    EXPECT_EQ(sessionBack->dateString, session.dateString);
    ASSERT_EQ(sessionBack->arrayPredefinedSize.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(fields(sessionBack->arrayPredefinedSize[i]), fields(session.arrayPredefinedSize[i])) << i;
    ASSERT_TRUE(sessionBack->resizeSettingObject && sessionBack->resizeSettingObject->sizeObject);
    EXPECT_EQ(fields(*sessionBack->resizeSettingObject->sizeObject), fields(size));
    ASSERT_TRUE(sessionBack->outputSettingObject.has_value());
    EXPECT_EQ(fields(*sessionBack->outputSettingObject), fields(output));

    // Through the defaults, as the session is kept.
    Defaults::standard().setObject("PROJECT_SESSION", KeyedArchiver::archivedDataWithRootObject(session));
    const std::optional<ProjectSession> stored
        = KeyedUnarchiver::unarchiveObjectWithData<ProjectSession>(Defaults::standard().dataForKey("PROJECT_SESSION"));
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->arrayPredefinedSize.size(), 3);
    Defaults::standard().removeObjectForKey("PROJECT_SESSION");
}

TEST(SessionRecords, SizesPassThroughSinglePrecision)
{
    const double values[] = { 1234.56789, 0.1, 33.333333333, 1e-3, 16777217.0 };
    for (double value : values) {
        SizeObject size;
        size.customWidth = size.customHeight = size.perWidth = size.perHeight = value;
        const std::optional<SizeObject> back = roundTrip(size);
        ASSERT_TRUE(back.has_value());
        const double expected = static_cast<float>(value);
        EXPECT_EQ(back->customWidth, expected) << value;
        EXPECT_EQ(back->customHeight, expected) << value;
        EXPECT_EQ(back->perWidth, expected) << value;
        EXPECT_EQ(back->perHeight, expected) << value;
    }
}

TEST(SessionRecords, ArchiveUsesTheStoredClassNamesKeysAndTypes)
{
    ProjectSession session;
    session.arrayPredefinedSize = { preset("A", 0.1, 2, 0) };
    session.resizeSettingObject = ResizingOptionsSettingObject();
    session.outputSettingObject = OutputOptionSettings();
    const QByteArray data = KeyedArchiver::archivedDataWithRootObject(session);
    EXPECT_TRUE(data.contains(QByteArray::fromHex("fa3dcccccd"))) << "customWidth 0.1 is a CBOR float32";

    const QCborMap root = QCborValue::fromCbor(data).toMap();
    EXPECT_EQ(root.value(QStringLiteral("$class")).toString(), "ProjectSession");
    EXPECT_FALSE(root.contains(QStringLiteral("dateString"))) << "a nil date is not written";
    const QCborMap size = root.value(QStringLiteral("arrayPresets")).toArray().at(0).toMap();
    EXPECT_EQ(size.value(QStringLiteral("$class")).toString(), "SizeObject");
    EXPECT_TRUE(size.value(QStringLiteral("isCustomSize")).isBool());
    EXPECT_TRUE(size.value(QStringLiteral("predefinedIndex")).isInteger());
    EXPECT_TRUE(size.value(QStringLiteral("isSaveAsPredefined")).isInteger());
    EXPECT_EQ(size.value(QStringLiteral("name")).toString(), "A");
    const QCborMap resize = root.value(QStringLiteral("resizeSettingObject")).toMap();
    EXPECT_EQ(resize.value(QStringLiteral("$class")).toString(), "ResizingOptionsSettingObject");
    EXPECT_EQ(
        resize.value(QStringLiteral("sizeObject")).toMap().value(QStringLiteral("$class")).toString(), "SizeObject");
    EXPECT_TRUE(resize.value(QStringLiteral("rotationType")).isInteger());
    EXPECT_TRUE(resize.value(QStringLiteral("isVerticalFlip")).isBool());
    const QCborMap output = root.value(QStringLiteral("outputSettingObject")).toMap();
    EXPECT_EQ(output.value(QStringLiteral("$class")).toString(), "OutputOptionSettings");
    EXPECT_TRUE(output.value(QStringLiteral("keepFolderHierarchy")).isInteger());
    EXPECT_EQ(output.value(QStringLiteral("askBeforeOverwrite")).toInteger(), 1);
    EXPECT_EQ(output.value(QStringLiteral("compressionRatio")).toInteger(), 75);
    EXPECT_EQ(output.value(QStringLiteral("owerwriteExistingFiles")).toInteger(), 1);
    EXPECT_TRUE(output.value(QStringLiteral("ouptputFolder")).toString().endsWith("/Pictures/Vantrel"));
    EXPECT_EQ(output.size(), 18) << "$class and seventeen keys";
}

TEST(SessionRecords, AbsentKeysComeBackAsZeroNotAsDefaults)
{
    const std::optional<SizeObject> size
        = KeyedUnarchiver::unarchiveObjectWithData<SizeObject>(cbor({ { QStringLiteral("$class"), "SizeObject" } }));
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->predefinedIndex, 0);
    EXPECT_TRUE(size->name.isNull());

    const std::optional<ResizingOptionsSettingObject> resize
        = KeyedUnarchiver::unarchiveObjectWithData<ResizingOptionsSettingObject>(
            cbor({ { QStringLiteral("$class"), "ResizingOptionsSettingObject" } }));
    ASSERT_TRUE(resize.has_value());
    EXPECT_FALSE(resize->sizeObject.has_value());

    const std::optional<OutputOptionSettings> output = KeyedUnarchiver::unarchiveObjectWithData<OutputOptionSettings>(
        cbor({ { QStringLiteral("$class"), "OutputOptionSettings" }, { QStringLiteral("formatOption"), 1 } }));
    ASSERT_TRUE(output.has_value());
    EXPECT_EQ(output->formatOption, 1);
    EXPECT_EQ(output->compressionRatio, 0);
    EXPECT_EQ(output->folderOption, 0);
    EXPECT_FALSE(output->askBeforeOverwrite);
    EXPECT_FALSE(output->owerwriteExistingFiles.isValid());
    EXPECT_TRUE(output->ouptputFolder.isNull());

    const std::optional<ProjectSession> session = KeyedUnarchiver::unarchiveObjectWithData<ProjectSession>(
        cbor({ { QStringLiteral("$class"), "ProjectSession" } }));
    ASSERT_TRUE(session.has_value());
    EXPECT_TRUE(session->arrayPredefinedSize.isEmpty());
    EXPECT_FALSE(session->resizeSettingObject.has_value());
}

TEST(SessionRecords, NilOptionRecordsKeepThePresetList)
{
    ProjectSession session;
    session.arrayPredefinedSize = { preset("A", 640, 480, 0), preset("B", 1024, 768, 1) };
    const std::optional<ProjectSession> back = roundTrip(session);
    ASSERT_TRUE(back.has_value());
    EXPECT_FALSE(back->resizeSettingObject.has_value());
    EXPECT_FALSE(back->outputSettingObject.has_value());
    EXPECT_TRUE(back->dateString.isNull());
    ASSERT_EQ(back->arrayPredefinedSize.size(), 2);
    EXPECT_EQ(fields(back->arrayPredefinedSize[1]), fields(session.arrayPredefinedSize[1]));

    session.resizeSettingObject.emplace();
    session.resizeSettingObject->sizeObject.reset();
    const std::optional<ProjectSession> nested = roundTrip(session);
    ASSERT_TRUE(nested && nested->resizeSettingObject);
    EXPECT_FALSE(nested->resizeSettingObject->sizeObject.has_value());
}

TEST(SessionRecords, ForeignArchivesDecodeAsNil)
{
    ProjectSession session;
    session.arrayPredefinedSize = { preset("A", 640, 480, 0) };
    session.resizeSettingObject = ResizingOptionsSettingObject();
    const QByteArray valid = KeyedArchiver::archivedDataWithRootObject(session);
    QCborMap root = QCborValue::fromCbor(valid).toMap();

    QCborMap swappedNested = root;
    swappedNested.insert(
        QStringLiteral("resizeSettingObject"), root.value(QStringLiteral("arrayPresets")).toArray().at(0));
    QCborMap foreignPreset = root;
    foreignPreset.insert(
        QStringLiteral("arrayPresets"), QCborArray { root.value(QStringLiteral("resizeSettingObject")) });
    QCborMap stringIndex = root;
    QCborArray presets = root.value(QStringLiteral("arrayPresets")).toArray();
    QCborMap firstPreset = presets.at(0).toMap();
    firstPreset.insert(QStringLiteral("predefinedIndex"), QStringLiteral("0"));
    presets[0] = firstPreset;
    stringIndex.insert(QStringLiteral("arrayPresets"), presets);
    QCborMap renamed = root;
    renamed.insert(QStringLiteral("$class"), QStringLiteral("NSObject"));

    const struct {
        const char* name;
        QByteArray data;
    } cases[] = {
        { "a size where a resize choice belongs", cbor(swappedNested) },
        { "a resize choice in the preset list", cbor(foreignPreset) },
        { "a preset index stored as text", cbor(stringIndex) },
        { "another root class", cbor(renamed) },
        { "a size archive read as a session", KeyedArchiver::archivedDataWithRootObject(SizeObject()) },
        { "truncated", valid.left(valid.size() / 2) },
        { "random bytes", QByteArray::fromHex("a3 61 24 9f ff 00 13 37 fa 3f") },
    };
    for (const auto& c : cases)
        EXPECT_FALSE(KeyedUnarchiver::unarchiveObjectWithData<ProjectSession>(c.data).has_value()) << c.name;
    EXPECT_TRUE(KeyedUnarchiver::unarchiveObjectWithData<ProjectSession>(cbor(root)).has_value());
}
