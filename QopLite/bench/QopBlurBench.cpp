// QopBlurBench: the QopLite blur (the box-hybrid Gaussian, one thread) on a 4000 x 3000 RGBA photo
// at amounts 5, 30 and 100, side by side with libvips gaussblur, OpenCV GaussianBlur and
// boxFilter, and Pillow's GaussianBlur (run through python3 when Pillow is installed), each on one
// thread, on the same in-memory RGBA input. Beside the speed, the output quality: PSNR against a
// float Gaussian of the same sigma (sigma = (width + height) x amount / 40000), measured on a
// central 1024 x 1024 region so the libraries' different border rules play no part. QopLite's
// rows and columns passes are also timed alone.
//
// Quality decides what the blur is compared with: besides OpenCV's GaussianBlur with its own
// kernel size (3 sigma each side), the same GaussianBlur with the smallest kernel size whose PSNR
// is at least QopLite's ("at QopLite's PSNR"): the cheapest OpenCV Gaussian that is as good.
//
// Usage: QopBlurBench [Google Benchmark flags]; the summary (median of each benchmark's runs, with
// their number) follows the benchmark table, with the machine. Build it in a Release tree: a Debug
// build times the debug code.
#include "QopBench.h"

#include "QopLite/QopConvolution.h"

#include <benchmark/benchmark.h>

#ifdef QOP_BENCH_HAVE_VIPS
#include <vips/vips.h>
#endif
#ifdef QOP_BENCH_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int kRegion = 1024; // the PSNR region, centred
const float kAmounts[] = {5.0f, 30.0f, 100.0f};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<QopColor_t> pixels;
};

double sigmaFor(float amount) { return static_cast<double>(kWidth + kHeight) * amount / 40000.0; }

// A photo-like field: smooth gradients, hard edges at several angles, a little seeded grain.
const Image &input()
{
    static const Image image = [] {
        Image im{kWidth, kHeight, std::vector<QopColor_t>(static_cast<size_t>(kWidth) * kHeight)};
        uint32_t state = 12345;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                state = state * 1664525u + 1013904223u;
                const int grain = static_cast<int>(state >> 28) - 8;
                double r = 128 + 90 * std::sin(x * 0.004) * std::cos(y * 0.003);
                double g = 100 + 80 * std::cos((x + y) * 0.002);
                double b = 60 + 0.04 * x;
                if ((x / 250 + y / 180) % 2 == 0)
                    r = 255 - r;
                if (x + 2 * y > 5200)
                    g = 230 - 0.3 * g;
                if ((x - 2000) * (x - 2000) + (y - 1500) * (y - 1500) < 400 * 400)
                    b = 240;
                auto clampByte = [](double v) { return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0)); };
                im.pixels[static_cast<size_t>(y) * kWidth + x] = {clampByte(r + grain), clampByte(g + grain),
                                                                   clampByte(b + grain), 255};
            }
        return im;
    }();
    return image;
}

// The float Gaussian of the region (r, g, b interleaved), edges repeated, radius 4 sigma.
std::vector<float> reference(double sigma)
{
    const Image &in = input();
    const int radius = static_cast<int>(std::ceil(4 * sigma));
    std::vector<double> weights(2 * radius + 1);
    double total = 0.0;
    for (int k = -radius; k <= radius; ++k)
        total += weights[k + radius] = std::exp(-(k * k) / (2 * sigma * sigma));
    for (double &w : weights)
        w /= total;
    const int x0 = (kWidth - kRegion) / 2, y0 = (kHeight - kRegion) / 2;
    const int rows = kRegion + 2 * radius;
    std::vector<double> horizontal(static_cast<size_t>(rows) * kRegion * 3);
    for (int j = 0; j < rows; ++j) {
        const int y = std::clamp(y0 - radius + j, 0, kHeight - 1);
        for (int i = 0; i < kRegion; ++i)
            for (int c = 0; c < 3; ++c) {
                double sum = 0.0;
                for (int k = -radius; k <= radius; ++k) {
                    const int x = std::clamp(x0 + i + k, 0, kWidth - 1);
                    const QopColor_t &p = in.pixels[static_cast<size_t>(y) * kWidth + x];
                    sum += weights[k + radius] * (c == 0 ? p.r : (c == 1 ? p.g : p.b));
                }
                horizontal[(static_cast<size_t>(j) * kRegion + i) * 3 + c] = sum;
            }
    }
    std::vector<float> out(static_cast<size_t>(kRegion) * kRegion * 3);
    for (int j = 0; j < kRegion; ++j)
        for (int i = 0; i < kRegion * 3; ++i) {
            double sum = 0.0;
            for (int k = -radius; k <= radius; ++k)
                sum += weights[k + radius] * horizontal[static_cast<size_t>(j + k + radius) * kRegion * 3 + i];
            out[static_cast<size_t>(j) * kRegion * 3 + i] = static_cast<float>(sum);
        }
    return out;
}

double psnr(const std::vector<QopColor_t> &pixels, const std::vector<float> &ref)
{
    const int x0 = (kWidth - kRegion) / 2, y0 = (kHeight - kRegion) / 2;
    double squared = 0.0;
    for (int j = 0; j < kRegion; ++j)
        for (int i = 0; i < kRegion; ++i) {
            const QopColor_t &p = pixels[static_cast<size_t>(y0 + j) * kWidth + x0 + i];
            const float *r = &ref[(static_cast<size_t>(j) * kRegion + i) * 3];
            const double d[3] = {p.r - r[0], p.g - r[1], p.b - r[2]};
            squared += d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
        }
    const double mse = squared / (3.0 * kRegion * kRegion);
    return mse == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

// One library's blur of the input into out (same size, RGBA); false with a reason on error.
using BlurFunction = bool (*)(const Image &in, std::vector<QopColor_t> &out, float amount, std::string *error);

bool qopBlur(const Image &, std::vector<QopColor_t> &out, float amount, std::string *)
{
    QopBitmap_t bitmap{out.data(), kWidth, kHeight, nullptr};
    QopConvolutionEffectBoxHybridSharpen(&bitmap, -amount);
    return true;
}

// Each pass alone, to show what rows and columns cost (not a Gaussian: no quality figure).
bool qopRows(const Image &, std::vector<QopColor_t> &out, float amount, std::string *)
{
    QopBitmap_t bitmap{out.data(), kWidth, kHeight, nullptr};
    QopBoxHybridSharpenX(&bitmap, -amount);
    return true;
}

bool qopColumns(const Image &, std::vector<QopColor_t> &out, float amount, std::string *)
{
    QopBitmap_t bitmap{out.data(), kWidth, kHeight, nullptr};
    QopBoxHybridSharpenY(&bitmap, -amount);
    return true;
}

#ifdef QOP_BENCH_HAVE_VIPS
bool vipsBlur(const Image &in, std::vector<QopColor_t> &out, float amount, std::string *error)
{
    VipsImage *image = vips_image_new_from_memory(in.pixels.data(), in.pixels.size() * 4, kWidth, kHeight, 4,
                                                  VIPS_FORMAT_UCHAR);
    VipsImage *blurred = nullptr;
    bool ok = image && vips_gaussblur(image, &blurred, sigmaFor(amount), nullptr) == 0;
    size_t size = 0;
    void *memory = ok ? vips_image_write_to_memory(blurred, &size) : nullptr;
    ok = memory && size == out.size() * 4;
    if (ok)
        std::memcpy(out.data(), memory, size);
    else
        *error = vips_error_buffer();
    g_free(memory);
    if (blurred)
        g_object_unref(blurred);
    if (image)
        g_object_unref(image);
    return ok;
}
#endif

#ifdef QOP_BENCH_HAVE_OPENCV
bool openCvGaussian(const Image &in, std::vector<QopColor_t> &out, float amount, std::string *)
{
    const cv::Mat src(kHeight, kWidth, CV_8UC4, const_cast<QopColor_t *>(in.pixels.data()));
    cv::Mat dst(kHeight, kWidth, CV_8UC4, out.data());
    const double sigma = sigmaFor(amount);
    cv::GaussianBlur(src, dst, cv::Size(0, 0), sigma, sigma, cv::BORDER_REPLICATE);
    return true;
}

// The kernel size (odd) of GaussianBlur at QopLite's PSNR, per amount; set before the timing.
std::map<float, int> matchedKernelSizes;

bool openCvGaussianSized(const Image &in, std::vector<QopColor_t> &out, float amount, int size)
{
    const cv::Mat src(kHeight, kWidth, CV_8UC4, const_cast<QopColor_t *>(in.pixels.data()));
    cv::Mat dst(kHeight, kWidth, CV_8UC4, out.data());
    const double sigma = sigmaFor(amount);
    cv::GaussianBlur(src, dst, cv::Size(size, size), sigma, sigma, cv::BORDER_REPLICATE);
    return true;
}

bool openCvGaussianMatched(const Image &in, std::vector<QopColor_t> &out, float amount, std::string *error)
{
    const auto found = matchedKernelSizes.find(amount);
    if (found == matchedKernelSizes.end()) {
        *error = "no kernel size matched";
        return false;
    }
    return openCvGaussianSized(in, out, amount, found->second);
}

// OpenCV's own kernel size for 8-bit images: 3 sigma each side, odd.
int openCvDefaultKernelSize(float amount) { return static_cast<int>(std::lround(sigmaFor(amount) * 6 + 1)) | 1; }

// One box of the width whose variance matches the Gaussian's: the cheapest blur of that size.
bool openCvBox(const Image &in, std::vector<QopColor_t> &out, float amount, std::string *)
{
    const cv::Mat src(kHeight, kWidth, CV_8UC4, const_cast<QopColor_t *>(in.pixels.data()));
    cv::Mat dst(kHeight, kWidth, CV_8UC4, out.data());
    const double sigma = sigmaFor(amount);
    const int width = std::max(1, static_cast<int>(std::lround(std::sqrt(12.0 * sigma * sigma + 1.0))) | 1);
    cv::boxFilter(src, dst, -1, cv::Size(width, width), cv::Point(-1, -1), true, cv::BORDER_REPLICATE);
    return true;
}
#endif

struct Entry {
    const char *library;
    BlurFunction blur;
    bool inPlace;        // works on a copy of the input (restored untimed before every run)
    bool quality = true; // a whole blur, whose PSNR means something
};

const std::vector<Entry> &entries()
{
    static const std::vector<Entry> list = {
        {"QopLite box-hybrid", qopBlur, true},
        {"QopLite rows pass", qopRows, true, false},
        {"QopLite columns pass", qopColumns, true, false},
#ifdef QOP_BENCH_HAVE_VIPS
        {"libvips gaussblur", vipsBlur, false},
#endif
#ifdef QOP_BENCH_HAVE_OPENCV
        {"OpenCV GaussianBlur", openCvGaussian, false},
        {"OpenCV Gaussian at our PSNR", openCvGaussianMatched, false},
        {"OpenCV boxFilter", openCvBox, false},
#endif
    };
    return list;
}

struct Result {
    std::vector<double> seconds;
    std::string error;
    double median() const
    {
        std::vector<double> sorted = seconds;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0.0 : sorted[(sorted.size() - 1) / 2];
    }
};
std::map<std::pair<std::string, float>, Result> results;

void runBlur(benchmark::State &state, const Entry &entry, float amount)
{
    const Image &in = input();
    std::vector<QopColor_t> out(in.pixels.size());
    Result &result = results[{entry.library, amount}];
    for (auto _ : state) {
        state.PauseTiming();
        if (entry.inPlace)
            out = in.pixels;
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        if (!entry.blur(in, out, amount, &result.error)) {
            state.SkipWithError(result.error.c_str());
            return;
        }
        result.seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["MP/s"] = benchmark::Counter(static_cast<double>(in.pixels.size()) / 1e6,
                                                benchmark::Counter::kIsIterationInvariantRate);
}

bool runPillow(const char *python, float amount, const std::string &inPath, const std::string &outPath,
               double *seconds);

// Pillow's GaussianBlur through python3 on the same bytes (written to a scratch file); the timing
// is taken inside python around the filter call alone. False when python3 or Pillow is missing.
bool pillowBlur(float amount, double *seconds, std::vector<QopColor_t> &out)
{
    char dir[] = "/tmp/qopblurXXXXXX";
    if (!mkdtemp(dir))
        return false;
    const std::string inPath = std::string(dir) + "/in.rgba", outPath = std::string(dir) + "/out.rgba";
    FILE *f = std::fopen(inPath.c_str(), "wb");
    if (!f)
        return false;
    std::fwrite(input().pixels.data(), 4, input().pixels.size(), f);
    std::fclose(f);
    // The first python3 on the path may be a private installation without Pillow; the system's
    // is tried next.
    bool ok = false;
    for (const char *python : {"python3", "/usr/bin/python3"}) {
        if (!ok)
            ok = runPillow(python, amount, inPath, outPath, seconds);
    }
    if (ok) {
        FILE *o = std::fopen(outPath.c_str(), "rb");
        ok = o && std::fread(out.data(), 4, out.size(), o) == out.size();
        if (o)
            std::fclose(o);
    }
    std::remove(inPath.c_str());
    std::remove(outPath.c_str());
    rmdir(dir);
    return ok;
}

bool runPillow(const char *python, float amount, const std::string &inPath, const std::string &outPath, double *seconds)
{
    char command[1024];
    std::snprintf(command, sizeof command,
                  "%s -c \"import sys,time\nfrom PIL import Image, ImageFilter\n"
                  "im = Image.frombytes('RGBA', (%d, %d), open('%s', 'rb').read())\nbest = 1e30\n"
                  "for _ in range(3):\n    t = time.perf_counter(); o = im.filter(ImageFilter.GaussianBlur(%.6f)); "
                  "best = min(best, time.perf_counter() - t)\nopen('%s', 'wb').write(o.tobytes())\nprint(best)\" "
                  "2>/dev/null",
                  python, kWidth, kHeight, inPath.c_str(), sigmaFor(amount), outPath.c_str());
    FILE *p = popen(command, "r");
    bool ok = false;
    if (p) {
        ok = std::fscanf(p, "%lf", seconds) == 1;
        ok = pclose(p) == 0 && ok;
    }
    return ok;
}

// The float reference of each amount and QopLite's PSNR against it, made once.
struct Quality {
    std::vector<float> reference;
    double ours = 0.0;
};

const Quality &qualityAt(float amount)
{
    static std::map<float, Quality> qualities;
    auto found = qualities.find(amount);
    if (found != qualities.end())
        return found->second;
    Quality &q = qualities[amount];
    q.reference = reference(sigmaFor(amount));
    std::vector<QopColor_t> out = input().pixels;
    std::string error;
    qopBlur(input(), out, amount, &error);
    q.ours = psnr(out, q.reference);
    return q;
}

#ifdef QOP_BENCH_HAVE_OPENCV
// The smallest odd kernel size from 3 up to OpenCV's own whose PSNR reaches QopLite's (OpenCV's
// own when none does).
void matchKernelSizes()
{
    for (float amount : kAmounts) {
        const Quality &q = qualityAt(amount);
        std::vector<QopColor_t> out(input().pixels.size());
        const int largest = openCvDefaultKernelSize(amount);
        int size = 3;
        for (; size < largest; size += 2) {
            openCvGaussianSized(input(), out, amount, size);
            if (psnr(out, q.reference) >= q.ours)
                break;
        }
        matchedKernelSizes[amount] = size;
    }
}
#endif

void printSummary()
{
    std::printf("\nMachine: %s\n", qop_bench::machineDescription().c_str());
    std::printf("Blur of a %d x %d RGBA image, one thread each, median of each benchmark's runs; PSNR against a "
                "float Gaussian of the same sigma on the central %d x %d region.\n",
                kWidth, kHeight, kRegion, kRegion);
    std::printf("%-32s %7s %7s %10s %9s %8s %10s %6s\n", "library", "amount", "sigma", "ms", "MP/s", "PSNR dB",
                "vs QopLite", "runs");
    const Image &in = input();
    for (float amount : kAmounts) {
        const Quality &q = qualityAt(amount);
        std::vector<QopColor_t> out(in.pixels.size());
        const double ours =
            results.count({"QopLite box-hybrid", amount}) ? results[{"QopLite box-hybrid", amount}].median() : 0;
        auto line = [&](const std::string &library, double seconds, double quality, size_t runs) {
            char psnrText[16] = "-";
            if (quality >= 0.0)
                std::snprintf(psnrText, sizeof psnrText, "%.2f", quality);
            std::printf("%-32s %7.0f %7.2f %10.1f %9.1f %8s %9.2fx %6zu\n", library.c_str(), amount, sigmaFor(amount),
                        seconds * 1e3, static_cast<double>(in.pixels.size()) / 1e6 / seconds, psnrText,
                        ours > 0 ? seconds / ours : 0.0, runs);
        };
        for (const Entry &entry : entries()) {
            auto it = results.find({entry.library, amount});
            if (it == results.end() || it->second.seconds.empty())
                continue;
            out = in.pixels;
            std::string error;
            entry.blur(in, out, amount, &error);
            std::string name = entry.library;
#ifdef QOP_BENCH_HAVE_OPENCV
            if (entry.blur == openCvGaussianMatched)
                name = "OpenCV Gaussian k=" + std::to_string(matchedKernelSizes[amount]) + " (our PSNR)";
            else if (entry.blur == openCvGaussian)
                name = "OpenCV Gaussian k=" + std::to_string(openCvDefaultKernelSize(amount));
#endif
            line(name, it->second.median(), entry.quality ? psnr(out, q.reference) : -1.0, it->second.seconds.size());
        }
        double seconds = 0.0;
        if (pillowBlur(amount, &seconds, out))
            line("Pillow GaussianBlur", seconds, psnr(out, q.reference), 3);
        else
            std::printf("%-32s %7.0f   (python3 with Pillow not available)\n", "Pillow GaussianBlur", amount);
    }
    std::printf("(vs QopLite: time relative to QopLite at the same amount; above 1 is slower than QopLite. Pillow: "
                "the best of 3 runs, timed inside python)\n");
}

} // namespace

int main(int argc, char **argv)
{
#ifdef TESSEL_BENCH_MISSING_PEERS
    std::printf("%s\n", TESSEL_BENCH_MISSING_PEERS);
    std::fflush(stdout);
#endif
#ifdef QOP_BENCH_HAVE_VIPS
    if (VIPS_INIT(argv[0]) != 0) {
        std::fprintf(stderr, "libvips failed to start\n");
        return 1;
    }
    vips_concurrency_set(1);
    vips_cache_set_max(0);
#endif
#ifdef QOP_BENCH_HAVE_OPENCV
    cv::setNumThreads(1);
#endif
    input();
#ifdef QOP_BENCH_HAVE_OPENCV
    matchKernelSizes();
#endif
    for (const Entry &entry : entries())
        for (float amount : kAmounts)
            benchmark::RegisterBenchmark((std::string("blur/") + entry.library + "/" + std::to_string(int(amount))).c_str(),
                                         [&entry, amount](benchmark::State &state) { runBlur(state, entry, amount); })
                ->Unit(benchmark::kMillisecond)
                ->MinTime(1.0)
                ->MinWarmUpTime(0.1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    printSummary();
    benchmark::Shutdown();
#ifdef QOP_BENCH_HAVE_VIPS
    vips_shutdown();
#endif
    return 0;
}
