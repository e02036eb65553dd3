// Header reads and thumbnails over a folder, single process, one file after another (libvips
// still uses its own worker threads inside a decode), as the add scan and the grid do them.
//
//   bench_imaging headers <folder> [--full]          pixel size + orientation of every file
//   bench_imaging thumbnails <folder> [WxH] [--save <dir>] [--threads N]
//                                                   thumbnails fitted into WxH (default 404x414),
//                                                   turned into QImage as the grid shows them;
//                                                   --save also writes each as JPEG (the work
//                                                   vipsthumbnail does); --threads N spreads the
//                                                   files over N workers (the grid uses 2 queues)
//   bench_imaging stages <folder> [--width N]        where a run's time goes, one photo at a time,
//                                                   per kind of photo: header, decode (into
//                                                   memory at the run's DCT scale, upright),
//                                                   resize to N wide (default 1280), JPEG encode
//                                                   at quality 75, and the metadata written
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <thread>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "platform/imaging/DecodeFootprint.h"
#include "platform/imaging/GuardedLoad.h"
#include "platform/imaging/Image.h"
#include "platform/imaging/ImageEncoder.h"
#include "platform/imaging/ImageProperties.h"
#include "platform/imaging/ImagingInit.h"

namespace {

using Clock = std::chrono::steady_clock;

QStringList filesIn(const QString& folder)
{
    QDir dir(folder);
    QStringList files;
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files, QDir::Name))
        files.append(info.absoluteFilePath());
    return files;
}

int usage()
{
    std::fprintf(stderr,
        "usage: bench_imaging headers <folder> [--full]\n"
        "       bench_imaging thumbnails <folder> [WxH] [--save <dir>] [--threads N]\n"
        "       bench_imaging stages <folder> [--width N]\n");
    return 2;
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int headers(const QStringList& files, bool full)
{
    const auto start = Clock::now();
    int valid = 0, turned = 0;
    qint64 pixels = 0;
    for (const QString& file : files) {
        const vantrel::ImageProperties p = vantrel::readImageProperties(
            file, full ? vantrel::PropertyDepth::Full : vantrel::PropertyDepth::SizeAndOrientation);
        if (!p.valid)
            continue;
        ++valid;
        turned += p.orientation >= 5;
        pixels += qint64(p.uprightSize().width()) * p.uprightSize().height();
    }
    const double s = secondsSince(start);
    std::printf("headers%s: %lld files, %d read, %d turned, %.1f Mpx total, %.3f s, %.0f files/s\n",
        full ? " (full)" : "", qlonglong(files.size()), valid, turned, double(pixels) / 1e6, s,
        files.isEmpty() ? 0.0 : files.size() / s);
    return valid > 0 ? 0 : 1;
}

int thumbnails(const QStringList& files, QSize box, const QString& saveTo, int threads)
{
    const auto start = Clock::now();
    std::atomic<int> made { 0 };
    std::atomic<int> next { 0 };
    auto work = [&] {
        for (int i = next++; i < files.size(); i = next++) {
            const QString& file = files[i];
            const vantrel::Image thumb = vantrel::Image::thumbnail(file, box);
            if (thumb.isNull())
                continue;
            if (!saveTo.isEmpty()) {
                vantrel::EncodeOptions options;
                options.quality = 0.75f;
                if (!vantrel::encodeImage(thumb, saveTo + "/" + QFileInfo(file).completeBaseName() + ".jpg",
                        vantrel::ImageFileFormat::Jpeg, options)
                         .ok)
                    continue;
            } else if (thumb.toQImage().isNull()) {
                continue;
            }
            ++made;
        }
    };
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t)
        workers.emplace_back(work);
    work();
    for (std::thread& w : workers)
        w.join();
    const double s = secondsSince(start);
    std::printf("thumbnails %dx%d%s, %d thread(s): %lld files, %d made, %.3f s, %.1f files/s\n", box.width(),
        box.height(), saveTo.isEmpty() ? " (QImage)" : " (saved as JPEG)", threads, qlonglong(files.size()),
        made.load(), s, files.isEmpty() ? 0.0 : files.size() / s);
    return made > 0 ? 0 : 1;
}

} // namespace

// Seconds per stage for one kind of photo.
struct Stages {
    int photos = 0;
    double header = 0, decode = 0, resize = 0, encode = 0, metadata = 0;
};

int stages(const QStringList& files, int width)
{
    std::map<QString, Stages> kinds;
    const QString scratch
        = QDir::temp().filePath(QStringLiteral("bench-stages-%1").arg(QCoreApplication::applicationPid()));
    QDir().mkpath(scratch);
    for (const QString& file : files) {
        auto start = Clock::now();
        const vantrel::ImageProperties p
            = vantrel::readImageProperties(file, vantrel::PropertyDepth::SizeAndOrientation);
        if (!p.valid)
            continue;
        const vantrel::DecodeFootprint footprint = vantrel::DecodeFootprint::read(file, p);
        const double header = secondsSince(start);
        const QSize upright = p.uprightSize();
        const QSize target = upright.width() > width
            ? QSize(width, qMax(1, int(qint64(upright.height()) * width / upright.width())))
            : upright;
        const QSize storedTarget = p.orientation >= 5 ? target.transposed() : target;
        const int shrink
            = footprint.shrinksOnLoad ? vantrel::DecodeFootprint::jpegShrink(p.storedSize(), storedTarget) : 1;
        QString kind = p.loader.section(QLatin1String("load"), 0, 0);
        if (kind == QLatin1String("jpeg"))
            kind
                = footprint.workingBytes > 0 ? QStringLiteral("jpeg, progressive") : QStringLiteral("jpeg, sequential");
        Stages& stage = kinds[kind];
        try {
            start = Clock::now();
            vantrel::Image decoded(vantrel::GuardedLoad::decodeIntoMemory(file, p, shrink));
            if (p.orientation != 1)
                decoded = vantrel::Image(decoded.uprightForOrientation(p.orientation).vips().copy_memory());
            stage.decode += secondsSince(start);
            start = Clock::now();
            const vantrel::Image resized(decoded.resized(target).vips().copy_memory());
            stage.resize += secondsSince(start);
            vantrel::EncodeOptions options;
            options.quality = 0.75f;
            start = Clock::now();
            vantrel::encodeImage(resized, scratch + "/plain.jpg", vantrel::ImageFileFormat::Jpeg, options);
            const double encode = secondsSince(start);
            options.metadataSource = file;
            start = Clock::now();
            vantrel::encodeImage(resized, scratch + "/tagged.jpg", vantrel::ImageFileFormat::Jpeg, options);
            stage.metadata += std::max(0.0, secondsSince(start) - encode);
            stage.encode += encode;
            stage.header += header;
            ++stage.photos;
        } catch (const vips::VError& e) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(file), e.what());
        }
    }
    QDir(scratch).removeRecursively();
    std::printf("ms per photo, one photo at a time, to %d wide JPEG q75\n", width);
    std::printf(
        "%-20s %6s %8s %8s %8s %8s %9s\n", "kind", "photos", "header", "decode", "resize", "encode", "metadata");
    for (const auto& [kind, s] : kinds) {
        const double n = s.photos / 1000.0;
        std::printf("%-20s %6d %8.1f %8.1f %8.1f %8.1f %9.1f\n", qPrintable(kind), s.photos, s.header / n, s.decode / n,
            s.resize / n, s.encode / n, s.metadata / n);
    }
    return 0;
}

int main(int argc, char** argv)
{
    vantrel::boundLibraryThreads(argv);
    QCoreApplication app(argc, argv);
    if (!vantrel::initImagingLibraries(argv[0]))
        return 2;
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return usage();
    const QStringList files = filesIn(args[2]);
    if (args[1] == "headers")
        return headers(files, args.contains("--full"));
    if (args[1] == "stages") {
        const qsizetype at = args.indexOf("--width");
        return stages(files, at > 0 && at + 1 < args.size() ? args[at + 1].toInt() : 1280);
    }
    if (args[1] == "thumbnails") {
        QSize box(404, 414);
        QString saveTo;
        int threads = 1;
        for (int i = 3; i < args.size(); ++i) {
            if (args[i] == "--save" && i + 1 < args.size()) {
                saveTo = args[++i];
            } else if (args[i] == "--threads" && i + 1 < args.size()) {
                threads = std::max(1, args[++i].toInt());
            } else if (args[i].contains('x')) {
                box = QSize(args[i].section('x', 0, 0).toInt(), args[i].section('x', 1, 1).toInt());
            }
        }
        return thumbnails(files, box, saveTo, threads);
    }
    return usage();
}
