// EditorBench: how long the editor takes to start and to show a slider change. A warm start is a
// second editor in the same process on a 12 MP photo, from its creation to the first frame its
// canvas presents; a preview step is one slider value change on the sharpness and on the adjust
// tool, from the value-changed event to the presented frame, at an editing size of 1024 x 768.
// Medians of 20, in milliseconds, with the machine and the GL renderer. Not a test: nothing here
// passes or fails on time.
//
//   EditorBench [--runs N]
#include "TesselEditorHost.h"

#include "TesselSDK/shell/QZScrollingImageView.h"
#include "TesselSDK/tools/QZAdjustViewController.h"
#include "TesselSDK/tools/QZSharpnessViewController.h"

#include "TesselSDKImaging/Processors/QZAdjustProcessor.h"
#include "TesselSDKImaging/Processors/QZSharpnessProcessor.h"
#include "TesselSDKImaging/QZBitmapImageServer.h"
#include "TesselSDKImaging/QZOpenGLInstance.h"
#include "TesselSDKImaging/QZOpenGLManager.h"

#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/PlatformSettings.h"
#include "GLES/EAGLContext.h"
#include "ImageIO/ImageIOCodec.h"
#include "UIKit/UIWindow.h"

#include <GLES2/gl2.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double kTimeout = 120;
using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Edges everywhere, as a photo has.
std::vector<std::uint8_t> texturedField(std::size_t width, std::size_t height)
{
    std::vector<std::uint8_t> pixels(width * height * 4);
    for (std::size_t y = 0; y < height; ++y)
        for (std::size_t x = 0; x < width; ++x) {
            std::uint8_t* p = &pixels[(y * width + x) * 4];
            const bool check = ((x / 6) + (y / 6)) % 2 == 0;
            p[0] = std::uint8_t(40 + x * 150 / width + (check ? 40 : 0));
            p[1] = std::uint8_t(60 + y * 120 / height);
            p[2] = std::uint8_t(check ? 170 : 90);
            p[3] = 255;
        }
    return pixels;
}

bool pumpUntil(const std::function<bool()>& condition)
{
    return DispatchRunLoop::runUntil(condition, kTimeout);
}

// A GL instance holding the field at the editing size, shown unchanged as the editor starts.
std::shared_ptr<QZOpenGLInstance> editingInstance(const std::vector<std::uint8_t>& field, CGSize size)
{
    auto gl = QZOpenGLInstance::make(size, QopGLRenderingModeDefault, QZQueueTypeSDK);
    if (!gl) return nullptr;
    bool loaded = false;
    gl->setInputImageData(field.data(), size, true, [&] { loaded = true; });
    if (!pumpUntil([&] { return loaded; })) return nullptr;
    bool shown = false;
    gl->renderIdentityImageWithCompletion([&] { shown = true; });
    return pumpUntil([&] { return shown; }) ? gl : nullptr;
}

// A window with a canvas whose GL view the instance presents into, as in the editor.
struct Canvas {
    std::shared_ptr<UIWindow> window;
    std::shared_ptr<QZScrollingImageView> view;
};

Canvas canvasFor(const std::shared_ptr<QZOpenGLInstance>& gl, CGSize size)
{
    Canvas canvas{UIWindow::window(), nullptr};
    canvas.window->makeKeyAndVisible();
    canvas.view = UIView::viewWithFrame<QZScrollingImageView>(CGRectMake(0, 64, 320, 391));
    canvas.window->addSubview(canvas.view);
    canvas.view->setImageSize(size);
    canvas.view->showOpenGLView(true);
    canvas.view->layoutIfNeeded();
    gl->setRenderbufferFromOpenGLView(canvas.view->openGLView());
    return canvas;
}

// Milliseconds from each value-changed event to the screen ready again (its preview presented and
// the main queue told), alternating between two values so each event changes the picture.
template <class Tool>
std::vector<double> previewSteps(const std::shared_ptr<QZOpenGLInstance>& gl, const Canvas& canvas, int runs)
{
    auto tool = QZToolViewController::makeWithGLInstance<Tool>(gl, Value(), false);
    tool->setTargetViewHeight(100);
    tool->setScrollableImageView(canvas.view);
    tool->view();
    std::vector<double> ms;
    for (int run = 0; run < runs + 1; ++run) {
        tool->slider()->setValue(run % 2 ? 30 : 60);
        const Clock::time_point start = Clock::now();
        tool->slider()->sendActionsForControlEvents(UIControlEventValueChanged);
        if (!pumpUntil([&] { return tool->isReadyToApply(); })) return {};
        if (run > 0) ms.push_back(millisecondsSince(start));  // the first compiles the programs
    }
    return ms;
}

// Milliseconds until what `queue` put on the GL queue has run, seen from the main thread.
double glQueueMilliseconds(const std::shared_ptr<QZOpenGLInstance>& gl, const std::function<void()>& queue)
{
    auto done = std::make_shared<std::atomic<bool>>(false);
    const Clock::time_point start = Clock::now();
    queue();
    gl->enqueueBlockOnGLThread([done] { done->store(true); });
    if (!pumpUntil([&] { return done->load(); })) return 0;
    return millisecondsSince(start);
}

// The cached astronaut stretched (nearest neighbour) to 4000 x 3000, or a generated field.
std::shared_ptr<UIImage> twelveMegapixels(std::string* source)
{
    constexpr std::size_t width = 4000, height = 3000;
    const char* dir = std::getenv("TESSEL_PHOTO_DIR");
    const std::string path =
        (dir && *dir ? std::string(dir) : std::string(TESSEL_SOURCE_DIR) + "/.cache/photos") + "/astronaut.png";
    std::vector<std::uint8_t> photo;
    std::size_t w = 0, h = 0;
    const bool read = ImageIODecodeFile(path, [&](std::size_t pw, std::size_t ph) -> void* {
        photo.resize(pw * ph * 4);
        w = pw;
        h = ph;
        return photo.data();
    });
    std::vector<std::uint8_t> pixels = texturedField(width, height);
    if (read)
        for (std::size_t y = 0; y < height; ++y)
            for (std::size_t x = 0; x < width; ++x) {
                std::memcpy(&pixels[(y * width + x) * 4], &photo[((y * h / height) * w + x * w / width) * 4], 4);
                pixels[(y * width + x) * 4 + 3] = 255;
            }
    *source = read ? path + " stretched to 4000 x 3000" : "a generated 4000 x 3000 field";
    CGImageRef image = CGImageCreateWithRGBABytes(width, height, width * 4, pixels.data());
    std::shared_ptr<UIImage> result = UIImage::imageWithCGImage(image);
    CGImageRelease(image);
    return result;
}

// Milliseconds from the editor's creation to the first frame its canvas shows.
double editorStart(const std::shared_ptr<UIImage>& photo)
{
    const Clock::time_point start = Clock::now();
    std::string error;
    auto host = tessel_editor::EditorHost::open(photo, &error);
    if (!host) {
        std::fprintf(stderr, "EditorBench: %s\n", error.c_str());
        return -1;
    }
    // The first frame's completion shows the GL view and starts listening to canvas touches.
    const bool shown = pumpUntil([&] {
        const auto& canvas = host->editor()->scrollableImageView();
        return canvas && canvas->shouldEnableTouchListeningWhenZoomedOut();
    });
    const double ms = millisecondsSince(start);
    host->close();
    return shown ? ms : -1;
}

std::string glRenderer(const std::shared_ptr<QZOpenGLInstance>& gl)
{
    std::string renderer = "unknown";
    glQueueMilliseconds(gl, [&] {
        gl->enqueueBlockOnGLThread([&renderer] {
            if (const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER))) renderer = name;
        });
    });
    return renderer;
}

std::string processorName()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    for (std::string line; std::getline(cpuinfo, line);)
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(": ") + 2);
    return "unknown processor";
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = 20;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc && std::atoi(argv[i + 1]) > 0) {
            runs = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: EditorBench [--runs N]\n");
            return 2;
        }
    }
    PlatformSettings::setMainBundlePath(std::filesystem::path(argv[0]).parent_path().string());
    tessel_editor::configureDevice(tessel_editor::Device::Phone);
    if (QZOpenGLManager::sharedOpenGLManager()->setupFailed()) {
        std::fprintf(stderr, "EditorBench: no GL context: %s\n", EAGLContext::creationFailureReason().c_str());
        return 1;
    }

    // A warm start: the first editor pays for the programs and the bundle, the next ones are timed.
    std::string source;
    const std::shared_ptr<UIImage> photo = twelveMegapixels(&source);
    if (editorStart(photo) < 0) return 1;
    std::vector<double> starts;
    for (int run = 0; run < runs; ++run) {
        const double ms = editorStart(photo);
        if (ms < 0) return 1;
        starts.push_back(ms);
    }

    const CGSize editing = CGSizeMake(1024, 768);
    const std::vector<std::uint8_t> field = texturedField(1024, 768);
    auto gl = editingInstance(field, editing);
    if (!gl) {
        std::fprintf(stderr, "EditorBench: the GL instance did not load the field\n");
        return 1;
    }
    const Canvas canvas = canvasFor(gl, editing);
    const std::vector<double> sharpness = previewSteps<QZSharpnessViewController>(gl, canvas, runs);
    const std::vector<double> adjust = previewSteps<QZAdjustViewController>(gl, canvas, runs);
    if (sharpness.empty() || adjust.empty()) {
        std::fprintf(stderr, "EditorBench: a preview did not finish\n");
        return 1;
    }

    // Where a step's time goes: the processor's passes alone, a present alone, and the hop back.
    std::vector<double> sharpnessPasses, adjustPasses, presents, hops;
    auto server = QZBitmapImageServer::makeWithGLInstance(gl);
    auto sharpen = QZSharpnessProcessor::make();
    sharpen->setInputSharpness(60);
    auto tone = QZAdjustProcessor::make();
    tone->setBrightnessValue(60);
    for (int run = 0; run < runs; ++run) {
        sharpnessPasses.push_back(glQueueMilliseconds(gl, [&] { server->runProcessor(sharpen); }));
        adjustPasses.push_back(glQueueMilliseconds(gl, [&] { server->runProcessor(tone); }));
        presents.push_back(glQueueMilliseconds(gl, [&] { gl->presentRenderbuffer(); }));
        hops.push_back(glQueueMilliseconds(gl, [] {}));
    }

    std::printf("EditorBench: medians of %d runs, milliseconds\n\n", runs);
    std::printf("%-44s%10.1f   (target 200 on a real GPU)\n", "warm editor start, 12 MP photo", median(starts));
    std::printf("%-44s%10.1f   (target 16 on a real GPU)\n", "preview step, sharpness, 1024 x 768", median(sharpness));
    std::printf("%-44s%10.1f   (target 16 on a real GPU)\n", "preview step, adjust, 1024 x 768", median(adjust));
    std::printf("\nWhere a preview step goes (each part alone, seen from the main thread):\n");
    std::printf("%-44s%10.1f\n", "  sharpness passes on the GL queue", median(sharpnessPasses));
    std::printf("%-44s%10.1f\n", "  adjust pass on the GL queue", median(adjustPasses));
    std::printf("%-44s%10.1f\n", "  present (read back into the canvas layer)", median(presents));
    std::printf("%-44s%10.1f\n", "  an empty GL block and the hop back", median(hops));
    std::printf("\nPhoto: %s\n", source.c_str());
    std::printf("GL renderer: %s\n", glRenderer(gl).c_str());
    std::printf("Machine: %u CPUs (%s)\n", std::thread::hardware_concurrency(), processorName().c_str());
    return 0;
}
