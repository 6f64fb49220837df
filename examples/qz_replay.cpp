// qz_replay: replays a list of edits on a photograph through an image server, as an editing
// session's replay context does, and writes the result as PNG.
//
//   qz_replay [--gpu] [--max-pixels N] INPUT OUTPUT.png STEP...
//
// The CPU path draws the input into the server's buffer and runs each step's module with
// preprocessing, committing after each (at most two full-size images held: the buffer and the
// committed input; the result is the last committed image); the GPU path loads the drawn input into a GL instance
// (OverwriteOriginal, Hires queue) and runs each module's passes there without preprocessing.
// Steps run one at a time: each is made for the image's size after the one before.
//
// Exit status: 0 written; 1 the work failed (an unreadable input, an image larger than the GPU
// accepts, no GL context, a failed write), with a message; 2 a malformed command line, with the
// usage. Nothing is written unless the status is 0.
#include "QZReplaySteps.h"

#include "TesselSDKImaging/QZBitmapImageServer.h"
#include "TesselSDKImaging/QZDispatchPriorityQueue.h"
#include "TesselSDKImaging/QZImageServer.h"
#include "TesselSDKImaging/QZOpenGLInstance.h"
#include "TesselSDKImaging/QZOpenGLManager.h"

#include "Dispatch/DispatchRunLoop.h"
#include "Files/FileContents.h"
#include "GLES/EAGLContext.h"
#include "ImageIO/ImageIOCodec.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIImageCodecs.h"

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
// Seconds each wait on a queue is given; llvmpipe on a loaded machine is slow, never this slow.
constexpr double kQueueTimeout = 300;

struct Invocation {
    bool help = false;
    bool gpu = false;
    double maxPixels = 0;  // 0: no limit
    std::string input;
    std::string output;
    std::vector<qz_replay::Step> steps;
};

constexpr const char* kSynopsis = "usage: qz_replay [--gpu] [--max-pixels N] INPUT OUTPUT.png STEP...\n";

void printUsage(std::FILE* out)
{
    std::fprintf(out,
                 "%s\nApplies the steps in order through an image server (CPU by default, GPU with --gpu) and "
                 "writes OUTPUT.png.\n\nOptions:\n"
                 "  --gpu                  replay on a GL instance instead of the CPU\n"
                 "  --max-pixels N         limit the output to about N pixels (N a positive whole number)\n"
                 "\nSteps:\n",
                 kSynopsis);
    for (const qz_replay::StepKind& kind : qz_replay::stepKinds()) {
        std::string form = kind.name;
        if (kind.valueSynopsis[0] != '\0') form += std::string("=") + kind.valueSynopsis;
        std::fprintf(out, "  %-20s %s\n", form.c_str(), kind.help);
    }
    std::fprintf(out, "\nExit 0 on success; 2 with a message naming the step on a malformed or unknown step; 1 with a "
                      "message when the input cannot be read or the work fails. Nothing is written on any failure.\n"
                      "--max-pixels limits the output's pixel count as the session's replay limit does.\n");
}

int usageError(const std::string& message)
{
    std::fprintf(stderr, "qz_replay: %s\n%sRun 'qz_replay --help' for the steps.\n", message.c_str(), kSynopsis);
    return kExitUsage;
}

int failed(const std::string& message)
{
    std::fprintf(stderr, "qz_replay: %s\n", message.c_str());
    return kExitFailed;
}

// Everything the command line holds is checked here, before the input is read.
bool parseCommandLine(int argc, char** argv, Invocation* invocation, std::string* error)
{
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--help") {
            invocation->help = true;
        } else if (word == "--gpu") {
            invocation->gpu = true;
        } else if (word == "--max-pixels") {
            long long pixels = 0;
            if (i + 1 >= argc || !qz_replay::parseInteger(argv[i + 1], 1, 999999999999999999LL, &pixels)) {
                *error = "--max-pixels needs a positive whole number";
                return false;
            }
            invocation->maxPixels = double(pixels);
            ++i;
        } else if (word.rfind("--", 0) == 0) {
            *error = "unknown option '" + word + "'";
            return false;
        } else {
            positional.push_back(word);
        }
    }
    if (invocation->help) return true;
    if (positional.size() < 3) {
        *error = positional.size() < 2 ? "expected INPUT OUTPUT.png STEP..." : "no step given";
        return false;
    }
    invocation->input = positional[0];
    invocation->output = positional[1];
    for (std::size_t i = 2; i < positional.size(); ++i) {
        qz_replay::Step step;
        if (!qz_replay::parseStep(positional[i], &step, error)) return false;
        invocation->steps.push_back(std::move(step));
    }
    return true;
}


// Pumps the main queue until a block queued on the server now has run, so all queued before it.
bool waitForServer(const std::shared_ptr<QZBitmapImageServer>& server)
{
    auto done = std::make_shared<std::atomic<bool>>(false);
    server->runBlock([done] { done->store(true); });
    return DispatchRunLoop::runUntil([&] { return done->load(); }, kQueueTimeout);
}

// The queues did not finish: blocks may still use what the program holds, so nothing is torn down.
[[noreturn]] void exitStuck()
{
    failed("the image server did not finish");
    std::fflush(stderr);
    std::_Exit(kExitFailed);
}

// Runs the steps one at a time, each made for the size left by the one before.
void replaySteps(const Invocation& invocation, const std::shared_ptr<QZBitmapImageServer>& server, bool onCPU,
                 const std::function<CGSize()>& currentSize)
{
    for (const qz_replay::Step& step : invocation.steps) {
        if (!waitForServer(server)) exitStuck();
        std::shared_ptr<QZModule> module = step.makeModule({currentSize(), onCPU});
        qz_replay::configureModule(*module, onCPU);
        if (onCPU)
            server->runModule(module, true, [server] { server->commit(); });
        else
            server->runModule(module, false, nullptr);
    }
    if (!waitForServer(server)) exitStuck();
}

// Takes the only reference to the input image, so that the first commit can reuse its storage.
// After the last step the committed input image is the result: taken from the server, which then
// lets its buffer go, so the PNG is written while one full-size image is held.
std::shared_ptr<UIImage> replayOnCPU(const Invocation& invocation, CGImageRef image, UIImageOrientation orientation,
                                     CGFloat scale)
{
    std::shared_ptr<QZBitmapImageServer> server = QZBitmapImageServer::make(image, scale, orientation);
    CGImageRelease(image);
    // The first module may skip preprocessing: the input must be in the buffer before it.
    server->drawImage();
    replaySteps(invocation, server, true, [&] { return server->size(); });
    CGImageRef committed = CGImageRetain(server->inputImage());
    // A step that left no pixels (a crop to nothing) commits nothing: there is no result then.
    const CGSize size = server->size();
    const bool current = CGFloat(CGImageGetWidth(committed)) == size.width &&
                         CGFloat(CGImageGetHeight(committed)) == size.height;
    server->releaseInputImage();
    std::shared_ptr<UIImage> result = current ? UIImage::imageWithCGImage(committed) : nullptr;
    CGImageRelease(committed);
    return result;
}

std::shared_ptr<UIImage> replayOnGPU(const Invocation& invocation, CGImageRef image, UIImageOrientation orientation,
                                     CGFloat scale, std::string* error)
{
    std::shared_ptr<QZOpenGLManager> manager = QZOpenGLManager::sharedOpenGLManager();
    if (manager->setupFailed()) {
        *error = "no GL context: " + EAGLContext::creationFailureReason();
        return nullptr;
    }
    // The picture as it shows: a photo stored sideways replays upright.
    CGSize size = CGSizeMake(std::floor(CGFloat(CGImageGetWidth(image)) * scale),
                             std::floor(CGFloat(CGImageGetHeight(image)) * scale));
    if (QZImageOrientationIsTurned(orientation)) std::swap(size.width, size.height);
    std::shared_ptr<QZOpenGLInstance> instance =
        QZOpenGLInstance::make(size, QopGLRenderingModeOverwriteOriginal, QZQueueTypeHires);
    if (!instance) {
        const CGSize maxSize = manager->maxSize();
        *error = "the image is " + std::to_string(long(size.width)) + " x " + std::to_string(long(size.height)) +
                 " pixels; the GPU takes at most " + std::to_string(long(maxSize.width)) + " x " +
                 std::to_string(long(maxSize.height));
        return nullptr;
    }
    std::shared_ptr<QZBitmapImageServer> server =
        QZBitmapImageServer::make(image, scale, orientation, instance);
    // As a replay context sets up: the drawn input handed to the GL instance, the server's copy freed.
    server->drawImage();
    server->getProcessedImageSizeAndData([instance, server](CGSize drawn, std::uint8_t* bytes) {
        instance->setInputImageDataFromGLQueue(bytes, drawn, false);
        server->releaseInputImage();
    });
    instance->setupProcessingObjects();
    instance->renderIdentityImageWithCompletion(nullptr);
    replaySteps(invocation, server, false, [&] { return instance->currentImageSize(); });

    std::shared_ptr<UIImage> result;
    bool delivered = false;
    instance->getOutputImage([&](std::shared_ptr<UIImage> output) {
        result = std::move(output);
        delivered = true;
    });
    if (!DispatchRunLoop::runUntil([&] { return delivered; }, kQueueTimeout)) exitStuck();
    if (manager->setupFailed())
        *error = "the GL record could not be set up (no shader program)";
    else if (!result)
        *error = "the GPU gave no image back";
    return *error == "" ? result : nullptr;
}

// Lets the GPU queue finish what the instance left (its textures' release) before the process ends.
void drainGPUQueue()
{
    auto done = std::make_shared<std::atomic<bool>>(false);
    auto queue = QZDispatchPriorityQueue::processingQueue();
    const int marker = queue->generateQueueForType(QZQueueTypeDestroy);
    queue->addBlock([done] { done->store(true); }, marker);
    queue->destroyQueueWithIdentifierAfterPendingBlocksComplete(marker);
    DispatchRunLoop::runUntil([&] { return done->load(); }, kQueueTimeout);
}

int replay(const Invocation& invocation)
{
    std::string reason;
    CGImageRef image = nullptr;
    UIImageOrientation orientation = UIImageOrientationUp;
    {
        std::vector<std::uint8_t> bytes;
        if (FileReadContents(invocation.input, kImageIOMaximumFileBytes, &bytes, &reason))
            if (std::shared_ptr<UIImage> input =
                    UIImage::imageWithData(bytes, 1, kUIImageMaximumDecodedPixels, &reason)) {
                image = CGImageRetain(input->CGImage());
                orientation = input->imageOrientation();
            }
    }
    if (!image) return failed("cannot read " + invocation.input + ": " + reason);
    const double pixels = double(CGImageGetWidth(image)) * double(CGImageGetHeight(image));
    // As the session's replay limit: the largest scale that keeps the output within N pixels.
    const CGFloat scale =
        invocation.maxPixels > 0 ? CGFloat(std::min(1.0, std::sqrt(invocation.maxPixels / pixels))) : 1.0f;

    std::string error;
    std::shared_ptr<UIImage> result;
    if (invocation.gpu) {
        result = replayOnGPU(invocation, image, orientation, scale, &error);
        CGImageRelease(image);
        drainGPUQueue();
    } else {
        result = replayOnCPU(invocation, image, orientation, scale);
    }
    if (!result) return failed(error.empty() ? "the replay gave no image" : error);
    if (!UIImageWritePNGToFile(result, invocation.output, &error))
        return failed("cannot write " + invocation.output + ": " + error);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Invocation invocation;
    std::string error;
    if (!parseCommandLine(argc, argv, &invocation, &error)) return usageError(error);
    if (invocation.help) {
        printUsage(stdout);
        return 0;
    }
    return replay(invocation);
}
