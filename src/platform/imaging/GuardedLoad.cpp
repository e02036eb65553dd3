#include "platform/imaging/GuardedLoad.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>

#include "platform/imaging/DecodeBudget.h"
#include "platform/imaging/DecodeFootprint.h"
#include "platform/imaging/DecodeSource.h"
#include "platform/imaging/VipsErrorText.h"

namespace vantrel {

struct GuardedLoad::State {
    std::mutex mutex;
    std::atomic<bool> failed { false };
    DecodeBudget::Ticket share; ///< held until the loader closes and the GuardedLoad is gone
};

namespace {

// Kept alive by the output image until it closes; the GuardedLoad keeps its own reference.
using StateHandle = std::shared_ptr<GuardedLoad::State>;

int generate(VipsRegion* out, void* sequence, void* /*in*/, void* state, gboolean* /*stop*/)
{
    auto* input = static_cast<VipsRegion*>(sequence);
    auto* s = static_cast<GuardedLoad::State*>(state);
    std::lock_guard lock(s->mutex);
    if (vips_region_prepare(input, &out->valid) != 0) {
        s->failed = true;
        return -1;
    }
    return vips_region_region(out, input, &out->valid, out->valid.left, out->valid.top);
}

void releaseState(VipsImage* /*image*/, gpointer handle)
{
    delete static_cast<StateHandle*>(handle);
}

void releaseInput(VipsImage* /*image*/, gpointer input)
{
    g_object_unref(input);
}

// `in` copied into memory on the calling thread, strip after strip from the top. libvips' own
// copy hands the strips to a pool of threads, and a thread that the machine leaves waiting
// (other photos are being written) asks for its strip after the loader has passed it: a
// sequential loader then fails a sound photo. The loads are one at a time anyway (see
// generate), so one thread reads as fast.
vips::VImage copiedInOrder(const vips::VImage& in)
{
    VipsImage* out = vips_image_new_memory();
    const vips::VImage memory(out, vips::STEAL);
    if (vips_image_pipelinev(out, VIPS_DEMAND_STYLE_THINSTRIP, in.get_image(), nullptr)
        || vips_image_write_prepare(out))
        throw vips::VError();
    int tileWidth = 0;
    int tileHeight = 0;
    int lines = 0;
    vips_get_tile_size(in.get_image(), &tileWidth, &tileHeight, &lines);
    lines = std::max(lines, 1);
    const std::unique_ptr<VipsRegion, void (*)(VipsRegion*)> region(
        vips_region_new(in.get_image()), [](VipsRegion* r) { g_object_unref(r); });
    const int width = in.width();
    const int height = in.height();
    for (int top = 0; top < height; top += lines) {
        VipsRect strip { 0, top, width, std::min(lines, height - top) };
        if (vips_region_prepare(region.get(), &strip))
            throw vips::VError();
        for (int y = top; y < top + strip.height; ++y)
            if (vips_image_write_line(out, y, VIPS_REGION_ADDR(region.get(), 0, y)))
                throw vips::VError();
    }
    return memory;
}

} // namespace

GuardedLoad GuardedLoad::open(const QString& path, qint64 bytes, int shrink)
{
    // Taken before the loader allocates anything: a progressive JPEG's coefficient buffer lives
    // as long as the loader.
    DecodeBudget::Ticket share = DecodeBudget::process().reserve(bytes);
    VipsErrorText::clear();
    // A sequential loader keeps only a few strips behind its read point. A request for an
    // earlier strip (a consumer's thread that fell behind while the machine was busy with other
    // photos) fails the photo with "out of order read". A loader that reads any strip on request
    // is opened for random access, which costs it nothing.
    const DecodeSource source = DecodeSource::open(path);
    vips::VOption* options = vips::VImage::option()
                                 ->set("fail_on", VIPS_FAIL_ON_TRUNCATED)
                                 ->set("access", source.readsAnyOrder() ? VIPS_ACCESS_RANDOM : VIPS_ACCESS_SEQUENTIAL);
    if (shrink > 1)
        options->set("shrink", shrink);
    const vips::VImage loaded = source.load(options);

    GuardedLoad load;
    load.m_state = std::make_shared<State>();
    load.m_state->share = std::move(share);
    VipsImage* in = loaded.get_image();
    VipsImage* out = vips_image_new();
    load.m_image = vips::VImage(out, vips::STEAL);
    g_object_ref(in);
    g_signal_connect(out, "close", G_CALLBACK(releaseInput), in);
    g_signal_connect(out, "close", G_CALLBACK(releaseState), new StateHandle(load.m_state));
    if (vips_image_pipelinev(out, VIPS_DEMAND_STYLE_THINSTRIP, in, nullptr)
        || vips_image_generate(out, vips_start_one, generate, vips_stop_one, in, load.m_state.get()))
        throw vips::VError();
    return load;
}

bool GuardedLoad::failed() const
{
    return m_state && m_state->failed;
}

vips::VImage GuardedLoad::decodeIntoMemory(const QString& path, const ImageProperties& header, int shrink)
{
    const DecodeFootprint footprint = DecodeFootprint::read(path, header);
    vips::VImage memory;
    {
        const GuardedLoad load = open(path, footprint.intoMemory(shrink), shrink);
        memory = copiedInOrder(load.image());
        if (load.failed())
            throw vips::VError("the decode stopped early: damaged or truncated data");
    }
    // The loader is closed, and with it the decoder's buffer of the whole picture: a photo that
    // the run admitted gives that part of its share back now rather than after its encode.
    DecodeBudget::giveBackEarly(footprint.workingBytes);
    // The copy inherits the loader's sequential mark, which makes every operation on it (a
    // resize) put a line cache in front and run on one thread. The pixels are in memory now:
    // any order of access and any number of threads are fine.
    memory.remove(VIPS_META_SEQUENTIAL);
    return memory;
}

} // namespace vantrel
