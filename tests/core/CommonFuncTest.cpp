#include "core/Helper/CommonFunc.h"
#include "core/Helper/Utils.h"

#include <cstdlib>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Sets an environment variable for the life of the object, then restores it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
    {
        m_old = qgetenv(name);
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace

TEST(CommonFunc, SizeInUnitsFollowsTheByteCountRule)
{
    const std::pair<double, QString> cases[] = {
        { 0, "0 bytes" },
        { 1, "1 bytes" },
        { 512, "512 bytes" },
        { 993, "993 bytes" },
        { 993.5, "993 bytes" },
        { 994, "0.97 KB" },
        { 999, "0.97 KB" },
        { 1000, "1.00 KB" },
        { 1150, "1.15 KB" },
        { 1500, "1.50 KB" },
        { 999999, "0.97 MB" },
        { 1234567, "1.23 MB" },
        { 1239999, "1.23 MB" },
        { 1e9, "1.00 GB" },
        { 5e12, "5.00 TB" },
        { 999.5e12, "0.97 PB" },
        { 2e15, "2.00 PB" },
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(CommonFunc::getSizeInUnits(bytes), text) << bytes;
}

TEST(CommonFunc, ExifValueNamesAtTheirBoundaries)
{
    using Fn = QString (*)(const QVariant&);
    struct Case {
        Fn fn;
        QVariant value;
        QString name;
    };
    const Case cases[] = {
        { CommonFunc::getMeteringModeType, QVariant(), "---" },
        { CommonFunc::getMeteringModeType, 0, "Unknown" },
        { CommonFunc::getMeteringModeType, 6, "Partial" },
        { CommonFunc::getMeteringModeType, 7, "---" },
        { CommonFunc::getMeteringModeType, 255, "other" },
        { CommonFunc::getMeteringModeType, QString("abc"), "---" },
        { CommonFunc::getLightSourceType, 4, "Flash" },
        { CommonFunc::getLightSourceType, 5, "---" },
        { CommonFunc::getLightSourceType, 8, "---" },
        { CommonFunc::getLightSourceType, 9, "Fine weather" },
        { CommonFunc::getLightSourceType, 16, "---" },
        { CommonFunc::getLightSourceType, 24, "ISO studio tungsten" },
        { CommonFunc::getLightSourceType, 255, "Other light source" },
        { CommonFunc::getColorSensingType, 0, "---" },
        { CommonFunc::getColorSensingType, 1, "Not defined" },
        { CommonFunc::getColorSensingType, 7, "Color sequential linear sensor" },
        { CommonFunc::getColorSensingType, 8, "---" },
        { CommonFunc::getExposureProgramType, 0, "Not defined" },
        { CommonFunc::getExposureProgramType, 8, "Landscape mode (for landscape photos with the background in focus)" },
        { CommonFunc::getExposureProgramType, 9, "---" },
        { CommonFunc::getExposureModeType, 2, "Auto bracket" },
        { CommonFunc::getExposureModeType, -1, "---" },
        { CommonFunc::getScenceCaptureType, 3.9, "Night scene" },
        { CommonFunc::getScenceCaptureType, 4, "---" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.fn(c.value), c.name) << c.value.toString().toStdString();

    const std::pair<int, QString> orientations[] = {
        { 0, "---" },
        { 1, "1 (Normal)" },
        { 6, "6 (Rotate 90 CW)" },
        { 8, "8 (Rotate 270 CW)" },
        { 9, "---" },
        { -1, "---" },
    };
    for (const auto& [value, text] : orientations)
        EXPECT_EQ(CommonFunc::getOrientationType(value), text);
}

TEST(CommonFunc, DatesInTheirPatterns)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QDateTime when(QDate(2024, 2, 9), QTime(13, 5, 9));
    EXPECT_EQ(CommonFunc::getDateFromString("2024:02:09 13:05:09"), when);
    EXPECT_EQ(CommonFunc::getDateFromString1("02/09/2024 01:05:09"), QDateTime(QDate(2024, 2, 9), QTime(1, 5, 9)));
    EXPECT_EQ(CommonFunc::getDateTimeStringFromDate(when), "Feb 09, 2024 01:05:09 PM");
    EXPECT_EQ(CommonFunc::getStringFromDate(when), "Feb 09, 2024");

    EXPECT_EQ(CommonFunc::getDateFromString(""), std::nullopt);
    EXPECT_EQ(CommonFunc::getDateFromString(QString()), std::nullopt);
    EXPECT_EQ(CommonFunc::getDateFromString("2024-02-09 13:05:09"), std::nullopt);
    EXPECT_EQ(CommonFunc::getDateFromString("2024:13:09 13:05:09"), std::nullopt);
    EXPECT_EQ(CommonFunc::getDateTimeStringFromDate(QDateTime()), "");
    EXPECT_EQ(CommonFunc::getStringFromDate(QDateTime()), "");

    // Shown texts follow the user's locale; parsing does not depend on it.
    const struct {
        QLocale locale;
        QString dateTime;
    } locales[] = {
        { QLocale::c(), "Feb 09, 2024 01:05:09 PM" },
        { QLocale(QLocale::French, QLocale::France), QString::fromUtf8("f\u00e9vr. 09, 2024 01:05:09 PM") },
    };
    for (const auto& c : locales) {
        QLocale::setDefault(c.locale);
        EXPECT_EQ(CommonFunc::getDateTimeStringFromDate(when), c.dateTime) << c.locale.name().toStdString();
        EXPECT_EQ(CommonFunc::getDateFromString("2024:02:09 13:05:09"), when);
    }
    QLocale::setDefault(saved);
}

TEST(CommonFunc, ApplicationSupportUnderTheTestHome)
{
    const QString expected = qEnvironmentVariable("XDG_DATA_HOME") + "/Vantrel";
    EXPECT_EQ(CommonFunc::applicationSupportDirectory(), expected);
    EXPECT_TRUE(QDir(expected).exists());

    QString error = "stale";
    const QString caches
        = CommonFunc::findOrCreateDirectory(CommonFunc::SearchPathDirectory::Caches, "Vantrel/a b", &error);
    EXPECT_EQ(caches, qEnvironmentVariable("XDG_CACHE_HOME") + "/Vantrel/a b");
    EXPECT_TRUE(QDir(caches).exists());
    EXPECT_TRUE(error.isEmpty());
    // The caches folder is shared by the whole run; the library-read tests expect it empty.
    QDir(caches).removeRecursively();
}

TEST(CommonFunc, UncreatableApplicationSupportGivesNothingAndCreatesNothingElsewhere)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString blocker = tmp.filePath("plain-file");
    ASSERT_TRUE(writeFile(blocker, "x"));
    const QString cwdBefore = QDir::currentPath();
    const bool hadLocal = QDir(cwdBefore + "/Vantrel").exists();
    {
        ScopedEnv env("XDG_DATA_HOME", (blocker + "/share").toUtf8());
        EXPECT_EQ(CommonFunc::applicationSupportDirectory(), "");
        QString error;
        EXPECT_EQ(
            CommonFunc::findOrCreateDirectory(CommonFunc::SearchPathDirectory::ApplicationSupport, "Vantrel", &error),
            "");
        EXPECT_FALSE(error.isEmpty());
    }
    {
        ScopedEnv env("XDG_DATA_HOME", "relative/share");
        const QString folder = CommonFunc::applicationSupportDirectory();
        EXPECT_TRUE(folder.isEmpty() || QDir::isAbsolutePath(folder)) << folder.toStdString();
    }
    {
        // No home folder: nothing may be made under "/".
        const bool hadRootFolder = QDir("/.local/share/Vantrel").exists();
        ScopedEnv home("HOME", "");
        ScopedEnv data("XDG_DATA_HOME", "");
        EXPECT_EQ(CommonFunc::applicationSupportDirectory(), "");
        EXPECT_EQ(QDir("/.local/share/Vantrel").exists(), hadRootFolder);
    }
    EXPECT_EQ(QDir(cwdBefore + "/Vantrel").exists(), hadLocal);
    EXPECT_FALSE(QDir(cwdBefore + "/relative").exists());
    EXPECT_EQ(CommonFunc::applicationSupportDirectory(), qEnvironmentVariable("XDG_DATA_HOME") + "/Vantrel");
}

TEST(CommonFunc, FlatJsonTextIsTheToolboxText)
{
    const QVariantMap samples[] = {
        {},
        { { "n", 5 }, { "s", "x" } },
        { { "d", 2.5 }, { "b", true }, { "q", "a\"b\\c" } },
    };
    for (const auto& dict : samples)
        EXPECT_EQ(CommonFunc::getJSONFromDict(dict), Utils::getJSONFromDict(dict));
    EXPECT_EQ(CommonFunc::getJSONFromDict({ { "n", 5 }, { "s", "x" } }), R"({"n":5,"s":"x"})");
}

TEST(CommonFunc, DigestsOfReadableFilesOnly)
{
    QTemporaryDir tmp;
    const QString abc = tmp.filePath("abc");
    const QString empty = tmp.filePath("empty");
    const QString big = tmp.filePath("big");
    ASSERT_TRUE(writeFile(abc, "abc"));
    ASSERT_TRUE(writeFile(empty, ""));
    QByteArray data;
    for (int i = 0; i < 10007; ++i)
        data.append(char(i * 31));
    ASSERT_TRUE(writeFile(big, data));

    EXPECT_EQ(CommonFunc::getFileMD5(abc), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(CommonFunc::getFileMD5(empty), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(CommonFunc::FileMD5HashCreateWithPath(empty, 0, nullptr), "d41d8cd98f00b204e9800998ecf8427e");

    const auto whole = CommonFunc::getFileMD5(big);
    ASSERT_TRUE(whole);
    for (qint64 chunk : { 0, 1, 3, 4096, 1 << 20 })
        EXPECT_EQ(CommonFunc::FileMD5HashCreateWithPath(big, chunk, nullptr), whole) << chunk;
    std::atomic<bool> running { false };
    EXPECT_EQ(CommonFunc::getFileMD5UsingStreamWithAbortFlag(big, &running), whole);

    // "No digest" for what cannot be read, never the digest of no bytes.
    for (const QString& path : { tmp.filePath("missing"), tmp.path() }) {
        EXPECT_EQ(CommonFunc::getFileMD5(path), std::nullopt);
        EXPECT_EQ(CommonFunc::FileMD5HashCreateWithPath(path, 0, nullptr), std::nullopt);
        EXPECT_EQ(CommonFunc::getFileMD5UsingStreamWithAbortFlag(path, nullptr), std::nullopt);
    }
    std::atomic<bool> aborted { true };
    EXPECT_EQ(CommonFunc::FileMD5HashCreateWithPath(abc, 0, &aborted), std::nullopt);
    EXPECT_EQ(CommonFunc::getFileMD5UsingStreamWithAbortFlag(empty, &aborted), std::nullopt);
}

TEST(CommonFunc, QuarterTurnsFollowDrawingSpace)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(0, 0, qRgb(255, 0, 0)); // top left

    // YES is +90 degrees in y-up drawing space: a quarter turn counter-clockwise on screen.
    const QImage yes = CommonFunc::bwRotateImage90DegreesClockwise(true, image);
    ASSERT_EQ(yes.size(), QSize(2, 3));
    EXPECT_EQ(yes.pixel(0, 2), qRgb(255, 0, 0)); // bottom left
    const QImage no = CommonFunc::bwRotateImage90DegreesClockwise(false, image);
    ASSERT_EQ(no.size(), QSize(2, 3));
    EXPECT_EQ(no.pixel(1, 0), qRgb(255, 0, 0)); // top right
    EXPECT_TRUE(CommonFunc::bwRotateImage90DegreesClockwise(true, QImage()).isNull());
}

TEST(CommonFunc, ImageForFilePath)
{
    QTemporaryDir tmp;
    QImage image(5, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QString path = tmp.filePath("a.png");
    ASSERT_TRUE(image.save(path));
    EXPECT_EQ(CommonFunc::getImageForFilePath(path).size(), QSize(5, 4));
    EXPECT_TRUE(CommonFunc::getImageForFilePath(tmp.filePath("none.png")).isNull());
}

TEST(CommonFunc, AppOpenIsFalseForUnknownIdentifiers)
{
    EXPECT_FALSE(CommonFunc::checkAppOpen(""));
    EXPECT_FALSE(CommonFunc::checkAppOpen("org.vantrel.NoSuchApplication.Test"));
}
