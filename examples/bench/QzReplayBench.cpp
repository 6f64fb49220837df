// QzReplayBench: one fixed six-step session replayed through qz_replay's step table on a 12 MP photo
// (4000 x 3000), on the CPU path and on the GPU path, beside the same steps done with libvips and
// with OpenCV on one thread where each is present. Five runs of each; the medians per step and in
// total, the ratio of ours to the faster peer, and the machine. Not a test: nothing here passes or
// fails on time.
//
//   QzReplayBench [--runs N]
#include "QZReplaySteps.h"
#include "QzReplayBenchPeers.h"

#include "TesselSDKImaging/QZBitmapImageServer.h"
#include "TesselSDKImaging/QZOpenGLInstance.h"
#include "TesselSDKImaging/QZOpenGLManager.h"

#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/PlatformSettings.h"
#include "ImageIO/ImageIOCodec.h"
#include "QopLite/QopTools.h"

#include <GLES2/gl2.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kWidth = 4000, kHeight = 3000;
constexpr double kTimeout = 600;
const std::vector<std::string> kSteps = {"crop=0.05,0.05,0.9,0.9", "straighten=3", "brightness=20", "contrast=15",
                                         "saturation=10",          "sharpness=40"};

using Clock = std::chrono::steady_clock;
double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The cached photo stretched (nearest neighbour) to 4000 x 3000, or a generated field.
qz_bench::RGBAImage photo(std::string* source)
{
    qz_bench::RGBAImage out{kWidth, kHeight, std::vector<std::uint8_t>(std::size_t(kWidth) * kHeight * 4)};
    const char* dir = std::getenv("TESSEL_PHOTO_DIR");
    const std::string path =
        (dir && *dir ? std::string(dir) : std::string(TESSEL_SOURCE_DIR) + "/.cache/photos") + "/chelsea.png";
    std::vector<std::uint8_t> image;
    std::size_t width = 0, height = 0;
    const bool read = ImageIODecodeFile(path, [&](std::size_t w, std::size_t h) -> void* {
        image.resize(w * h * 4);
        width = w;
        height = h;
        return image.data();
    });
    for (std::size_t y = 0; y < std::size_t(kHeight); ++y)
        for (std::size_t x = 0; x < std::size_t(kWidth); ++x) {
            std::uint8_t* pixel = &out.pixels[(y * kWidth + x) * 4];
            if (read) {
                std::memcpy(pixel, &image[((y * height / kHeight) * width + x * width / kWidth) * 4], 4);
                pixel[3] = 255;
            } else {
                pixel[0] = std::uint8_t(x * 255 / kWidth);
                pixel[1] = std::uint8_t(y * 255 / kHeight);
                pixel[2] = std::uint8_t(128 + (x + y) % 64);
                pixel[3] = 255;
            }
        }
    *source = read ? path + " stretched to 4000 x 3000" : "a generated 4000 x 3000 field (no photo at " + path + ")";
    return out;
}

// Pumps the main queue until a block queued on the server now has run; on a GPU server the block
// also waits for the GL commands before it, so a step's time includes its GPU work.
void waitForServer(const std::shared_ptr<QZBitmapImageServer>& server, bool gpu)
{
    auto done = std::make_shared<std::atomic<bool>>(false);
    server->runBlock([done, gpu] {
        if (gpu) glFinish();
        done->store(true);
    });
    if (!DispatchRunLoop::runUntil([&] { return done->load(); }, kTimeout)) {
        std::fprintf(stderr, "QzReplayBench: the image server did not finish\n");
        std::_Exit(1);
    }
}

// One replay of the session as qz_replay does it; milliseconds per step, and on the CPU path the part
// of each that the commit took (the buffer made into the next input image). As in qz_replay the server
// gets the only reference to its input (a copy made before the clock starts), so its first commit can
// reuse the input's storage. False when the GPU path cannot run here.
bool replayOnce(const std::vector<qz_replay::Step>& steps, const qz_bench::RGBAImage& input, bool gpu,
                std::vector<double>* ms, std::vector<double>* commitMs, std::string* error)
{
    CGImageRef image = CGImageCreateWithRGBABytes(std::size_t(input.width), std::size_t(input.height),
                                                  std::size_t(input.width) * 4, input.pixels.data());
    struct Releaser {
        CGImageRef image;
        ~Releaser() { CGImageRelease(image); }
    } releaser{image};
    ms->clear();
    commitMs->clear();
    std::shared_ptr<QZOpenGLInstance> instance;
    std::shared_ptr<QZBitmapImageServer> server;
    if (gpu) {
        if (QZOpenGLManager::sharedOpenGLManager()->setupFailed()) {
            *error = "no GL context";
            return false;
        }
        instance =
            QZOpenGLInstance::make(CGSizeMake(kWidth, kHeight), QopGLRenderingModeOverwriteOriginal, QZQueueTypeHires);
        if (!instance) {
            *error = "the GPU does not take 4000 x 3000";
            return false;
        }
        server = QZBitmapImageServer::make(image, 1, UIImageOrientationUp, instance);
        server->drawImage();
        server->getProcessedImageSizeAndData([instance, server](CGSize drawn, std::uint8_t* bytes) {
            instance->setInputImageDataFromGLQueue(bytes, drawn, false);
            server->releaseInputImage();
        });
        instance->setupProcessingObjects();
        instance->renderIdentityImageWithCompletion(nullptr);
    } else {
        server = QZBitmapImageServer::make(image, 1, UIImageOrientationUp);
        CGImageRelease(image);
        releaser.image = nullptr;
        server->drawImage();
    }
    waitForServer(server, gpu);
    for (const qz_replay::Step& step : steps) {
        const Clock::time_point start = Clock::now();
        const CGSize size = gpu ? instance->currentImageSize() : server->size();
        std::shared_ptr<QZModule> module = step.makeModule({size, !gpu});
        qz_replay::configureModule(*module, !gpu);
        server->runModule(module, !gpu, nullptr);
        if (!gpu) {
            waitForServer(server, gpu);
            const Clock::time_point committing = Clock::now();
            server->commit();
            waitForServer(server, gpu);
            commitMs->push_back(millisecondsSince(committing));
        }
        waitForServer(server, gpu);
        ms->push_back(millisecondsSince(start));
    }
    return true;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? NAN : values[values.size() / 2];
}

// The per-step medians of `runs` runs of a session function.
template <class Run>
bool medians(int runs, Run run, std::vector<double>* result, std::string* error)
{
    std::vector<std::vector<double>> perStep;
    std::vector<double> totals;
    for (int i = 0; i < runs; ++i) {
        std::vector<double> ms;
        if (!run(&ms, error)) return false;
        perStep.resize(ms.size());
        for (std::size_t s = 0; s < ms.size(); ++s) perStep[s].push_back(ms[s]);
        double total = 0;
        for (double m : ms) total += m;
        totals.push_back(total);
    }
    result->clear();
    for (const std::vector<double>& step : perStep) result->push_back(median(step));
    result->push_back(median(totals));
    return true;
}

// The peers' session, with the values our steps use: the crop in whole pixels, the straightening
// zoom of the step, our brightness and contrast curves, the saturation as a luminance-preserving
// matrix, and our sharpening's sigma for the straightened size.
qz_bench::PeerSession peerSession()
{
    qz_bench::PeerSession session;
    const CGRect crop = CGRectIntegral(CGRectMake(0.05f * kWidth, 0.05f * kHeight, 0.9f * kWidth, 0.9f * kHeight));
    session.cropX = int(crop.origin.x);
    session.cropY = int(crop.origin.y);
    session.cropWidth = int(crop.size.width);
    session.cropHeight = int(crop.size.height);
    session.angleDegrees = 3;
    session.scale = qz_replay::straightenScale(CGFloat(3 * M_PI / 180), crop.size);
    auto curve = [](void (*tool)(QopBitmap_t*, double), double value, std::array<std::uint8_t, 256>* out) {
        std::vector<QopColor_t> ramp(256);
        for (int i = 0; i < 256; ++i) ramp[std::size_t(i)] = {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 255};
        QopBitmap_t bitmap{ramp.data(), 256, 1, nullptr};
        tool(&bitmap, value);
        for (int i = 0; i < 256; ++i) (*out)[std::size_t(i)] = ramp[std::size_t(i)].r;
    };
    curve(QopToolBrightness, 20, &session.brightness);
    curve(QopToolContrast, 15, &session.contrast);
    const float s = 1.10f, lr = 0.299f, lg = 0.587f, lb = 0.114f;
    session.saturation = {lr * (1 - s) + s, lg * (1 - s),     lb * (1 - s),  //
                          lr * (1 - s),     lg * (1 - s) + s, lb * (1 - s),  //
                          lr * (1 - s),     lg * (1 - s),     lb * (1 - s) + s};
    const double width = std::floor(session.cropWidth / session.scale);
    const double height = std::floor(session.cropHeight / session.scale);
    session.sharpenSigma = (width + height) * (40 * 4.0 / 100.0) / 1600.0;
    return session;
}

}  // namespace

int main(int argc, char** argv)
{
#ifdef TESSEL_BENCH_MISSING_PEERS
    std::printf("%s\n", TESSEL_BENCH_MISSING_PEERS);
    std::fflush(stdout);
#endif
    int runs = 5;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc && std::atoi(argv[i + 1]) > 0) {
            runs = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: QzReplayBench [--runs N]\n");
            return 2;
        }
    }
    PlatformSettings::setMainBundlePath(std::filesystem::path(argv[0]).parent_path().string());
    std::vector<qz_replay::Step> steps;
    for (const std::string& text : kSteps) {
        qz_replay::Step step;
        std::string error;
        if (!qz_replay::parseStep(text, &step, &error)) {
            std::fprintf(stderr, "QzReplayBench: %s\n", error.c_str());
            return 1;
        }
        steps.push_back(std::move(step));
    }
    std::string source;
    const qz_bench::RGBAImage input = photo(&source);

    struct Column {
        std::string name;
        std::vector<double> ms;  // per step, then the total; empty when it did not run
        std::string note;
    };
    std::vector<Column> columns;
    std::vector<double> commits;
    for (bool gpu : {false, true}) {
        Column column{gpu ? "ours GPU" : "ours CPU", {}, {}};
        std::vector<std::vector<double>> commitRuns;
        auto run = [&](std::vector<double>* ms, std::string* error) {
            std::vector<double> commitMs;
            const bool ran = replayOnce(steps, input, gpu, ms, &commitMs, error);
            commitRuns.push_back(commitMs);
            return ran;
        };
        if (!medians(runs, run, &column.ms, &column.note)) column.ms.clear();
        if (!gpu && !commitRuns.empty())
            for (std::size_t s = 0; s < commitRuns[0].size(); ++s) {
                std::vector<double> values;
                for (const std::vector<double>& r : commitRuns) values.push_back(r[s]);
                commits.push_back(median(values));
            }
        columns.push_back(column);
    }
    [[maybe_unused]] const qz_bench::PeerSession session = peerSession();  // the peers built here use it
    qz_bench::RGBAImage peerOutput;
#ifdef QZ_BENCH_HAVE_VIPS
    {
        Column column{"libvips", {}, {}};
        if (!qz_bench::vipsInit(argv[0], &column.note) || !medians(
                                                              runs,
                                                              [&](std::vector<double>* ms, std::string* error) {
                                                                  return qz_bench::vipsRunSession(input, session, ms,
                                                                                                  &peerOutput, error);
                                                              },
                                                              &column.ms, &column.note))
            column.ms.clear();
        columns.push_back(column);
    }
#endif
#ifdef QZ_BENCH_HAVE_OPENCV
    {
        Column column{"OpenCV", {}, {}};
        qz_bench::openCvInit();
        if (!medians(
                runs,
                [&](std::vector<double>* ms, std::string* error) {
                    return qz_bench::openCvRunSession(input, session, ms, &peerOutput, error);
                },
                &column.ms, &column.note))
            column.ms.clear();
        columns.push_back(column);
    }
#endif

    std::printf("QzReplayBench: %s, median of %d runs, milliseconds\n", source.c_str(), runs);
    std::printf("Session: ");
    for (const std::string& text : kSteps) std::printf("%s ", text.c_str());
    std::printf("\n\n%-12s", "step");
    for (const Column& column : columns) std::printf("%12s", column.name.c_str());
    std::printf("%16s%16s%14s\n", "CPU / peer", "GPU / peer", "CPU commit");
    std::vector<std::string> rows = qz_bench::peerStepNames();
    rows.push_back("total");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::printf("%-12s", rows[r].c_str());
        double fastestPeer = INFINITY;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (columns[c].ms.size() > r) {
                std::printf("%12.1f", columns[c].ms[r]);
                if (c >= 2) fastestPeer = std::min(fastestPeer, columns[c].ms[r]);
            } else {
                std::printf("%12s", "-");
            }
        }
        for (std::size_t c = 0; c < 2; ++c) {
            if (columns[c].ms.size() > r && std::isfinite(fastestPeer))
                std::printf("%16.2f", columns[c].ms[r] / fastestPeer);
            else
                std::printf("%16s", "-");
        }
        double commit = 0;
        for (std::size_t s = 0; s < commits.size(); ++s)
            if (s == r || r == commits.size()) commit += commits[s];
        std::printf("%14.1f\n", commit);
    }
    for (const Column& column : columns)
        if (!column.note.empty()) std::printf("%s: %s\n", column.name.c_str(), column.note.c_str());
    std::printf("\nCPU commit: the part of our CPU step spent making the buffer the next input image.\n");
    std::printf("The peers' straighten is a rotation about the centre and a crop to the same size; their tones\n"
                "are two tables and a 3 x 3 matrix; their sharpening an unsharp mask of the same sigma.\n");
    std::printf("Machine: %u CPUs (%s)\n", std::thread::hardware_concurrency(),
                [] {
                    std::ifstream cpuinfo("/proc/cpuinfo");
                    for (std::string line; std::getline(cpuinfo, line);)
                        if (line.rfind("model name", 0) == 0) return line.substr(line.find(": ") + 2);
                    return std::string("unknown processor");
                }()
                    .c_str());
    return 0;
}
