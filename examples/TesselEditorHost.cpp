#include "TesselEditorHost.h"

#include "TesselSDK/remote/QZRemoteRegisterClasses.h"

#include "TesselSDKImaging/QZDispatchPriorityQueue.h"

#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/PlatformSettings.h"
#include "ImageIO/ImageIOCodec.h"
#include "UIKit/UIApplication.h"

#include <atomic>
#include <vector>

namespace tessel_editor {

namespace {

// Real seconds a queue is given to drain; a software GPU on a loaded machine is slow, never this slow.
constexpr double kQueueTimeout = 120;
// Rounds of draining: a block may queue more work on the other side.
constexpr int kMaxSettleRounds = 100;

// True once every block queued on the priority queue so far has run: a block on a new sub-queue
// of the last type runs after all of them.
bool drainQueue(const std::shared_ptr<QZDispatchPriorityQueue>& queue)
{
    auto done = std::make_shared<std::atomic<bool>>(false);
    const int marker = queue->generateQueueForType(QZQueueTypeDestroy);
    // Told through the main queue, which wakes the run loop at once rather than at its next poll: a
    // wait settles after each of its frames, and polls would make a virtual second cost a real one.
    queue->addBlock([done] { dispatch_async(dispatch_get_main_queue(), [done] { done->store(true); }); }, marker);
    queue->destroyQueueWithIdentifierAfterPendingBlocksComplete(marker);
    return DispatchRunLoop::runUntil([&] { return done->load(); }, kQueueTimeout);
}

}  // namespace

void configureDevice(Device device)
{
    if (device == Device::Tablet) {
        PlatformSettings::setInterfaceIdiom(UIUserInterfaceIdiomPad);
        PlatformSettings::setScreenSize(768, 1024);
    } else {
        PlatformSettings::setInterfaceIdiom(UIUserInterfaceIdiomPhone);
        PlatformSettings::setScreenSize(320, 568);
    }
    PlatformSettings::setScreenScale(2);
    PlatformSettings::setSystemVersion("7.0");
    UIApplication::sharedApplication()->setStatusBarOrientation(UIInterfaceOrientationPortrait);
}

std::shared_ptr<UIImage> EditorHost::readPhoto(const std::string& path, std::string* error)
{
    std::string reason;
    if (auto photo = UIImage::imageWithContentsOfFile(path, &reason)) return photo;
    if (error) *error = path + ": " + reason;
    return nullptr;
}

std::shared_ptr<EditorHost> EditorHost::open(const std::shared_ptr<UIImage>& photo, std::string* error)
{
    // As every host does before the editor reads the content store.
    TesselSDKRemoteRegisterClasses();
    auto host = std::make_shared<EditorHost>(Key{});
    host->photo_ = photo;
    host->window_ = UIWindow::window();
    host->rootController_ = UIViewController::make();
    host->window_->setRootViewController(host->rootController_);
    host->window_->makeKeyAndVisible();

    host->editor_ = QZPhotoEditorController::initWithImage(photo);
    if (!host->editor_) {
        if (error) *error = "the editor could not be made";
        return nullptr;
    }
    host->editor_->setDelegate(std::static_pointer_cast<QZPhotoEditorControllerDelegate>(host));

    // The full-size replay, at the photo's own size: it delivers once Done closes the session.
    QZPhotoEditorContext::setHighResOutputSizeLimit(-1);
    host->context_ = host->editor_->session()->createContextWithImage(photo);
    if (host->context_) {
        std::weak_ptr<EditorHost> weakHost = host;
        host->context_->render([weakHost](std::shared_ptr<UIImage> image) {
            auto heard = weakHost.lock();
            if (!heard || heard->outcome_ != Outcome::Finished) return;
            // An unmodified context delivers nil: the photo is the result.
            heard->result_ = image ? image : heard->photo_;
        });
    }
    host->rootController_->presentViewController(host->editor_, false);
    return host;
}

EditorHost::~EditorHost()
{
    close();
}

void EditorHost::settle()
{
    for (int round = 0; round < kMaxSettleRounds; ++round) {
        drainQueue(QZDispatchPriorityQueue::processingQueue());
        drainQueue(QZDispatchPriorityQueue::cpuHiresProcessingQueue());
        if (DispatchRunLoop::drain() == 0) return;
    }
}

void EditorHost::photoEditorFinishedWithImage(QZSDKViewController*, std::shared_ptr<UIImage>)
{
    outcome_ = Outcome::Finished;
    if (!context_) result_ = photo_;
}

void EditorHost::photoEditorCanceled(QZSDKViewController*)
{
    outcome_ = Outcome::Cancelled;
}

void EditorHost::close()
{
    if (!window_) return;
    if (rootController_ && rootController_->presentedViewController())
        rootController_->dismissViewControllerAnimated(false);
    settle();
    if (context_) context_->cancelRendering();
    context_.reset();
    editor_.reset();
    settle();
    window_->setRootViewController(nullptr);
    rootController_.reset();
    window_.reset();
    settle();
}

bool writePNG(const std::shared_ptr<UIImage>& image, const std::string& path, std::string* error)
{
    std::optional<std::vector<std::uint8_t>> png = image ? UIImagePNGRepresentation(image) : std::nullopt;
    if (!png) {
        *error = "the image could not be encoded";
        return false;
    }
    return ImageIOWriteFile(path, *png, error);
}

}  // namespace tessel_editor
