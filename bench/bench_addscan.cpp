// The add scan over a folder of camera photos and over a tree of many small files, timed side
// by side with `vipsheader` over the same files, with the main thread's event loop watched by a
// 1 ms timer (the longest gap between its ticks is the longest block of the window).
//
//   bench_addscan [--root DIR] [--camera N] [--small N] [--sources DIR] [--runs R]
//
// The corpus is made once under --root (default /tmp/vantrel-bench-addscan): camera/ holds N
// names hard-linked to the camera-size JPEGs found under --sources (default the extracted
// wallpaper packages of bench/README.md; a generated 6000x4000 JPEG when there are none), small/
// holds N small JPEG and PNG files in folders of 1,000. Every timing is on a warm cache.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <QVBoxLayout>

#include "components/AppLook.h"
#include "core/AppDelegate.h"
#include "platform/imaging/ImagingInit.h"
#include "platform/imaging/VipsInclude.h"
#include "screens/AddPhotos/AddPhotosVC.h"

using namespace vantrel;

namespace {

struct Options {
    QString root = QStringLiteral("/tmp/vantrel-bench-addscan");
    QString sources = QStringLiteral("/tmp/perfcorpus-debs/x");
    int camera = 10000;
    int small = 100000;
    int runs = 2;
};

QStringList cameraSources(const QString& folder)
{
    QStringList found;
    QDirIterator it(folder, { "*.jpg", "*.jpeg", "*.JPG" }, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        // Links resolved: a hard link to a relative symbolic link would dangle in the corpus.
        const QString path = QFileInfo(it.next()).canonicalFilePath();
        if (path.isEmpty() || found.contains(path))
            continue;
        VipsImage* image = vips_image_new_from_file(path.toUtf8().constData(), nullptr);
        if (!image)
            continue;
        if (vips_image_get_width(image) >= 3000 && vips_image_get_height(image) >= 2000)
            found << path;
        g_object_unref(image);
    }
    found.sort();
    return found;
}

bool writeJpeg(const QString& path, int width, int height, int quality)
{
    try {
        vips::VImage base = vips::VImage::black(width, height, vips::VImage::option()->set("bands", 3));
        vips::VImage image = (base + std::vector<double> { 90, 140, 200 }).cast(VIPS_FORMAT_UCHAR);
        image.set("exif-ifd0-Make", "Benchmark Camera");
        image.set("exif-ifd0-Orientation", "6");
        image.jpegsave(path.toUtf8().constData(), vips::VImage::option()->set("Q", quality));
        return true;
    } catch (const vips::VError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return false;
    }
}

bool makeCorpus(const Options& o)
{
    const QString camera = o.root + "/camera";
    if (QDir(camera).entryList(QDir::Files).size() != o.camera) {
        QDir(camera).removeRecursively();
        QDir().mkpath(camera);
        QStringList sources = cameraSources(o.sources);
        if (sources.isEmpty()) {
            const QString made = o.root + "/generated-6000x4000.jpg";
            if (!writeJpeg(made, 6000, 4000, 90))
                return false;
            sources << made;
        }
        std::printf("camera corpus: %d names over %d camera-size JPEGs\n", o.camera, int(sources.size()));
        for (int i = 0; i < o.camera; ++i) {
            const QString name = QStringLiteral("%1/IMG_%2.jpg").arg(camera).arg(i + 1, 5, 10, QLatin1Char('0'));
            if (::link(QFile::encodeName(sources[i % sources.size()]).constData(), QFile::encodeName(name).constData())
                != 0)
                QFile::copy(sources[i % sources.size()], name);
        }
    }
    const QString small = o.root + "/small";
    if (!QFileInfo::exists(small + "/done")) {
        QDir(small).removeRecursively();
        QDir().mkpath(small);
        const QString jpeg = o.root + "/small.jpg";
        const QString png = o.root + "/small.png";
        if (!writeJpeg(jpeg, 160, 120, 80))
            return false;
        vips::VImage::new_from_file(jpeg.toUtf8().constData()).pngsave(png.toUtf8().constData());
        QFile jf(jpeg), pf(png);
        jf.open(QIODevice::ReadOnly);
        pf.open(QIODevice::ReadOnly);
        const QByteArray jpegBytes = jf.readAll(), pngBytes = pf.readAll();
        for (int i = 0; i < o.small; ++i) {
            const QString folder = QStringLiteral("%1/d%2").arg(small).arg(i / 1000, 3, 10, QLatin1Char('0'));
            if (i % 1000 == 0)
                QDir().mkpath(folder);
            const bool isPng = i % 4 == 3;
            QFile out(QStringLiteral("%1/f%2.%3").arg(folder).arg(i).arg(isPng ? "png" : "jpg"));
            out.open(QIODevice::WriteOnly);
            out.write(isPng ? pngBytes : jpegBytes);
        }
        QFile done(small + "/done");
        done.open(QIODevice::WriteOnly);
    }
    return true;
}

QStringList imageFiles(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, { "*.jpg", "*.png" }, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

struct ScanFigures {
    double seconds = 0;
    int accepted = 0;
    double longestBlockMs = 0;
};

// One add run of the screen over `folder` (with its subfolders), on a fresh batch.
ScanFigures timeScan(const QString& folder)
{
    AppDelegate::resetShared();
    ScanFigures f;
    QWidget window;
    window.resize(1200, 800);
    auto* screen = new AddPhotosVC(&window);
    screen->resize(window.size());
    window.show();
    QApplication::processEvents();

    QElapsedTimer clock, gap;
    QTimer watch;
    watch.setInterval(1);
    QEventLoop loop;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        f.longestBlockMs = std::max(f.longestBlockMs, gap.nsecsElapsed() / 1e6);
        gap.restart();
        if (!screen->isAddRunInProgress())
            loop.quit();
    });
    clock.start();
    gap.start();
    watch.start();
    screen->logic().handleFileDragDropPaths({ folder });
    loop.exec();
    f.seconds = clock.nsecsElapsed() / 1e9;
    f.accepted = int(AppDelegate::shareDelegate()->arraySelectedImagesToProcess.size());
    return f;
}

// `vipsheader` over the files, as many per call as the command line takes.
double timeVipsheader(const QStringList& files)
{
    QElapsedTimer clock;
    clock.start();
    for (qsizetype at = 0; at < files.size(); at += 2000) {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.setStandardErrorFile(QProcess::nullDevice());
        p.start(QStringLiteral("vipsheader"), files.mid(at, 2000));
        p.waitForFinished(-1);
    }
    return clock.nsecsElapsed() / 1e9;
}

void compare(const QString& label, const QString& folder, int runs)
{
    const QStringList files = imageFiles(folder);
    timeVipsheader(files); // warm the cache
    ScanFigures best;
    double bestTool = 1e9;
    double worstBlock = 0;
    for (int r = 0; r < runs; ++r) {
        const ScanFigures f = timeScan(folder);
        worstBlock = std::max(worstBlock, f.longestBlockMs);
        if (r == 0 || f.seconds < best.seconds)
            best = f;
        bestTool = std::min(bestTool, timeVipsheader(files));
    }
    const double ours = best.accepted / best.seconds;
    const double tool = files.size() / bestTool;
    std::printf("%-28s files %6d  accepted %6d  scan %7.3f s (%8.0f photos/s)  vipsheader %7.3f s (%8.0f files/s)"
                "  ratio %.2f  longest main-thread block %.1f ms\n",
        label.toUtf8().constData(), int(files.size()), best.accepted, best.seconds, ours, bestTool, tool, ours / tool,
        worstBlock);
}

// --show: the screen in a 1200x800 window for screenshots: empty, then a first folder added, then
// a scan over the small files running under the progress sheet, then the result.
int show(const Options& o)
{
    AppLook::apply(*qApp);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Vantrel"));
    window.resize(1200, 800);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* screen = new AddPhotosVC(&window);
    layout->addWidget(screen);
    window.show();
    QTimer::singleShot(4000, screen, [&] { screen->logic().handleFileDragDropPaths({ o.root + "/small/d000" }); });
    QTimer::singleShot(6000, screen, [&] { screen->logic().handleFileDragDropPaths({ o.root + "/small" }); });
    QTimer::singleShot(40000, &window, &QWidget::close);
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    vantrel::boundLibraryThreads(argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!initImagingLibraries(argv[0]))
        return 1;
    Options o;
    bool showOnly = false;
    for (int i = 1; i < argc; ++i)
        showOnly = showOnly || std::strcmp(argv[i], "--show") == 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QString key = QString::fromLocal8Bit(argv[i]);
        const QString value = QString::fromLocal8Bit(argv[i + 1]);
        if (key == "--root")
            o.root = value;
        else if (key == "--sources")
            o.sources = value;
        else if (key == "--camera")
            o.camera = value.toInt();
        else if (key == "--small")
            o.small = value.toInt();
        else if (key == "--runs")
            o.runs = std::max(1, value.toInt());
    }
    if (!makeCorpus(o))
        return 1;
    if (showOnly)
        return show(o);
    compare(QStringLiteral("camera photos"), o.root + "/camera", o.runs);
    compare(QStringLiteral("small files"), o.root + "/small", o.runs);
    return 0;
}
