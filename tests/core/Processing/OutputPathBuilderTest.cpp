#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/DataBeans/PhotoFile.h"
#include "core/Processing/OutputPathBuilder.h"
#include "core/Processing/TargetSize.h"
#include "platform/Paths.h"

namespace vantrel {
namespace {

PhotoFilePtr recordFor(const QString& path, double width, double height, bool library = false)
{
    auto record = std::make_shared<PhotoFile>();
    PhotoFile& photo = *record;
    photo.setFilePath(path);
    photo.setFileURL(path);
    const QString name = path.section(QLatin1Char('/'), -1);
    photo.setFileName(name);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    photo.setFileExtension(dot > 0 ? name.mid(dot + 1) : QString());
    photo.setWidth(width);
    photo.setHeight(height);
    photo.setIsIphotosNode(library);
    return record;
}

PhotoJobSettings keepOriginal()
{
    PhotoJobSettings settings;
    settings.isKeepOriginalSize = true;
    settings.ouptputFolder = QStringLiteral("/out");
    return settings;
}

TEST(TargetSizeTest, PixelSizeOfTheSizeStep)
{
    struct Case {
        const char* what;
        QSize upright;
        PhotoJobSettings settings;
        std::optional<QSize> expected;
    };
    PhotoJobSettings custom20000;
    custom20000.isCustomSize = true;
    custom20000.customWidth = 20000;
    custom20000.customHeight = 100;
    PhotoJobSettings onePercent;
    onePercent.isPercentSize = true;
    onePercent.perWidth = onePercent.perHeight = 1;
    PhotoJobSettings fit800 = custom20000;
    fit800.isKeepAspectRatio = true;
    fit800.customWidth = fit800.customHeight = 800;
    PhotoJobSettings exactly10000 = custom20000;
    exactly10000.customWidth = 10000;
    exactly10000.customHeight = 10000;
    PhotoJobSettings notANumber = custom20000;
    notANumber.customWidth = std::numeric_limits<double>::quiet_NaN();
    PhotoJobSettings half;
    half.isPercentSize = true;
    half.perWidth = half.perHeight = 50;
    const Case cases[] = {
        { "20000 x 100 refused", { 50, 50 }, custom20000, std::nullopt },
        { "1 percent of 50 x 50 raised to 1 x 1", { 50, 50 }, onePercent, QSize(1, 1) },
        { "aspect fit enlarges", { 400, 300 }, fit800, QSize(800, 600) },
        { "aspect fit reduces portrait", { 3000, 4000 }, fit800, QSize(600, 800) },
        { "exactly 10000 accepted", { 50, 50 }, exactly10000, QSize(10000, 10000) },
        { "not a number refused", { 50, 50 }, notANumber, std::nullopt },
        { "500.5 rounds away from zero", { 1001, 1001 }, half, QSize(501, 501) },
        { "kept size", { 4000, 3000 }, keepOriginal(), QSize(4000, 3000) },
    };
    for (const Case& c : cases)
        EXPECT_EQ(TargetSize::forPixels(c.upright, c.settings), c.expected) << c.what;
}

TEST(TargetSizeTest, AspectFitWithoutAreaIsZero)
{
    EXPECT_EQ(TargetSize::aspectFit({ 0, 300 }, { 800, 800 }), QSizeF(0, 0));
    EXPECT_EQ(TargetSize::aspectFit({ -4, 3 }, { 800, 800 }), QSizeF(0, 0));
    EXPECT_EQ(TargetSize::roundHalfAwayFromZero(std::nan("")), 0);
    EXPECT_EQ(TargetSize::roundHalfAwayFromZero(1e300), std::numeric_limits<int>::max());
}

TEST(OutputPathBuilderTest, NamingTable)
{
    struct Case {
        const char* what;
        QString source;
        double width, height;
        PhotoJobSettings settings;
        QString expected;
    };
    PhotoJobSettings sized = keepOriginal();
    sized.filenameOption = 1;
    PhotoJobSettings custom = sized;
    custom.isKeepOriginalSize = false;
    custom.isCustomSize = true;
    custom.customWidth = 800;
    custom.customHeight = 600;
    custom.rotationType = 1;
    PhotoJobSettings half = sized;
    half.isKeepOriginalSize = false;
    half.isPercentSize = true;
    half.perWidth = half.perHeight = 50;
    PhotoJobSettings onePercent = half;
    onePercent.perWidth = onePercent.perHeight = 1;
    PhotoJobSettings fit = custom;
    fit.rotationType = 0;
    fit.isKeepAspectRatio = true;
    fit.customHeight = 800;
    PhotoJobSettings keptTurned = sized;
    keptTurned.rotationType = 2;
    PhotoJobSettings prefix = keepOriginal();
    prefix.filenameOption = 2;
    prefix.prefixString = QStringLiteral("web_");
    PhotoJobSettings suffix = prefix;
    suffix.filenameOption = 3;
    suffix.prefixString = QStringLiteral("-small");
    PhotoJobSettings hostilePrefix = prefix;
    hostilePrefix.prefixString = QStringLiteral("../../etc/x:");
    PhotoJobSettings png = keepOriginal();
    png.formatOption = 1;
    png.selectedFileFormat = 2;
    PhotoJobSettings rawAnswer = keepOriginal();
    rawAnswer.rawConvertFormat = QStringLiteral("jpeg");

    const Case cases[] = {
        { "kept size", "/in/IMG_1.jpg", 4000, 3000, sized, "/out/IMG_1_4000X3000.jpg" },
        { "custom with a quarter turn", "/in/a.jpg", 4000, 3000, custom, "/out/a_600X800.jpg" },
        { "half of 1001", "/in/a.jpg", 1001, 1001, half, "/out/a_501X501.jpg" },
        { "1 percent of 1 x 1 has no minimum", "/in/a.jpg", 1, 1, onePercent, "/out/a_0X0.jpg" },
        { "aspect fit enlarges", "/in/a.jpg", 400, 300, fit, "/out/a_800X600.jpg" },
        { "kept size turned names the written size", "/in/a.jpg", 4000, 3000, keptTurned, "/out/a_3000X4000.jpg" },
        { "placeholder-like base name", "/in/a%1%2.jpg", 30, 20, sized, "/out/a%1%2_30X20.jpg" },
        { "letter case of the extension kept", "/in/A.JPG", 10, 10, keepOriginal(), "/out/A.JPG" },
        { "multi-dot name", "/in/my.trip.v2.jpeg", 10, 10, keepOriginal(), "/out/my.trip.v2.jpeg" },
        { "multi-dot name sized", "/in/a.b.png", 10, 20, sized, "/out/a.b_10X20.png" },
        { "prefix", "/in/a.b.jpg", 10, 10, prefix, "/out/web_a.b.jpg" },
        { "suffix", "/in/a.jpg", 10, 10, suffix, "/out/a-small.jpg" },
        { "prefix cleaned of path characters", "/in/a.jpg", 10, 10, hostilePrefix, "/out/etcxa.jpg" },
        { "converted to png", "/in/a.JPG", 10, 10, png, "/out/a.png" },
        { "not writable back takes the RAW answer", "/in/a.pgm", 10, 10, rawAnswer, "/out/a.jpeg" },
        { "camera RAW takes the RAW answer", "/in/a.CR2", 10, 10, rawAnswer, "/out/a.jpeg" },
    };
    for (const Case& c : cases) {
        const PhotoFilePtr photo = recordFor(c.source, c.width, c.height);
        EXPECT_EQ(OutputPathBuilder(c.settings).updatedFilePathWithSetting(*photo), c.expected) << c.what;
    }
}

TEST(OutputPathBuilderTest, FolderTable)
{
    struct Case {
        const char* what;
        QString source;
        bool library;
        qint32 folderOption;
        bool keepHierarchy;
        QString outputFolder;
        QString expected;
    };
    const QString pictures = Paths::picturesFolder();
    const Case cases[] = {
        { "beside the source", "/home/ann/Trip/a.jpg", false, 0, false, "/out", "/home/ann/Trip/a.jpg" },
        { "library photo beside", "/lib/Masters/a.jpg", true, 0, false, "/out",
            pictures + "/PhotosLibrary_VantrelOutput/a.jpg" },
        { "chosen folder", "/home/ann/Trip/a.jpg", false, 1, false, "/out", "/out/a.jpg" },
        { "hierarchy kept", "/Users/ann/Pictures/Trip/a.jpg", false, 1, true, "/Volumes/Out",
            "/Volumes/Out/ann/Pictures/Trip/a.jpg" },
        { "hierarchy with trailing slash", "/Users/ann/Trip/a.jpg", false, 1, true, "/Volumes/Out/",
            "/Volumes/Out/ann/Trip/a.jpg" },
        { "hierarchy of a photo in the root", "/a.jpg", false, 1, true, "/Volumes/Out", "/Volumes/Out/a.jpg" },
        { "hierarchy of a photo one level down", "/data/a.jpg", false, 1, true, "/Volumes/Out", "/Volumes/Out/a.jpg" },
        { "hierarchy not rebuilt for a library photo", "/lib/Masters/2020/a.jpg", true, 1, true, "/out", "/out/a.jpg" },
        { "empty folder means the default", "/in/a.jpg", false, 1, false, "", pictures + "/Vantrel/a.jpg" },
        { "root as output folder", "/in/a.jpg", false, 1, false, "/", "/a.jpg" },
    };
    for (const Case& c : cases) {
        PhotoJobSettings settings = keepOriginal();
        settings.folderOption = c.folderOption;
        settings.keepFolderHierarchy = c.keepHierarchy;
        settings.ouptputFolder = c.outputFolder;
        const PhotoFilePtr photo = recordFor(c.source, 10, 10, c.library);
        EXPECT_EQ(OutputPathBuilder(settings).updatedFilePathWithSetting(*photo), c.expected) << c.what;
    }
}

} // namespace
} // namespace vantrel
