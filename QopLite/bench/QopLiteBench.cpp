// QopLiteBench: megapixels per second of the QopLite CPU kernels at the preview size (1024 x 768)
// and a 12 MP photo (4000 x 3000), side by side with the same operation run by libvips and OpenCV
// (each compiled in when found, each pinned to one thread) on the same in-memory RGBA input.
//
// Fairness: every implementation computes the same result into memory (a check at start-up
// compares each with a plain reference loop and prints the largest difference); times are wall
// clock (libvips computes on worker threads that a per-thread CPU clock would miss), and the
// process CPU time is shown beside them, so any hidden parallelism shows as CPU > real.
// QopLite works in place: its input is restored before each iteration with the clock paused.
//
// The floor: the same image copied by memcpy (one read and one write of its bytes), and each
// per-pixel kernel's time as a multiple of it.
//
// Usage: QopLiteBench [Google Benchmark flags, e.g. --benchmark_filter=lut]; each benchmark runs
// five times unless --benchmark_repetitions says otherwise, and the summary takes the median.
// Input: the cached photographs (TESSEL_PHOTO_DIR, else .cache/photos of the checkout) scaled to
// each size, or a generated photo-like field when they are absent.
#include "QopBench.h"

#include "ImageIO/ImageIOCodec.h"

#include "QopLite/QopLite.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include <unistd.h>

namespace qop_bench {

const LutTables &lutTables()
{
    static const LutTables tables = [] {
        LutTables t;
        for (int i = 0; i < 256; ++i) {
            const double x = i / 255.0;
            t.r[i] = static_cast<uint8_t>(std::pow(x, 0.8) * 255 + 0.5);
            t.g[i] = static_cast<uint8_t>(255 - i);
            t.b[i] = static_cast<uint8_t>(std::pow(x, 1.25) * 255 + 0.5);
        }
        return t;
    }();
    return tables;
}

namespace {

// ---- QopLite ------------------------------------------------------------------------------

QopBitmap_t bitmapOf(const std::vector<QopColor_t> &pixels, const BenchImages &in)
{
    return QopBitmap_t{const_cast<QopColor_t *>(pixels.data()), static_cast<size_t>(in.width),
                       static_cast<size_t>(in.height), nullptr};
}

void restoreA(const BenchImages &in, BenchOutput &out)
{
    std::memcpy(out.pixels.data(), in.a.data(), in.pixels() * sizeof(QopColor_t));
}

bool qopLut(const BenchImages &in, BenchOutput &out, std::string *)
{
    static const QopHistMap_t map = [] {
        QopHistMap_t m;
        std::memcpy(m.r, lutTables().r, 256);
        std::memcpy(m.g, lutTables().g, 256);
        std::memcpy(m.b, lutTables().b, 256);
        return m;
    }();
    QopBitmap_t bitmap = bitmapOf(out.pixels, in);
    QopBitmapHistogramTransform(&bitmap, &map);
    return true;
}

bool qopMatrix(const BenchImages &in, BenchOutput &out, std::string *)
{
    QopBitmap_t bitmap = bitmapOf(out.pixels, in);
    QopBitmapColorMatrixTransform(&bitmap, kMatrix);
    return true;
}

bool qopHistogram(const BenchImages &in, BenchOutput &out, std::string *)
{
    QopBitmap_t bitmap = bitmapOf(in.a, in);
    QopHistogram_t hist = {};
    QopHistogramBuild(&bitmap, &hist);
    std::memcpy(out.histogram.data(), hist.r, sizeof hist.r);
    std::memcpy(out.histogram.data() + 256, hist.g, sizeof hist.g);
    std::memcpy(out.histogram.data() + 512, hist.b, sizeof hist.b);
    return true;
}

bool qopBlend(const BenchImages &in, BenchOutput &out, std::string *)
{
    QopBitmap_t dst = bitmapOf(out.pixels, in);
    const QopBitmap_t src = bitmapOf(in.b, in);
    QopBitmapBlendBitmap(&dst, &src, QopBlendModeNormal, kBlendAlpha);
    return true;
}

bool qopSeparate(const BenchImages &in, BenchOutput &out, std::string *)
{
    QopBitmap_t dst = bitmapOf(out.pixels, in);
    QopBitmap_t src = bitmapOf(in.b, in);
    QopBitmapBlendBitmapSeparate(&dst, &src, kSeparateA, kSeparateB);
    return true;
}

bool memcpyCopy(const BenchImages &in, BenchOutput &out, std::string *)
{
    std::memcpy(out.pixels.data(), in.a.data(), in.pixels() * sizeof(QopColor_t));
    return true;
}

const std::vector<Implementation> &qopImplementations()
{
    static const std::vector<Implementation> table = {
        // Prepared as the in-place kernels are, so that it starts from the same cache contents.
        {"copy", "memcpy", restoreA, memcpyCopy},
        {"lut", "QopLite", restoreA, qopLut},
        {"matrix", "QopLite", restoreA, qopMatrix},
        {"histogram", "QopLite", nullptr, qopHistogram},
        {"blend", "QopLite", restoreA, qopBlend},
        {"separate", "QopLite", restoreA, qopSeparate},
    };
    return table;
}

// ---- Reference: the plain loops every implementation is checked against (not timed) --------

uint8_t clampTruncate(float v)
{
    return static_cast<uint8_t>(std::clamp(v, 0.0f, 255.0f));
}

void reference(const std::string &kernel, const BenchImages &in, BenchOutput &out)
{
    const LutTables &lut = lutTables();
    const float *m = kMatrix;
    for (size_t i = 0; i < in.pixels(); ++i) {
        const QopColor_t a = in.a[i];
        const QopColor_t b = in.b[i];
        QopColor_t &o = out.pixels[i];
        o = a;
        if (kernel == "lut") {
            o = {lut.r[a.r], lut.g[a.g], lut.b[a.b], a.a};
        } else if (kernel == "matrix") {
            o.r = clampTruncate(m[0] * a.r + m[1] * a.g + m[2] * a.b + m[3] + 0.5f);
            o.g = clampTruncate(m[4] * a.r + m[5] * a.g + m[6] * a.b + m[7] + 0.5f);
            o.b = clampTruncate(m[8] * a.r + m[9] * a.g + m[10] * a.b + m[11] + 0.5f);
        } else if (kernel == "histogram") {
            ++out.histogram[a.r];
            ++out.histogram[256 + a.g];
            ++out.histogram[512 + a.b];
        } else if (kernel == "blend") {
            const float keep = 1 - kBlendAlpha;
            o.r = clampTruncate(keep * a.r + kBlendAlpha * b.r + 0.5f);
            o.g = clampTruncate(keep * a.g + kBlendAlpha * b.g + 0.5f);
            o.b = clampTruncate(keep * a.b + kBlendAlpha * b.b + 0.5f);
        } else if (kernel == "separate") {
            o.r = clampTruncate(a.r * kSeparateA + b.r * kSeparateB);
            o.g = clampTruncate(a.g * kSeparateA + b.g * kSeparateB);
            o.b = clampTruncate(a.b * kSeparateA + b.b * kSeparateB);
        }
    }
}

// ---- Inputs ------------------------------------------------------------------------------

std::string photoDirectory()
{
    if (const char *dir = std::getenv("TESSEL_PHOTO_DIR"))
        return dir;
    return std::string(TESSEL_SOURCE_DIR) + "/.cache/photos";
}

// A cached photo; the bitmap borrows the pixels.
struct Photo {
    std::vector<QopColor_t> pixels;
    QopBitmap_t bitmap{nullptr, 0, 0, nullptr};
};

bool readPhoto(const std::string &path, Photo *photo)
{
    return ImageIODecodeFile(path, [photo](size_t width, size_t height) -> void * {
        photo->pixels.resize(width * height);
        photo->bitmap = {photo->pixels.data(), width, height, nullptr};
        return photo->pixels.data();
    });
}

// Bilinear resampling of a photo to the benchmark size, made opaque.
std::vector<QopColor_t> resample(const QopBitmap_t &photo, int width, int height)
{
    std::vector<QopColor_t> out(static_cast<size_t>(width) * height);
    const double sx = static_cast<double>(photo.width - 1) / std::max(1, width - 1);
    const double sy = static_cast<double>(photo.height - 1) / std::max(1, height - 1);
    for (int y = 0; y < height; ++y) {
        const double fy = y * sy;
        const size_t y0 = static_cast<size_t>(fy);
        const size_t y1 = std::min(y0 + 1, photo.height - 1);
        const double wy = fy - y0;
        for (int x = 0; x < width; ++x) {
            const double fx = x * sx;
            const size_t x0 = static_cast<size_t>(fx);
            const size_t x1 = std::min(x0 + 1, photo.width - 1);
            const double wx = fx - x0;
            const QopColor_t &p00 = photo.data[y0 * photo.width + x0], &p10 = photo.data[y0 * photo.width + x1];
            const QopColor_t &p01 = photo.data[y1 * photo.width + x0], &p11 = photo.data[y1 * photo.width + x1];
            const auto mix = [&](uint8_t QopColor_t::*c) {
                const double v = (p00.*c * (1 - wx) + p10.*c * wx) * (1 - wy) + (p01.*c * (1 - wx) + p11.*c * wx) * wy;
                return static_cast<uint8_t>(v + 0.5);
            };
            out[static_cast<size_t>(y) * width + x] = {mix(&QopColor_t::r), mix(&QopColor_t::g), mix(&QopColor_t::b), 255};
        }
    }
    return out;
}

// Smooth gradients, a few hard edges and some grain, for machines without the photo cache.
std::vector<QopColor_t> generated(int width, int height, uint32_t seed)
{
    std::vector<QopColor_t> out(static_cast<size_t>(width) * height);
    uint32_t state = seed;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state = state * 69069u + 1u;
            const int grain = static_cast<int>(state >> 29) - 4;
            const double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
            const bool edge = (x / (width / 5 + 1) + y / (height / 3 + 1)) % 2 == 0;
            const auto level = [&](double f) { return static_cast<uint8_t>(std::clamp(f * 255 + grain, 0.0, 255.0)); };
            out[static_cast<size_t>(y) * width + x] = {level(0.2 + 0.6 * u * (edge ? 1 : 0.5)),
                                                       level(0.5 + 0.4 * std::sin(6.0 * v + 3 * u)),
                                                       level(edge ? 0.3 + 0.5 * v : 0.8 - 0.6 * u), 255};
        }
    }
    return out;
}

BenchImages makeImages(int width, int height, std::string *source)
{
    BenchImages in;
    in.width = width;
    in.height = height;
    Photo photoA, photoB;
    const std::string dir = photoDirectory();
    if (readPhoto(dir + "/astronaut.png", &photoA) && readPhoto(dir + "/coffee.png", &photoB)) {
        in.a = resample(photoA.bitmap, width, height);
        in.b = resample(photoB.bitmap, width, height);
        *source = "astronaut.png and coffee.png from " + dir + ", scaled";
    } else {
        in.a = generated(width, height, 1);
        in.b = generated(width, height, 2);
        *source = "generated photo-like fields (no photos in " + dir + ")";
    }
    return in;
}

BenchOutput makeOutput(const BenchImages &in)
{
    BenchOutput out;
    out.pixels.resize(in.pixels());
    return out;
}

// ---- Same-work check ----------------------------------------------------------------------

// Runs every implementation once and compares it with the reference; returns false when one
// disagrees by more than a level (or, for histograms, at all).
bool checkSameWork(const std::vector<const Implementation *> &implementations, const BenchImages &in)
{
    bool allAgree = true;
    std::printf("Same-work check at %dx%d (largest difference from the reference loop, r g b):\n", in.width,
                in.height);
    for (const Implementation *impl : implementations) {
        BenchOutput expected = makeOutput(in);
        reference(impl->kernel, in, expected);
        BenchOutput actual = makeOutput(in);
        if (impl->prepare)
            impl->prepare(in, actual);
        std::string error;
        if (!impl->run(in, actual, &error)) {
            std::printf("  %-10s %-8s FAILED: %s\n", impl->kernel, impl->library, error.c_str());
            allAgree = false;
            continue;
        }
        int worst = 0;
        size_t differing = 0;
        if (std::string(impl->kernel) == "histogram") {
            for (size_t i = 0; i < expected.histogram.size(); ++i) {
                const int64_t d = std::llabs(int64_t(expected.histogram[i]) - int64_t(actual.histogram[i]));
                worst = static_cast<int>(std::max<int64_t>(worst, d));
                differing += d != 0;
            }
        } else {
            for (size_t i = 0; i < in.pixels(); ++i) {
                const QopColor_t &e = expected.pixels[i], &a = actual.pixels[i];
                for (int d : {std::abs(e.r - a.r), std::abs(e.g - a.g), std::abs(e.b - a.b)}) {
                    worst = std::max(worst, d);
                    differing += d != 0;
                }
            }
        }
        const bool histogram = std::string(impl->kernel) == "histogram";
        const bool agrees = histogram ? worst == 0 : worst <= 1;
        allAgree = allAgree && agrees;
        std::printf("  %-10s %-8s max %d, %zu %s differ%s\n", impl->kernel, impl->library, worst, differing,
                    histogram ? "bins" : "channels", agrees ? "" : "  <-- NOT THE SAME WORK");
    }
    return allAgree;
}

// ---- Benchmarks and the summary -----------------------------------------------------------

void runBenchmark(benchmark::State &state, const Implementation *impl, const BenchImages *in)
{
    BenchOutput out = makeOutput(*in);
    std::string error;
    for (auto _ : state) {
        if (impl->prepare) {
            state.PauseTiming();
            impl->prepare(*in, out);
            state.ResumeTiming();
        }
        if (!impl->run(*in, out, &error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::ClobberMemory();
    }
    const double pixels = static_cast<double>(in->pixels()) * static_cast<double>(state.iterations());
    state.SetItemsProcessed(static_cast<int64_t>(pixels));
    state.counters["MP/s"] = benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsRate);
}

// Console output as usual, and each repetition's megapixels per second (wall clock) kept for the
// summary, which shows their median.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    SummaryReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    struct Figure {
        double megapixelsPerSecond = 0; // the median
        double cpuOverReal = 0;         // of the median run
        size_t runs = 0;
    };

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            // With --benchmark_report_aggregates_only only the median aggregate arrives.
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.error_occurred || (run.run_type != Run::RT_Iteration && !median))
                continue;
            auto found = pixelsPerRun_.find(run.run_name.function_name);
            const double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (found == pixelsPerRun_.end() || seconds <= 0)
                continue;
            samples_[run.run_name.function_name].push_back(
                {found->second / seconds / 1e6, run.cpu_accumulated_time / run.real_accumulated_time});
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void expect(const std::string &name, double pixels) { pixelsPerRun_[name] = pixels; }
    const Figure *figure(const std::string &name)
    {
        auto found = samples_.find(name);
        if (found == samples_.end())
            return nullptr;
        std::vector<std::pair<double, double>> runs = found->second;
        std::sort(runs.begin(), runs.end());
        // The lower middle of an even count: the slower of the two.
        Figure &figure = figures_[name];
        figure = {runs[(runs.size() - 1) / 2].first, runs[(runs.size() - 1) / 2].second, runs.size()};
        return &figure;
    }

private:
    std::map<std::string, double> pixelsPerRun_;
    std::map<std::string, std::vector<std::pair<double, double>>> samples_; // rate, CPU over real
    std::map<std::string, Figure> figures_;
};

std::string benchmarkName(const Implementation &impl, const BenchImages &in)
{
    return std::string(impl.kernel) + "/" + impl.library + "/" + std::to_string(in.width) + "x" +
           std::to_string(in.height);
}

void printSummary(SummaryReporter &reporter, const std::vector<const Implementation *> &implementations,
                  const std::vector<BenchImages> &inputs, const std::vector<std::string> &others)
{
    std::printf("\nMegapixels per second (wall clock, one thread, median of each benchmark's runs; ratio = QopLite / "
                "other, above 1 = QopLite faster)\n");
    std::printf("%-10s %-10s %10s", "kernel", "size", "QopLite");
    for (const std::string &other : others)
        std::printf(" %10s", other.c_str());
    for (const std::string &other : others)
        std::printf(" %12s", ("/" + other).c_str());
    std::printf("\n");
    std::vector<std::string> busy;
    for (const std::string &kernel : kernelNames()) {
        for (const BenchImages &in : inputs) {
            const auto figureOf = [&](const std::string &library) -> const SummaryReporter::Figure * {
                for (const Implementation *impl : implementations)
                    if (kernel == impl->kernel && library == impl->library)
                        return reporter.figure(benchmarkName(*impl, in));
                return nullptr;
            };
            const SummaryReporter::Figure *ours = figureOf("QopLite");
            bool any = ours != nullptr;
            for (const std::string &other : others)
                any = any || figureOf(other);
            if (!any)
                continue; // filtered out
            const std::string size = std::to_string(in.width) + "x" + std::to_string(in.height);
            std::printf("%-10s %-10s", kernel.c_str(), size.c_str());
            if (ours)
                std::printf(" %10.1f", ours->megapixelsPerSecond);
            else
                std::printf(" %10s", "-");
            for (const std::string &other : others) {
                const SummaryReporter::Figure *f = figureOf(other);
                if (f)
                    std::printf(" %10.1f", f->megapixelsPerSecond);
                else
                    std::printf(" %10s", "-");
            }
            for (const std::string &other : others) {
                const SummaryReporter::Figure *f = figureOf(other);
                if (ours && f)
                    std::printf(" %11.2fx", ours->megapixelsPerSecond / f->megapixelsPerSecond);
                else
                    std::printf(" %12s", "-");
            }
            std::printf("\n");
            for (const char *library : {"QopLite", "libvips", "OpenCV", "GPU"}) {
                const SummaryReporter::Figure *f = figureOf(library);
                if (f && f->cpuOverReal > 1.15) {
                    char note[160];
                    std::snprintf(note, sizeof note, "%s %s %s used %.2f CPU seconds per second", kernel.c_str(),
                                  size.c_str(), library, f->cpuOverReal);
                    busy.push_back(note);
                }
            }
        }
    }
    for (const std::string &note : busy)
        std::printf("note: %s (more than one thread at work)\n", note.c_str());
}

// Each per-pixel kernel's time as a multiple of copying the image (memcpy: one read, one write).
void printFloor(SummaryReporter &reporter, const std::vector<const Implementation *> &implementations,
                const std::vector<BenchImages> &inputs)
{
    const auto figureOf = [&](const char *kernel, const char *library,
                              const BenchImages &in) -> const SummaryReporter::Figure * {
        for (const Implementation *impl : implementations)
            if (std::string(kernel) == impl->kernel && std::string(library) == impl->library)
                return reporter.figure(benchmarkName(*impl, in));
        return nullptr;
    };
    bool header = false;
    for (const BenchImages &in : inputs) {
        const SummaryReporter::Figure *copy = figureOf("copy", "memcpy", in);
        if (!copy)
            continue;
        if (!header) {
            std::printf("\nThe floor: memcpy of the image (one read and one write), and each per-pixel kernel's time "
                        "as a multiple of it (stretch target 1.50x)\n");
            std::printf("%-10s %-10s %10s %10s %10s\n", "kernel", "size", "MP/s", "QopLite", "OpenCV");
            header = true;
        }
        const std::string size = std::to_string(in.width) + "x" + std::to_string(in.height);
        std::printf("%-10s %-10s %10.1f %11s\n", "memcpy", size.c_str(), copy->megapixelsPerSecond, "1.00x");
        for (const char *kernel : {"lut", "matrix", "blend", "separate"}) {
            const SummaryReporter::Figure *ours = figureOf(kernel, "QopLite", in);
            const SummaryReporter::Figure *theirs = figureOf(kernel, "OpenCV", in);
            if (!ours && !theirs)
                continue;
            std::printf("%-10s %-10s %10.1f", kernel, size.c_str(), ours ? ours->megapixelsPerSecond : 0.0);
            for (const SummaryReporter::Figure *f : {ours, theirs}) {
                if (f)
                    std::printf(" %9.2fx", copy->megapixelsPerSecond / f->megapixelsPerSecond);
                else
                    std::printf(" %10s", "-");
            }
            std::printf("\n");
        }
    }
}

} // namespace

} // namespace qop_bench

int main(int argc, char **argv)
{
#ifdef TESSEL_BENCH_MISSING_PEERS
    std::printf("%s\n", TESSEL_BENCH_MISSING_PEERS);
    std::fflush(stdout);
#endif
    using namespace qop_bench;
    std::vector<const Implementation *> implementations;
    std::vector<std::string> others;
    for (const Implementation &impl : qopImplementations())
        implementations.push_back(&impl);
#ifdef QOP_BENCH_HAVE_VIPS
    {
        std::string error;
        if (vipsInit(argv[0], &error)) {
            for (const Implementation &impl : vipsImplementations())
                implementations.push_back(&impl);
            others.push_back("libvips");
        } else {
            std::fprintf(stderr, "QopLiteBench: libvips did not start (%s); left out\n", error.c_str());
        }
    }
#endif
#ifdef QOP_BENCH_HAVE_OPENCV
    {
        std::string error;
        if (openCvInit(&error)) {
            for (const Implementation &impl : openCvImplementations())
                implementations.push_back(&impl);
            others.push_back("OpenCV");
        } else {
            std::fprintf(stderr, "QopLiteBench: OpenCV did not start (%s); left out\n", error.c_str());
        }
    }
#endif
#ifdef QOP_BENCH_HAVE_GPU
    bool haveGpu = false;
    {
        std::string error;
        haveGpu = gpuInit(&error);
        if (haveGpu) {
            for (const Implementation &impl : gpuImplementations())
                implementations.push_back(&impl);
            others.push_back("GPU");
        } else {
            std::fprintf(stderr, "QopLiteBench: no GL context (%s); the GPU passes are left out\n", error.c_str());
        }
    }
#endif

    // Five runs of each unless the command line says otherwise: the summary shows their median.
    std::vector<char *> arguments(argv, argv + argc);
    bool repetitionsGiven = false;
    for (char *argument : arguments)
        repetitionsGiven = repetitionsGiven || std::strncmp(argument, "--benchmark_repetitions", 23) == 0;
    char fiveRuns[] = "--benchmark_repetitions=5";
    if (!repetitionsGiven)
        arguments.insert(arguments.begin() + 1, fiveRuns);
    int argumentCount = static_cast<int>(arguments.size());
    benchmark::Initialize(&argumentCount, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(argumentCount, arguments.data()))
        return 1;
    std::printf("Machine: %s\n", machineDescription().c_str());

    std::vector<BenchImages> inputs;
    std::string source;
    inputs.push_back(makeImages(1024, 768, &source));
    inputs.push_back(makeImages(4000, 3000, &source));
    std::printf("Input: %s\n", source.c_str());
    const bool sameWork = checkSameWork(implementations, inputs.front());

    SummaryReporter reporter;
    for (const std::string &kernel : kernelNames()) {
        for (const BenchImages &in : inputs) {
            for (const Implementation *impl : implementations) {
                if (kernel != impl->kernel)
                    continue;
                const std::string name = benchmarkName(*impl, in);
                reporter.expect(name, static_cast<double>(in.pixels()));
                benchmark::RegisterBenchmark(name.c_str(), runBenchmark, impl, &in)
                    ->UseRealTime()
                    ->MeasureProcessCPUTime()
                    ->Unit(benchmark::kMillisecond);
            }
        }
    }
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printSummary(reporter, implementations, inputs, others);
    printFloor(reporter, implementations, inputs);
#ifdef QOP_BENCH_HAVE_GPU
    if (haveGpu) {
        gpuPrintStages();
        gpuShutdown();
    }
#endif
    benchmark::Shutdown();
#ifdef QOP_BENCH_HAVE_VIPS
    vipsShutdown();
#endif
    return sameWork ? 0 : 1;
}
