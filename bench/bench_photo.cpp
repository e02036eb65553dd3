// Processes every image file of one folder through the one-photo pipeline, headless, one photo
// after another as a run does, and prints the wall time and the peak resident memory.
//
//   bench_photo <folder> <output folder> [--width W | --percent P | --fit WxH | --size WxH]
//               [--format tif|tiff|png|jpg|jpeg|jp2|bmp|gif] [--quality Q] [--rotate 0..4]
//               [--flip-h] [--flip-v]
// Without a size option the size is kept (unchanged photos are copied).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include "core/DataBeans/PhotoFile.h"
#include "core/Processing/OutputPathBuilder.h"
#include "core/Processing/PhotoPipeline.h"
#include "platform/imaging/ImageFileTypes.h"
#include "platform/imaging/ImagingInit.h"

namespace {

int usage()
{
    std::fprintf(stderr,
        "usage: bench_photo <folder> <output folder> [--width W | --percent P | --fit WxH | "
        "--size WxH] [--format EXT] [--quality Q] [--rotate N] [--flip-h] [--flip-v]\n");
    return 2;
}

bool parseSize(const char* text, double* width, double* height)
{
    return std::sscanf(text, "%lfx%lf", width, height) == 2;
}

} // namespace

int main(int argc, char** argv)
{
    vantrel::boundLibraryThreads(argv);
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return usage();
    if (!vantrel::initImagingLibraries(argv[0]))
        return 1;

    vantrel::PhotoJobSettings settings;
    settings.isKeepOriginalSize = true;
    settings.folderOption = 1;
    settings.ouptputFolder = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    for (int i = 3; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--width") && hasValue) {
            // A width with the ratio kept: fit into width x (a height that never limits).
            settings.isKeepOriginalSize = false;
            settings.isCustomSize = settings.isKeepAspectRatio = true;
            settings.customWidth = std::atof(argv[++i]);
            settings.customHeight = 1e9;
        } else if (!std::strcmp(argv[i], "--percent") && hasValue) {
            settings.isKeepOriginalSize = false;
            settings.isPercentSize = true;
            settings.perWidth = settings.perHeight = std::atof(argv[++i]);
        } else if ((!std::strcmp(argv[i], "--fit") || !std::strcmp(argv[i], "--size")) && hasValue) {
            settings.isKeepOriginalSize = false;
            settings.isCustomSize = true;
            settings.isKeepAspectRatio = !std::strcmp(argv[i], "--fit");
            if (!parseSize(argv[++i], &settings.customWidth, &settings.customHeight))
                return usage();
        } else if (!std::strcmp(argv[i], "--format") && hasValue) {
            settings.formatOption = 1;
            settings.selectedFileFormat = static_cast<int>(
                vantrel::OutputPathBuilder::outputFormatList().indexOf(QString::fromLatin1(argv[++i])));
            if (settings.selectedFileFormat < 0)
                return usage();
        } else if (!std::strcmp(argv[i], "--quality") && hasValue) {
            settings.compressionRatio = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--rotate") && hasValue) {
            settings.rotationType = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--flip-h")) {
            settings.isHorizontalFlip = true;
        } else if (!std::strcmp(argv[i], "--flip-v")) {
            settings.isVerticalFlip = true;
        } else {
            return usage();
        }
    }

    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QStringList files;
    for (const QFileInfo& info : folder.entryInfoList(QDir::Files, QDir::Name)) {
        if (vantrel::ImageFileTypes::isImageExtension(info.suffix()))
            files.append(info.absoluteFilePath());
    }

    const vantrel::OutputPathBuilder paths(settings);
    const vantrel::PhotoPipeline pipeline(settings);
    int processed = 0;
    qint64 inputBytes = 0;
    qint64 outputBytes = 0;
    const auto start = std::chrono::steady_clock::now();
    for (const QString& file : files) {
        const vantrel::PhotoFilePtr photo
            = vantrel::PhotoFile::initWithFileUrl(file, QFileInfo(file).fileName(), false);
        const vantrel::PhotoWriteResult result
            = pipeline.processPhoto(*photo, paths.updatedFilePathWithSetting(*photo));
        inputBytes += static_cast<qint64>(photo->fileSizeInBytes());
        if (result.status == vantrel::ProcessStatus::Processed) {
            ++processed;
            outputBytes += result.outputSize;
        } else {
            std::fprintf(stderr, "%s: status %d\n", qPrintable(file), static_cast<int>(result.status));
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("photos %d/%lld  time %.3f s  (%.1f ms/photo)  in %.1f MB  out %.1f MB  peak RSS %.1f MB\n", processed,
        static_cast<long long>(files.size()), seconds, files.isEmpty() ? 0.0 : seconds * 1000.0 / files.size(),
        inputBytes / 1e6, outputBytes / 1e6, usage.ru_maxrss / 1024.0);
    return processed == files.size() ? 0 : 1;
}
