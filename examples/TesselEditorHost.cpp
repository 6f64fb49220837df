#include "TesselEditorHost.h"

#include "TesselSDK/remote/QZAssetManager.h"
#include "TesselSDK/remote/QZRemoteConfiguration.h"
#include "TesselSDK/remote/QZRemoteRegisterClasses.h"
#include "TesselSDK/remote/QZTesselContentManager.h"
#include "TesselSDK/remote/QZTranslationManager.h"

#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKImaging/QZDispatchPriorityQueue.h"

#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchClock.h"
#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/NSUserDefaults.h"
#include "Foundation/PlatformSettings.h"
#include "Network/NSURL.h"
#include "Network/SCNetworkReachability.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIImageView.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace tessel_editor {

namespace {

// Real seconds between looks at a draining queue. No limit bounds the drain: a queue that has not
// reached the marker is still working (1000 stickers on a 12 MP photo take minutes on a software GPU).
constexpr double kQueueLook = 1;
// Rounds of draining: a block may queue more work on the other side.
constexpr int kMaxSettleRounds = 100;
// Real seconds the content service's work is given (updates, downloads) before a line fails.
constexpr double kNetworkTimeout = 90;
// The progress HUD's side, in points, as the tool screens show it.
constexpr CGFloat kProgressSide = 100;
// The API key tessel_content and the fixture trees use.
constexpr const char* kContentAPIKey = "tessel-example";

// Returns once every block queued on the priority queue so far has run: a block on a new sub-queue
// of the last type runs after all of them.
void drainQueue(const std::shared_ptr<QZDispatchPriorityQueue>& queue)
{
    auto done = std::make_shared<std::atomic<bool>>(false);
    const int marker = queue->generateQueueForType(QZQueueTypeDestroy);
    // Told through the main queue, which wakes the run loop at once rather than at its next poll: a
    // wait settles after each of its frames, and polls would make a virtual second cost a real one.
    queue->addBlock([done] { dispatch_async(dispatch_get_main_queue(), [done] { done->store(true); }); }, marker);
    queue->destroyQueueWithIdentifierAfterPendingBlocksComplete(marker);
    while (!DispatchRunLoop::runUntil([&] { return done->load(); }, kQueueLook)) {
    }
}

// Drains the GPU, CPU and main queues until nothing is left (or the rounds run out).
void drainQueues()
{
    for (int round = 0; round < kMaxSettleRounds; ++round) {
        drainQueue(QZDispatchPriorityQueue::processingQueue());
        drainQueue(QZDispatchPriorityQueue::cpuHiresProcessingQueue());
        if (DispatchRunLoop::drain() == 0) return;
    }
}

// No content or message update runs and no pack's archive is downloading.
bool networkIdle()
{
    auto manager = QZTesselContentManager::sharedManager();
    return !manager->isUpdatingAssets() && !manager->isUpdatingMessages() &&
           !QZAssetManager::sharedManager()->isDownloading();
}

// The internet's reachability says nothing of a server on this machine.
bool isLoopback(const std::string& url)
{
    auto parsed = NSURL::URLWithString(url);
    if (!parsed) return false;
    const std::string& host = parsed->host();
    return host == "localhost" || host == "::1" || host == "[::1]" || host.rfind("127.", 0) == 0;
}

}  // namespace

std::string defaultContentRoot()
{
    if (const char* sandbox = std::getenv("TESSEL_SANDBOX_ROOT"); sandbox && *sandbox) return sandbox;
    // Relative values are ignored, as the XDG rules ask.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') return std::string(xdg) + "/Tessel";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.local/share/Tessel";
}

bool isContentServiceRoot(const std::string& url)
{
    auto parsed = NSURL::URLWithString(url);
    if (!parsed || parsed->host().empty()) return false;
    return parsed->scheme() == "http" || parsed->scheme() == "https";
}

bool applyContentOptions(const ContentOptions& options, std::string* error)
{
    const std::filesystem::path root = options.contentRoot.value_or(defaultContentRoot());
    std::error_code made;
    std::filesystem::create_directories(root, made);
    if (made || !std::filesystem::is_directory(root)) {
        if (error)
            *error = "cannot make the content root " + root.string() + ": " +
                     (made ? made.message() : std::string("not a folder"));
        return false;
    }
    PlatformSettings::setSandboxRoot(std::filesystem::absolute(root).lexically_normal().string());
    // What was opened under another root is opened again under this one.
    QZTesselContentManager::resetSharedManagerForTesting();
    QZTranslationManager::resetSharedManagerForTesting();
    NSUserDefaults::resetStandardUserDefaults();
    if (options.server) {
        QZRemoteConfiguration::setAPIKey(kContentAPIKey);
        QZRemoteConfiguration::setContentServiceRoot(*options.server);
        if (isLoopback(*options.server)) SCNetworkReachabilitySetFlagsOverride(kSCNetworkReachabilityFlagsReachable);
    }
    return true;
}

void configureDevice(Device device, float scale)
{
    if (device == Device::Tablet) {
        PlatformSettings::setInterfaceIdiom(UIUserInterfaceIdiomPad);
        PlatformSettings::setScreenSize(768, 1024);
    } else {
        PlatformSettings::setInterfaceIdiom(UIUserInterfaceIdiomPhone);
        PlatformSettings::setScreenSize(320, 568);
    }
    PlatformSettings::setScreenScale(scale);
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

std::shared_ptr<EditorHost> EditorHost::open(const std::shared_ptr<UIImage>& photo, std::string* error, Clock clock,
                                             const QuickLaunch& launch)
{
    if (clock == Clock::Script) DispatchClock::useVirtualTime(true);
    // As every host does before the editor reads the content store.
    TesselSDKRemoteRegisterClasses();
    auto host = std::make_shared<EditorHost>(Key{});
    host->photo_ = photo;
    host->window_ = UIWindow::window();
    host->rootController_ = UIViewController::make();
    host->window_->setRootViewController(host->rootController_);
    host->window_->makeKeyAndVisible();

    host->editor_ = launch.tool ? QZPhotoEditorController::initWithImageQuickLaunchTool(photo, *launch.tool)
                    : launch.pack
                        ? QZPhotoEditorController::initWithImageQuickLaunchContentIdentifier(photo, *launch.pack)
                        : QZPhotoEditorController::initWithImage(photo);
    if (!host->editor_) {
        if (error) *error = "the editor could not be made";
        return nullptr;
    }
    // Applied edits are a person's work: Cancel asks before throwing them away.
    host->editor_->setShouldConfirmCancel(true);
    host->editor_->setDelegate(std::static_pointer_cast<QZPhotoEditorControllerDelegate>(host));

    // The full-size replay, at the photo's own size: it delivers once Done closes the session. On
    // the GPU its textures (three full-size images) go when the editor closes, before the result is
    // written; where GL is rasterised in software it replays on the CPU server instead.
    QZPhotoEditorContext::setHighResOutputSizeLimit(-1);
    QZPhotoEditorCustomization::purgeGPUMemoryWhenPossible(true);
    host->context_ = host->editor_->session()->createContextWithImage(photo);
    if (host->context_) {
        std::weak_ptr<EditorHost> weakHost = host;
        host->context_->render([weakHost](std::shared_ptr<UIImage> image) {
            auto heard = weakHost.lock();
            if (!heard || heard->outcome_ != Outcome::Finished) return;
            heard->delivered_ = true;
            // An unmodified context delivers nil: the photo is the result. An edited one that delivers
            // nil has failed (or was cancelled), and the unedited photo is no result of the edit.
            const bool edited = heard->context_ && heard->context_->isModified();
            heard->result_ = image ? image : edited ? nullptr : heard->photo_;
        });
    }
    host->rootController_->presentViewController(host->editor_, false);
    return host;
}

EditorHost::~EditorHost()
{
    close();
}

bool EditorHost::settle()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(kNetworkTimeout);
    for (;;) {
        drainQueues();
        if (networkIdle()) return true;
        const double left = std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) return false;
        // Responses and downloads arrive on the main queue, in real time.
        DispatchRunLoop::runUntil(networkIdle, std::min(left, 1.0));
    }
}

void EditorHost::photoEditorFinishedWithImage(QZSDKViewController*, std::shared_ptr<UIImage>)
{
    outcome_ = Outcome::Finished;
    if (!context_) {
        delivered_ = true;
        result_ = photo_;
    }
    // The full-size photo is still to be rendered and written: a person sees that it is under way.
    if (window_ && !progressView_) {
        const CGRect bounds = window_->bounds();
        progressView_ = UIView::viewWithFrame<QZProgressHUDView>(
            CGRectIntegral(CGRectMake(CGRectGetMidX(bounds) - kProgressSide / 2,
                                      CGRectGetMidY(bounds) - kProgressSide / 2, kProgressSide, kProgressSide)));
        window_->addSubview(progressView_);
    }
}

EditorHost::Delivery EditorHost::delivery() const
{
    // Nothing is rendered for an editor that did not finish.
    if (outcome_ != Outcome::Finished) return Delivery::Failed;
    if (delivered_) return result_ ? Delivery::Delivered : Delivery::Failed;
    // A cancelled replay never delivers an image, nor one whose job has gone without delivering.
    if (!context_ || context_->isCanceled() || context_->renderJobs().empty()) return Delivery::Failed;
    return Delivery::Working;
}

std::shared_ptr<UIImage> EditorHost::waitForResult(const std::function<void()>& turn)
{
    while (delivery() == Delivery::Working) turn();
    return result_;
}

void EditorHost::photoEditorCanceled(QZSDKViewController*)
{
    outcome_ = Outcome::Cancelled;
}

bool EditorHost::writeResult(const std::string& path, std::string* error)
{
    if (!result_) {
        if (error) *error = path + ": no result to write";
        return false;
    }
    if (window_ && progressView_ && !heldPicture_) {
        if (std::shared_ptr<UIImage> picture = window_->snapshot()) {
            auto held = UIImageView::imageViewWithImage(picture);
            held->setFrame(window_->bounds());
            held->setContentMode(UIViewContentModeScaleToFill);
            window_->insertSubviewBelowSubview(held, progressView_.get());
            heldPicture_ = held;
        }
    }
    // The result is then written strip by strip beside the target and renamed into place, never
    // encoded whole in memory beside the photo.
    releaseEditor();
    return UIImageWritePNGToFile(result_, path, error);
}

void EditorHost::releaseEditor()
{
    if (rootController_ && rootController_->presentedViewController())
        rootController_->dismissViewControllerAnimated(false);
    settle();
    if (context_) context_->cancelRendering();
    context_.reset();
    editor_.reset();
    settle();
}

void EditorHost::close()
{
    if (!window_) return;
    releaseEditor();
    for (auto* view : {static_cast<UIView*>(progressView_.get()), heldPicture_.get()})
        if (view) view->removeFromSuperview();
    progressView_.reset();
    heldPicture_.reset();
    window_->setRootViewController(nullptr);
    rootController_.reset();
    window_.reset();
    settle();
}

}  // namespace tessel_editor
