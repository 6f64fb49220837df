// qz_present: the editor's pipeline on one photograph. Loads INPUT (PNG or JPEG) into a GL
// instance, presents it into an offscreen GL view of the image's size, and writes the view's
// rendering, as a person would see it on a screen of scale 1, to OUTPUT as PNG.
//
//   qz_present INPUT OUTPUT.png
//
// Exit status: 0 written; 1 the work failed (an unreadable input, an image larger than the GPU
// accepts, no GL context, a failed write), with a message and nothing written; 2 a malformed
// command line, with the usage.
#include "QopBitmapFile.h"

#include "TesselSDKImaging/QZOpenGLInstance.h"
#include "TesselSDKImaging/QZOpenGLManager.h"
#include "TesselSDKImaging/QZOpenGLView.h"

#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/PlatformSettings.h"
#include "GLES/EAGLContext.h"
#include "ImageIO/ImageIOCodec.h"
#include "QopLite/QopAlloc.h"
#include "UIKit/UIWindow.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
// Seconds the GPU queue is given for each wait; llvmpipe on a loaded machine is slow, never this slow.
constexpr double kGPUTimeout = 120;

int failed(const std::string& message)
{
    std::fprintf(stderr, "qz_present: %s\n", message.c_str());
    return kExitFailed;
}

// Pumps the main queue until everything queued on the GPU queue so far has run: a block on the
// newest sub-queue of the last type runs after all of it.
bool drainGPUQueue()
{
    auto done = std::make_shared<std::atomic<bool>>(false);
    auto queue = QZDispatchPriorityQueue::processingQueue();
    const int marker = queue->generateQueueForType(QZQueueTypeDestroy);
    queue->addBlock([done] { done->store(true); }, marker);
    queue->destroyQueueWithIdentifierAfterPendingBlocksComplete(marker);
    return DispatchRunLoop::runUntil([&] { return done->load(); }, kGPUTimeout);
}

// Presents the image through a GL instance into a GL view on a window of the image's size and
// writes the window as it shows.
int present(const QopBitmap_t& image, const std::string& output)
{
    std::shared_ptr<QZOpenGLManager> manager = QZOpenGLManager::sharedOpenGLManager();
    if (manager->setupFailed()) return failed("no GL context: " + EAGLContext::creationFailureReason());
    const CGSize size = CGSizeMake(CGFloat(image.width), CGFloat(image.height));
    std::shared_ptr<QZOpenGLInstance> instance =
        QZOpenGLInstance::make(size, QopGLRenderingModeDefault, QZQueueTypeSDK);
    if (!instance) {
        const CGSize maxSize = manager->maxSize();
        return failed("the image is " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                      " pixels; the GPU accepts at most " + std::to_string(long(maxSize.width)) + " x " +
                      std::to_string(long(maxSize.height)));
    }

    std::shared_ptr<UIWindow> window = UIView::viewWithFrame<UIWindow>(CGRectMake(0, 0, size.width, size.height));
    std::shared_ptr<QZOpenGLView> view = QZOpenGLView::make();
    view->setFrame(window->bounds());
    window->addSubview(view);

    bool shown = false;
    instance->setInputImageData(reinterpret_cast<const std::uint8_t*>(image.data), size, true, nullptr);
    instance->setRenderbufferFromOpenGLView(view);
    instance->renderIdentityImageWithCompletion([&] { shown = true; });
    if (!DispatchRunLoop::runUntil([&] { return shown; }, kGPUTimeout)) {
        failed("the GPU did not finish");
        // The GL thread may still read the pixels: nothing is freed or torn down on the way out.
        std::fflush(stderr);
        std::_Exit(kExitFailed);
    }
    int status = 0;
    if (manager->setupFailed()) {
        status = failed("the GL record could not be set up (no shader program)");
    } else if (instance->currentImageSize().width != size.width || instance->currentImageSize().height != size.height) {
        status = failed("the GPU did not take the image");
    } else {
        std::optional<std::vector<std::uint8_t>> png = UIImagePNGRepresentation(window->snapshot());
        std::string error;
        if (!png)
            status = failed("the window could not be drawn");
        else if (!ImageIOWriteFile(output, *png, &error))
            status = failed("cannot write " + error);
    }

    instance->destroyRenderbufferFromOpenGLView(view);
    instance.reset();
    drainGPUQueue();
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || argv[1][0] == '\0' || argv[2][0] == '\0') {
        std::fprintf(stderr, "usage: qz_present INPUT OUTPUT.png\n"
                             "Presents INPUT (PNG or JPEG) through the editor's GL pipeline and writes what the "
                             "view shows to OUTPUT as PNG.\n");
        return kExitUsage;
    }
    QopBitmap_t image;
    std::string error;
    if (!qop_examples::readBitmapFile(argv[1], &image, &error)) return failed("cannot read " + error);
    // One point is one pixel: the view and the window are the image's size.
    PlatformSettings::setScreenScale(1);
    const int status = present(image, argv[2]);
    QopBitmapFree(&image);
    return status;
}
