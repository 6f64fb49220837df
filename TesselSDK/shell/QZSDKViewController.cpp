// The root screen's creation, home screen, image scaling, appearance, rotation and canvas answers.
// The tool flow is in QZSDKViewControllerTools.cpp, Done/Cancel/reset and the panels in
// QZSDKViewControllerFinish.cpp.
#include "TesselSDK/shell/QZSDKViewController.h"

#include "TesselSDK/packs/QZContentPackSelectionViewController.h"
#include "TesselSDK/shell/QZEditorClassRegistration.h"
#include "TesselSDK/shell/QZLogoButton.h"
#include "TesselSDK/shell/QZNavigationItemButton.h"
#include "TesselSDK/shell/QZSDKViewControllerLayouts.h"

#include "TesselSDKFoundation/QZGeometry.h"
#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDKFoundation/QZViewAnimation.h"
#include "TesselSDK/remote/QZABTestManager.h"
#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDK/remote/QZTesselContentManager.h"

#include "TesselSDKImaging/QZBitmapImageServer.h"

#include "Dispatch/Dispatch.h"
#include "Foundation/NSFoundationVersion.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSNotificationCenter.h"
#include "GLES/EAGLContext.h"
#include "UIKit/UIAlertView.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIBarButtonItem.h"
#include "UIKit/UIDevice.h"
#include "UIKit/UIScreen.h"

#include <cmath>
#include <mutex>
#include <numbers>

namespace {

// A block of the scaling server runs on the GL thread (a GPU server) or a CPU worker; either way
// it waits for the main queue here.
void syncToMain(const dispatch_block_t& block)
{
    if (EAGLContext::currentContext())
        EAGLContext::dispatchSyncToMainHandingOverCurrentContext(block);
    else
        dispatch_sync(dispatch_get_main_queue(), block);
}

bool usesIOS7Layout()
{
    return std::floor(NSFoundationVersionNumber()) > NSFoundationVersionNumber_iOS_6_1 &&
           !QZPhotoEditorCustomization::optionValueForKey("editor.usingIOS6SDK").boolValue();
}

constexpr const char* kQZOpenGLUnavailableMessage = "Photo editing needs OpenGL ES, which is not available here.";

// The staging warning shows once per process (main thread only).
bool stagingWarningShown = false;

}  // namespace

// ---- Creation ----

void QZSDKViewController::initialize()
{
    static std::once_flag once;
    std::call_once(once, [] {
        QZRegisterEditorClasses();
        QZSDKViewControllerRegisterLayouts();
    });
}

std::shared_ptr<QZSDKViewController> QZSDKViewController::makeWithImage(const std::shared_ptr<UIImage>& image)
{
    if (!image) return nullptr;
    return NSObject::create<QZSDKViewController>(
        [&](QZSDKViewController& controller) { return controller.initWithImage(image); });
}

bool QZSDKViewController::initWithNibName(const std::string& nibName, std::shared_ptr<NSBundle> bundle)
{
    initialize();
    if (!QZViewController::initWithNibName(nibName, std::move(bundle))) return false;
    shouldResizeImage_ = true;
    shouldResizeImageWithPlaceholer_ = false;
    glInstance_ = QZOpenGLInstance::make(maximumEditingSize(), QopGLRenderingModeDefault, QZQueueTypeSDK);
    // The editing size always fits a context's limit: no instance means no context.
    if (!glInstance_) setupFailure_ = QZLocalizedString(kQZOpenGLUnavailableMessage);
    session_ = QZPhotoEditorSession::make();
    session_->setOpen(true);
    presentResetTarget_ = NSObject::create<NSObject>();
    removeResetTarget_ = NSObject::create<NSObject>();
    NSNotificationCenter::defaultCenter()->addObserver(self(), &QZSDKViewController::newContentAvailable,
                                                       QZPhotoEditorControllerContentPackAvailabilityNotification);
    return true;
}

std::string QZSDKViewController::nibNameForCurrentDevice()
{
    std::string name;
    if (UIDevice::currentDevice()->userInterfaceIdiom() == UIUserInterfaceIdiomPad) {
        const UIInterfaceOrientation orientation = UIApplication::sharedApplication()->statusBarOrientation();
        name = orientation == UIInterfaceOrientationPortrait || orientation == UIInterfaceOrientationPortraitUpsideDown
                   ? "QZSDKViewController_iPad"
                   : "QZSDKViewController_iPad_landscape";
    } else {
        name = UIScreen::mainScreen()->bounds().size.height == 568 ? "QZSDKViewController_iPhone_4_inch"
                                                                   : "QZSDKViewController_iPhone_3_5_inch";
    }
    if (usesIOS7Layout()) name += "_7";
    return name;
}

bool QZSDKViewController::initWithImage(const std::shared_ptr<UIImage>& image)
{
    if (!image) return false;
    if (!initWithNibName(nibNameForCurrentDevice(), QZSDKResources::resourceBundle())) return false;
    image_ = image;
    bordersEnabled_ = true;
    return true;
}

bool QZSDKViewController::initWithImage(const std::shared_ptr<UIImage>& image, const Value& options)
{
    const std::pair<const char*, const char*> keys[] = {
        {kQZPhotoEditorControllerToolsKey, "editor.toolOrder"},
        {kQZPhotoEditorControllerSupportedOrientationsKey, "editor.supportedOrientations"},
        {kQZPhotoEditorControllerBackgroundColorKey, "editor.canvasColor"},
    };
    for (const auto& [key, option] : keys)
        if (Value value = options[key]) QZPhotoEditorCustomization::setOptionValue(value, option);
    return initWithImage(image);
}

QZSDKViewController::~QZSDKViewController()
{
    NSNotificationCenter::defaultCenter()->removeObserver(this);
    unloadResourcesIfNeeded();
}

// ---- Bar buttons ----

std::shared_ptr<QZNavigationItemButton> QZSDKViewController::createLeftButton()
{
    const std::string title =
        !overridenCancelButtonTitle_.empty()
            ? overridenCancelButtonTitle_
            : QZLocalizedString(
                  QZPhotoEditorCustomization::optionValueForKey("editor.leftNavigationBarButtonTitle").stringValue());
    return QZNavigationItemButton::buttonWithTitle(title, QZNavigationItemButtonStyleCancel, self(),
                                                   &QZSDKViewController::cancelButtonPressed);
}

std::shared_ptr<QZNavigationItemButton> QZSDKViewController::createRightButton()
{
    const std::string title = QZLocalizedString(
        QZPhotoEditorCustomization::optionValueForKey("editor.rightNavigationBarButtonTitle").stringValue());
    return QZNavigationItemButton::buttonWithTitle(title, QZNavigationItemButtonStyleApply, self(),
                                                   &QZSDKViewController::doneButtonPressed);
}

std::shared_ptr<UIBarButtonItem> QZSDKViewController::leftBarItem() const
{
    return customNavigationItem() ? customNavigationItem()->leftBarButtonItem() : nullptr;
}

std::shared_ptr<UIBarButtonItem> QZSDKViewController::rightBarItem() const
{
    return customNavigationItem() ? customNavigationItem()->rightBarButtonItem() : nullptr;
}

void QZSDKViewController::setBarItemsEnabled(bool enabled)
{
    if (auto item = leftBarItem()) item->setEnabled(enabled);
    if (auto item = rightBarItem()) item->setEnabled(enabled);
}

// ---- viewDidLoad ----

void QZSDKViewController::viewDidLoad()
{
    QZAnalytics::setQuickLaunch(!quickLaunchKey_.empty());
    setTitle(QZLocalizedString("Photo Editor"));
    QZViewController::viewDidLoad();

    const std::shared_ptr<UIView>& root = view();
    root->setBackgroundColor(QZPhotoEditorCustomization::optionValueForKey("editor.statusBarColor").object<UIColor>());

    auto device = UIDevice::currentDevice();
    wasMonitoringBattery_ = device->isBatteryMonitoringEnabled();
    device->setBatteryMonitoringEnabled(true);
    QZAnalytics::resumeSession();

    auto item = customNavigationItem();
    item->setTextColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.navigationBarTextColor"));
    item->setTextShadowColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.navigationBarTextShadowColor"));
    if (navigationBar_) {
        if (auto barImage = QZSDKResources::imageNamed("navBar.png"))
            navigationBar_->setBackgroundImage(barImage->resizableImageWithCapInsets(UIEdgeInsetsMake(0, 1, 0, 1)));
        navigationBar_->setDelegate(std::static_pointer_cast<UINavigationBarDelegate>(self()));
        navigationBar_->pushNavigationItem(item, false);
    }
    item->setLeftBarButtonItem(UIBarButtonItem::makeWithCustomView(createLeftButton()));
    item->setRightBarButtonItem(UIBarButtonItem::makeWithCustomView(createRightButton()));

    resetGestureRecognizer_ = UIGestureRecognizer::recognizerWithTarget<UITapGestureRecognizer>(
        self(), &QZSDKViewController::handleTapGesture);
    resetGestureRecognizer_->setDelegate(std::static_pointer_cast<UIGestureRecognizerDelegate>(self()));
    root->addGestureRecognizer(resetGestureRecognizer_);
    resetGestureRecognizer_->setEnabled(false);

    const std::pair<const std::shared_ptr<UIImageView>*, const char*> shadows[] = {
        {&topShadowView_, "top_nav_shadow.png"}, {&bottomShadowView_, "bottom_nav_shadow.png"}};
    for (const auto& [shadowView, name] : shadows) {
        if (!*shadowView) continue;
        auto shadow = QZSDKResources::imageNamed(name);
        (*shadowView)->setImage(shadow ? shadow->stretchableImageWithLeftCapWidth(0, 0) : nullptr);
        (*shadowView)->setContentMode(UIViewContentModeScaleToFill);
    }

    if (scrollableImageView_ && scrollableImageView_->imageView()) {
        const auto& layer = scrollableImageView_->imageView()->layer();
        layer->setShadowColor(UIColor::blackColor()->CGColor());
        layer->setShadowOffset(CGSizeZero);
        layer->setShadowOpacity(0.5f);
        layer->setShadowRadius(3);
    }

    CGRect backdrop = root->bounds();
    if (usesIOS7Layout()) {
        backdrop.origin.y += 20;
        backdrop.size.height -= 20;
        if (statusBarView_)
            statusBarView_->setBackgroundColor(
                QZPhotoEditorCustomization::optionValueForKey("editor.statusBarColor").object<UIColor>());
    } else if (statusBarView_) {
        statusBarView_->setBackgroundColor(UIColor::clearColor());
    }
    canvasView_ = UIView::viewWithFrame(backdrop);
    canvasView_->layer()->setZPosition(-100000000);
    if (auto pattern = QZSDKResources::imageNamed("canvas.png"))
        canvasView_->setBackgroundColor(UIColor::colorWithPatternImage(pattern));
    canvasView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    root->addSubview(canvasView_);
    root->sendSubviewToBack(canvasView_.get());
    if (transparentBackground_) canvasView_->setAlpha(0);

    if (toolSelectionView_) {
        const CGRect strip = toolSelectionView_->bounds();
        auto logo = UIView::viewWithFrame<QZLogoButton>(
            CGRectMake(CGRectGetMaxX(strip) - 100, CGRectGetMaxY(strip) - 20, 100, 20));
        logo->addTarget(self(), &QZSDKViewController::poweredByTesselPressed, UIControlEventTouchUpInside);
        logo->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleTopMargin);
        toolSelectionView_->addSubview(logo);
        toolSelectionView_->setShouldShowFeedback(true);
        toolSelectionView_->setDelegate(std::static_pointer_cast<QZToolSelectionViewDelegate>(self()));
    }
    if (scrollableImageView_) {
        scrollableImageView_->setScrollingImageViewDelegate(
            std::static_pointer_cast<QZScrollingImageViewDelegate>(self()));
        scrollableImageView_->setBackgroundColor(UIColor::clearColor());
        scrollableImageView_->setTouchListeningEnabled(false);
        if (wheelView_) wheelView_->setCenter(scrollableImageView_->center());
    }

    setupImageWithDisplayCompletionBlock(nullptr);

    QZABTestManager::sharedManager()->reloadValues();
    QZTesselContentManager::sharedManager()->updateContentPacks();
    QZTesselContentManager::sharedManager()->updateMessages();

    // A quick-launched tool opens once the scaled photo is on the canvas (the end of the resize
    // above): opened now it would lay out its overlays and crop box over an image view of no size.
    attemptMessaging_ = quickLaunchKey_.empty();
}

void QZSDKViewController::presentQuickLaunchTool()
{
    if (quickLaunchKey_.empty() || quickLaunchToolPresented_) return;
    quickLaunchToolPresented_ = true;
    auto tool = toolViewControllerWithKey(quickLaunchKey_, quickLaunchContentPack_ == nullptr);
    if (tool && quickLaunchContentPack_) {
        if (auto packTool = std::dynamic_pointer_cast<QZContentPackSelectionViewController>(tool))
            packTool->presentDetaiIAPViewControllerOnAppearanceWithContentPack(quickLaunchContentPack_);
    }
    if (tool) presentToolViewController(tool, false);
}

// ---- Image set-up ----

void QZSDKViewController::setupImageWithDisplayCompletionBlock(std::function<void()> completion)
{
    auto canvas = scrollableImageView_;
    auto doneButton =
        rightBarItem() ? std::dynamic_pointer_cast<QZNavigationItemButton>(rightBarItem()->customView()) : nullptr;
    if (shouldResizeImage_) {
        if (canvas) canvas->setAlpha(0);
        if (doneButton) doneButton->setShowsDisabledState(true);
        if (auto item = rightBarItem()) item->setEnabled(false);
        imageFinishedResizing_ = false;
        CGFloat scale = 1.0f;
        QZCGSizeScaleToMaxSize(image_->size(), maximumEditingSize(), &scale);
        if (glInstance_)
            glInstance_->setInitialImageSize(CGSizeMake(image_->size().width * scale, image_->size().height * scale));
        if (shouldResizeImageWithPlaceholer_ && canvas) {
            canvas->setAlpha(1);
            canvas->setImageNeedsLayout(image_, true);
        }
    } else {
        if (wheelView_) {
            wheelView_->setAlpha(0);
            wheelView_->stopAnimating();
        }
        resizedImage_ = image_;
        imageFinishedResizing_ = true;
        if (glInstance_) glInstance_->setInitialImageSize(image_->size());
        if (canvas) canvas->setImageNeedsLayout(image_, true);
    }

    std::weak_ptr<QZSDKViewController> weakSelf = self();
    resizeImage(image_, [weakSelf, completion](std::shared_ptr<UIImage> scaled, CGFloat) {
        auto self = weakSelf.lock();
        if (!self || !scaled) return;
        auto scaledCanvas = self->scrollableImageView_;
        self->resizedImage_ = scaled;
        if (scaledCanvas) scaledCanvas->setImageNeedsLayout(scaled, true);
        if (completion) completion();
        self->imageFinishedResizing_ = true;
        if (auto item = self->rightBarItem()) {
            item->setEnabled(true);
            if (auto done = std::dynamic_pointer_cast<QZNavigationItemButton>(item->customView()))
                done->setShowsDisabledState(false);
        }
        self->session_->setEditingSize(scaled->size());
        if (auto instance = self->glInstance_) {
            instance->cacheCurrentSourceImage();
            if (scaledCanvas) instance->setRenderbufferFromOpenGLView(scaledCanvas->openGLView());
            instance->renderIdentityImageWithCompletion([weakSelf] {
                auto shown = weakSelf.lock();
                if (!shown || !shown->scrollableImageView_) return;
                shown->scrollableImageView_->showOpenGLView(true);
                shown->scrollableImageView_->setTouchListeningEnabled(true);
            });
        }
        self->presentQuickLaunchTool();
        const CGSize original = self->image_->size();
        QZAnalytics::reportEvent("image: scaled",
                                 Value::dictionary({{"originalSize", NSStringFromCGSize(original)},
                                                    {"newSize", NSStringFromCGSize(scaled->size())},
                                                    {"bucketSize", QZAnalytics::bucketStringForImageSize(original)}}));
        if (self->shouldResizeImage_) {
            QZPerformUIViewAnimation(
                0.2,
                [self] {
                    if (self->scrollableImageView_) self->scrollableImageView_->setAlpha(1);
                    if (self->wheelView_) self->wheelView_->setAlpha(0);
                },
                [weakSelf](bool) {
                    auto faded = weakSelf.lock();
                    if (!faded || !faded->wheelView_) return;
                    faded->wheelView_->stopAnimating();
                    faded->wheelView_->removeFromSuperview();
                });
        }
    });
}

void QZSDKViewController::resizeImage(const std::shared_ptr<UIImage>& image,
                                      std::function<void(std::shared_ptr<UIImage>, CGFloat)> completion)
{
    CGFloat scale = 1.0f;
    if (shouldResizeImage_) QZCGSizeScaleToMaxSize(image->size(), maximumEditingSize(), &scale);
    if (glInstance_)
        glInstance_->setInitialImageSize(CGSizeMake(image->size().width * scale, image->size().height * scale));

    auto server = QZBitmapImageServer::make(image->CGImage(), scale, image->imageOrientation(), glInstance_);
    if (!server) {
        NSLog("%s %@", "-[QZSDKViewController resizeImage:completion:]", "The image could not be scaled.");
        return;
    }
    server->drawImage();
    std::weak_ptr<QZSDKViewController> weakSelf = self();
    // The server is held by its own queued step; the completion lets it go once it has run.
    server->getProcessedImageAndData([weakSelf, scale, completion, server](CGImageRef cgImage, std::uint8_t* data) {
        std::shared_ptr<QZOpenGLInstance> instance;
        syncToMain([&] {
            if (auto self = weakSelf.lock()) instance = self->glInstance_;
        });
        if (instance && cgImage && server->glInstance() == instance)
            instance->setInputImageDataFromGLQueue(
                data, CGSizeMake(CGFloat(CGImageGetWidth(cgImage)), CGFloat(CGImageGetHeight(cgImage))), true);
        syncToMain([&] {
            auto scaled = cgImage ? UIImage::imageWithCGImage(cgImage, 1, UIImageOrientationUp) : nullptr;
            if (completion) completion(scaled, scale);
            server->cancelProcessing();
        });
    });
}

// ---- Appearing and disappearing ----

void QZSDKViewController::resetStagingWarningForTesting()
{
    stagingWarningShown = false;
}

void QZSDKViewController::viewWillAppear(bool animated)
{
    QZViewController::viewWillAppear(animated);
    if (stagingWarningShown) return;
    if (!QZPhotoEditorCustomization::optionValueForKey("editor.useTDVStagingEnvironment").boolValue()) return;
    stagingWarningShown = true;
    std::shared_ptr<NSError> error;
    QZPhotoEditorCustomization::checkForResourceBundleError(&error);
    if (error) UIAlertView::make("Customization Warning", error->localizedDescription(), {}, "Ok")->show();
    UIAlertView::make("Warning", "This app currently points to the staging environment of the content service.", {},
                      "OK")
        ->show();
}

void QZSDKViewController::viewWillDisappear(bool animated)
{
    QZViewController::viewWillDisappear(animated);
    UIDevice::currentDevice()->setBatteryMonitoringEnabled(wasMonitoringBattery_);
    if (!toolViewController_) {
        unloadResourcesIfNeeded();
        QZAnalytics::finalizeSession();
    }
}

UIStatusBarStyle QZSDKViewController::preferredStatusBarStyle()
{
    return UIStatusBarStyle(QZPhotoEditorCustomization::optionValueForKey("editor.statusBarStyle").integerValue());
}

void QZSDKViewController::didReceiveMemoryWarning()
{
    QZViewController::didReceiveMemoryWarning();
    if (toolViewController_) toolViewController_->didReceiveMemoryWarning();
    QZSDKResources::unloadResources();
}

// ---- Rotation ----

UIInterfaceOrientationMask QZSDKViewController::interfaceOrientationMaskForOrientation(NSInteger orientation)
{
    return orientation >= 1 && orientation <= 4 ? UIInterfaceOrientationMask(1) << orientation : 0;
}

UIInterfaceOrientationMask QZSDKViewController::supportedInterfaceOrientations()
{
    Value orientations = QZPhotoEditorCustomization::optionValueForKey("editor.supportedOrientations");
    if (orientations.count() == 0) orientations = Value::array({Value(1)});
    UIInterfaceOrientationMask mask = 0;
    for (std::size_t i = 0; i < orientations.count(); ++i)
        mask |= interfaceOrientationMaskForOrientation(orientations[i].integerValue());
    return mask;
}

bool QZSDKViewController::shouldAutorotateToInterfaceOrientation(UIInterfaceOrientation orientation)
{
    const Value orientations = QZPhotoEditorCustomization::optionValueForKey("editor.supportedOrientations");
    bool allowed = false;
    for (std::size_t i = 0; i < orientations.count(); ++i)
        allowed = allowed || orientations[i].integerValue() == NSInteger(orientation);
    if (allowed && toolViewController_)
        allowed = toolViewController_->shouldAutorotateToInterfaceOrientation(orientation);
    return allowed;
}

void QZSDKViewController::willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration)
{
    QZViewController::willRotateToInterfaceOrientation(orientation, duration);
    if (scrollableImageView_) scrollableImageView_->setNeedsLayout();
    if (toolViewController_) toolViewController_->willRotateToInterfaceOrientation(orientation, duration);
}

void QZSDKViewController::willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration)
{
    QZViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
    if (scrollableImageView_) scrollableImageView_->willAnimateRotationToInterfaceOrientation(orientation, duration);
    if (toolViewController_) toolViewController_->willAnimateRotationToInterfaceOrientation(orientation, duration);
}

void QZSDKViewController::didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation)
{
    QZViewController::didRotateFromInterfaceOrientation(orientation);
    if (toolViewController_) toolViewController_->didRotateFromInterfaceOrientation(orientation);
}

CGAffineTransform QZSDKViewController::getContentTransformFromInterfaceOrientation(NSInteger from, NSInteger to)
{
    constexpr float pi = std::numbers::pi_v<float>;
    const auto is = [&](NSInteger f, NSInteger t) { return from == f && to == t; };
    if (is(2, 3) || is(3, 1) || is(1, 4) || is(4, 2)) return CGAffineTransformMakeRotation(-pi / 2);
    if (is(2, 1) || is(1, 2) || is(3, 4) || is(4, 3)) return CGAffineTransformMakeRotation(pi);
    if (is(2, 4) || is(4, 1) || is(1, 3) || is(3, 2)) return CGAffineTransformMakeRotation(pi / 2);
    return CGAffineTransformIdentity;
}

// ---- Canvas ----

void QZSDKViewController::imageViewBeganZooming(QZScrollingImageView* canvas)
{
    if (toolViewController_) toolViewController_->imageViewBeganZooming(canvas);
}

void QZSDKViewController::imageViewStoppedZooming(QZScrollingImageView* canvas)
{
    if (toolViewController_) toolViewController_->imageViewStoppedZooming(canvas);
}

void QZSDKViewController::imageViewBeganDragging(QZScrollingImageView* canvas)
{
    if (toolViewController_) toolViewController_->imageViewBeganDragging(canvas);
}

void QZSDKViewController::imageViewStoppedDragging(QZScrollingImageView* canvas)
{
    if (toolViewController_) toolViewController_->imageViewStoppedDragging(canvas);
}

void QZSDKViewController::imageViewDidZoom(QZScrollingImageView* canvas)
{
    if (scrollableImageView_ && scrollableImageView_->imageView() && scrollableImageView_->zoomScale() > 0)
        scrollableImageView_->imageView()->layer()->setShadowRadius(6 / scrollableImageView_->zoomScale());
    if (toolViewController_) toolViewController_->imageViewDidZoom(canvas);
}

std::optional<bool> QZSDKViewController::imageViewIsPointInsideEvent(QZScrollingImageView* canvas, CGPoint point,
                                                                     const UIEvent*)
{
    const CGRect frame = canvas->frame();
    const CGFloat d = CGRectGetMinX(frame) - CGRectGetMinX(view()->bounds());
    // The point is the canvas's own; the grown frame is its superview's.
    const CGPoint inSuperview = CGPointMake(point.x - canvas->bounds().origin.x + frame.origin.x,
                                            point.y - canvas->bounds().origin.y + frame.origin.y);
    return CGRectContainsPoint(CGRectInset(frame, -d, -d), inSuperview);
}
