// TextTypingBench: how long typing takes in the text tool as the text grows. The editor on a
// generated photo, the Text tool opened by a script as a person opens it, then a text of N
// characters typed through the script runner (one key a frame, each key laid out and drawn as the
// window would), for N = 1000, 2000 and 4000; then single keys at the end of the 4000-character
// text. Seconds for each text and the ratio of 4000 to 1000 (linear typing makes it about 4), and
// the median milliseconds of a key at the end. Not a test: nothing here passes or fails on time.
//
//   TextTypingBench [--keys N]
#include "TesselEditorHost.h"
#include "TesselEditorScript.h"

#include "TesselSDKImaging/QZOpenGLManager.h"

#include "CoreGraphics/CGImage.h"
#include "Foundation/PlatformSettings.h"
#include "GLES/EAGLContext.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::shared_ptr<UIImage> generatedPhoto()
{
    constexpr std::size_t width = 1024, height = 768;
    std::vector<std::uint8_t> pixels(width * height * 4);
    for (std::size_t y = 0; y < height; ++y)
        for (std::size_t x = 0; x < width; ++x) {
            std::uint8_t* p = &pixels[(y * width + x) * 4];
            p[0] = std::uint8_t(40 + x * 150 / width);
            p[1] = std::uint8_t(60 + y * 120 / height);
            p[2] = 120;
            p[3] = 255;
        }
    CGImageRef image = CGImageCreateWithRGBABytes(width, height, width * 4, pixels.data());
    std::shared_ptr<UIImage> photo = UIImage::imageWithCGImage(image);
    CGImageRelease(image);
    return photo;
}

// Words of one to nine letters and a space: a text of `length` characters the box grows with.
std::string textOf(std::size_t length)
{
    std::string text;
    for (std::size_t i = 0; text.size() < length; ++i) {
        text.append(1 + i % 9, char('a' + i % 26));
        text.push_back(' ');
    }
    text.resize(length);
    if (text.back() == ' ') text.back() = 'x';  // the script's line would lose no blank, but a key shows
    return text;
}

const std::vector<std::string> kOpenText = {"wait 1", "drag 310,510 10,510 1.0", "wait 1", "drag 310,510 10,510 1.0",
                                            "wait 1", "tap Text", "wait 1"};

struct Typed {
    double seconds = -1;
    std::vector<double> keyMilliseconds;
};

// A fresh editor with the Text tool open: the text typed, then `keys` single keys at its end.
Typed typeInTextTool(const std::shared_ptr<UIImage>& photo, std::size_t length, int keys)
{
    Typed typed;
    std::string error;
    auto host = tessel_editor::EditorHost::open(photo, &error);
    if (!host) {
        std::fprintf(stderr, "TextTypingBench: %s\n", error.c_str());
        return typed;
    }
    {
        tessel_editor::ScriptRunner runner(*host, std::filesystem::temp_directory_path().string());
        using Status = tessel_editor::ScriptResult::Status;
        if (runner.run(kOpenText).status != Status::Ended) {
            std::fprintf(stderr, "TextTypingBench: the Text tool did not open\n");
            host->close();
            return typed;
        }
        const Clock::time_point start = Clock::now();
        const tessel_editor::ScriptResult result = runner.run({"type " + textOf(length)});
        if (result.status != Status::Ended) {
            std::fprintf(stderr, "TextTypingBench: %s\n", result.message.c_str());
            host->close();
            return typed;
        }
        typed.seconds = secondsSince(start);
        for (int key = 0; key < keys; ++key) {
            const Clock::time_point keyStart = Clock::now();
            runner.run({"type W"});
            typed.keyMilliseconds.push_back(secondsSince(keyStart) * 1000);
        }
    }
    host->close();
    return typed;
}

}  // namespace

int main(int argc, char** argv)
{
    int keys = 20;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--keys") == 0 && i + 1 < argc && std::atoi(argv[i + 1]) > 0) {
            keys = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: TextTypingBench [--keys N]\n");
            return 2;
        }
    }
    PlatformSettings::setMainBundlePath(std::filesystem::path(argv[0]).parent_path().string());
    tessel_editor::configureDevice(tessel_editor::Device::Phone);
    if (QZOpenGLManager::sharedOpenGLManager()->setupFailed()) {
        std::fprintf(stderr, "TextTypingBench: no GL context: %s\n", EAGLContext::creationFailureReason().c_str());
        return 1;
    }
    const std::shared_ptr<UIImage> photo = generatedPhoto();
    std::printf("TextTypingBench: a text typed into the text tool, one key a frame\n\n");
    double seconds[3] = {0, 0, 0};
    const std::size_t lengths[3] = {1000, 2000, 4000};
    std::vector<double> endKeys;
    for (int i = 0; i < 3; ++i) {
        const Typed typed = typeInTextTool(photo, lengths[i], i == 2 ? keys : 0);
        if (typed.seconds < 0) return 1;
        seconds[i] = typed.seconds;
        endKeys = typed.keyMilliseconds;
        std::printf("%-44s%10.2f s\n", ("typing " + std::to_string(lengths[i]) + " characters").c_str(), seconds[i]);
    }
    std::printf("%-44s%10.2f   (target at most 4)\n", "4000 characters over 1000", seconds[2] / seconds[0]);
    std::printf("%-44s%10.2f ms (target under 5; median of %d)\n", "a key at the end of 4000 characters",
                median(endKeys), keys);
    std::printf("\nMachine: %u CPUs\n", std::thread::hardware_concurrency());
    return 0;
}
