// The GPU passes of QopLite on Mesa (llvmpipe, one thread unless LP_NUM_THREADS says otherwise),
// through a headless EGL context: each run uploads the input as the effect's source image,
// records the kernel's pass, and reads the result back into memory, as the library does for an
// image without an on-screen target. The summary's "GPU" column is the whole round trip; the three
// stages are also timed apart (glFinish ends each) and shown in their own table.
#include "QopBench.h"

#include "GLES/EGLHeadlessContext.h"
#include "QopLite/QopLite.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace qop_bench {

namespace {

EGLHeadlessContext g_context;
QopGLData_t *g_record = nullptr;

struct StageSamples {
    std::vector<double> upload, pass, read; // milliseconds
};
// Per "kernel size".
std::map<std::string, StageSamples> &stageSamples()
{
    static std::map<std::string, StageSamples> samples;
    return samples;
}

using Clock = std::chrono::steady_clock;
double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One round trip: upload out.pixels (a restored copy of a), the kernel's pass, read back into
// out.pixels.
template <class Pass>
bool roundTrip(const char *kernel, const BenchImages &in, BenchOutput &out, std::string *error, Pass pass)
{
    QopBitmap_t bitmap{out.pixels.data(), static_cast<size_t>(in.width), static_cast<size_t>(in.height), g_record};
    const Clock::time_point start = Clock::now();
    QopGLCreateEffect(&bitmap); // uploads the pixels; ends with glFinish
    const double upload = millisecondsSince(start);
    const Clock::time_point passStart = Clock::now();
    pass(&bitmap); // every pass ends with glFinish
    const double passTime = millisecondsSince(passStart);
    const Clock::time_point readStart = Clock::now();
    QopGLFinalizeEffect(&bitmap); // reads the result into the pixels
    const double read = millisecondsSince(readStart);
    if (g_record->state != QopGLStateOk || glGetError() != GL_NO_ERROR) {
        *error = "the GPU record failed or GL reported an error";
        return false;
    }
    StageSamples &samples = stageSamples()[std::string(kernel) + " " + std::to_string(in.width) + "x" +
                                           std::to_string(in.height)];
    samples.upload.push_back(upload);
    samples.pass.push_back(passTime);
    samples.read.push_back(read);
    return true;
}

void restoreA(const BenchImages &in, BenchOutput &out)
{
    std::memcpy(out.pixels.data(), in.a.data(), in.pixels() * sizeof(QopColor_t));
}

bool gpuLut(const BenchImages &in, BenchOutput &out, std::string *error)
{
    static const QopHistMap_t map = [] {
        QopHistMap_t m;
        std::memcpy(m.r, lutTables().r, 256);
        std::memcpy(m.g, lutTables().g, 256);
        std::memcpy(m.b, lutTables().b, 256);
        return m;
    }();
    return roundTrip("lut", in, out, error, [](QopBitmap_t *b) { QopGLAddColorMap(&map, b->glData); });
}

bool gpuMatrix(const BenchImages &in, BenchOutput &out, std::string *error)
{
    return roundTrip("matrix", in, out, error, [](QopBitmap_t *b) { QopGLAddColorTransform(kMatrix, b->glData); });
}

// The second image is uploaded by the pass itself (the library uploads a source bitmap per pass),
// so the pass time of the blends includes that upload.
bool gpuBlend(const BenchImages &in, BenchOutput &out, std::string *error)
{
    QopBitmap_t src{const_cast<QopColor_t *>(in.b.data()), static_cast<size_t>(in.width),
                    static_cast<size_t>(in.height), nullptr};
    return roundTrip("blend", in, out, error,
                     [&](QopBitmap_t *b) { QopGLBitmapBlend(b, &src, kBlendAlpha, QopBlendModeNormal); });
}

bool gpuSeparate(const BenchImages &in, BenchOutput &out, std::string *error)
{
    QopBitmap_t src{const_cast<QopColor_t *>(in.b.data()), static_cast<size_t>(in.width),
                    static_cast<size_t>(in.height), nullptr};
    return roundTrip("separate", in, out, error,
                     [&](QopBitmap_t *b) { QopGLBitmapBlendSeparate(b, &src, kSeparateA, kSeparateB); });
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

bool gpuInit(std::string *error)
{
    // One rasteriser thread, as every other library here is pinned to one.
    setenv("LP_NUM_THREADS", "1", 0);
    if (!g_context.open(error))
        return false;
    g_record = static_cast<QopGLData_t *>(calloc(1, sizeof(QopGLData_t)));
    if (!g_record || !QopGLInitialize(g_record, QopGLDeviceGPUSpeedFast, QopGLRenderingModeDefault)) {
        *error = "the GPU record did not initialise";
        gpuShutdown();
        return false;
    }
    const char *renderer = reinterpret_cast<const char *>(glGetString(GL_RENDERER));
    std::printf("GPU: %s (%s EGL platform, LP_NUM_THREADS=%s)\n", renderer ? renderer : "?", g_context.route(),
                std::getenv("LP_NUM_THREADS"));
    return true;
}

const std::vector<Implementation> &gpuImplementations()
{
    static const std::vector<Implementation> table = {
        {"lut", "GPU", restoreA, gpuLut},
        {"matrix", "GPU", restoreA, gpuMatrix},
        {"blend", "GPU", restoreA, gpuBlend},
        {"separate", "GPU", restoreA, gpuSeparate},
    };
    return table;
}

void gpuPrintStages()
{
    if (stageSamples().empty())
        return;
    std::printf("\nGPU round trip by stage (median milliseconds per run; the blends' pass includes the upload of "
                "the second image)\n");
    std::printf("%-20s %10s %10s %10s %10s\n", "kernel size", "upload", "pass", "read-back", "total");
    for (const auto &[name, samples] : stageSamples()) {
        const double upload = median(samples.upload), pass = median(samples.pass), read = median(samples.read);
        std::printf("%-20s %10.2f %10.2f %10.2f %10.2f\n", name.c_str(), upload, pass, read, upload + pass + read);
    }
}

void gpuShutdown()
{
    if (g_record) {
        QopGLDestroy(g_record);
        free(g_record);
        g_record = nullptr;
    }
    g_context.close();
}

} // namespace qop_bench
