#include "TesselSDK/tools/QZCropViewController.h"

#include "TesselSDK/tools/QZCropConveyorViewCell.h"

#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZViewAnimation.h"

#include "Dispatch/Dispatch.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSString.h"
#include "GLES/EAGLContext.h"
#include "UIKit/UIDevice.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kCanvasAnimationSeconds = 0.3;

}  // namespace

bool QZCropViewController::initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance, Value settings,
                                              bool quickLaunch)
{
    if (!QZConveyorViewController::initWithGLInstance(glInstance, std::move(settings), quickLaunch)) return false;
    cropModule_ = QZCropModule::make();
    setWillHandleImageViewResizing(true);
    return true;
}

QZOverlayViewFactory QZCropViewController::staticOverlayViewClass() const
{
    return [](CGRect frame) -> std::shared_ptr<QZView> { return UIView::viewWithFrame<QZCropOverlayView>(frame); };
}

std::string QZCropViewController::customizationKeyPath() const
{
    return QZConveyorViewController::customizationKeyPath() + ".crop";
}

CGAffineTransform QZCropViewController::imageViewTransform() const
{
    if (UIDevice::currentDevice()->userInterfaceIdiom() == UIUserInterfaceIdiomPad) return CGAffineTransformIdentity;
    return CGAffineTransformMakeScale(kPhoneCanvasScale, kPhoneCanvasScale);
}

std::shared_ptr<QZCropOverlayView> QZCropViewController::cropOverlayView() const
{
    return std::dynamic_pointer_cast<QZCropOverlayView>(staticOverlayView());
}

// ---- View lifecycle ----

void QZCropViewController::loadView()
{
    setCellWidth(customizationOptionForKey("cellWidth").floatValue());
    QZConveyorViewController::loadView();
}

void QZCropViewController::viewDidLoad()
{
    QZConveyorViewController::viewDidLoad();
    buildPresets();
    if (auto overlay = cropOverlayView())
        overlay->setDelegate(std::static_pointer_cast<QZCropOverlayViewDelegate>(self<QZCropViewController>()));
    conveyorView()->setDoesDelayContentTouches(false);
    *cropBoxIsRotated_ = false;
}

void QZCropViewController::buildPresets()
{
    const auto gl = glInstance();
    const CGSize size = gl ? gl->currentImageSize() : CGSizeZero;
    const bool isLandscape = size.width > size.height;
    const bool isStrict = !customizationOptionForKey("enableInvert").boolValue();

    std::vector<Value> dictionaries;
    if (customizationOptionForKey("enableCustom").boolValue())
        dictionaries.push_back(Value::dictionary({{kQZCropPresetName, Value(QZLocalizedString("Custom"))},
                                                  {kQZCropPresetWidth, Value(-size.width)},
                                                  {kQZCropPresetHeight, Value(-size.height)}}));
    if (customizationOptionForKey("enableOriginal").boolValue())
        dictionaries.push_back(Value::dictionary({{kQZCropPresetName, Value(QZLocalizedString("Original"))},
                                                  {kQZCropPresetWidth, Value(size.width)},
                                                  {kQZCropPresetHeight, Value(size.height)}}));
    const Value listed = customizationOptionForKey("presets");
    for (std::size_t i = 0; i < listed.count(); ++i) dictionaries.push_back(listed[i]);

    presets_.clear();
    for (const Value& dictionary : dictionaries) {
        auto preset = QZCropPreset::make(dictionary, isLandscape, isStrict);
        preset->setReversed(cropBoxIsRotated_);
        presets_.push_back(preset);
    }
}

void QZCropViewController::viewWillAppear(bool animated)
{
    QZConveyorViewController::viewWillAppear(animated);
    setZoomEnabled(false);
    // The overlay takes no touches of its own; its box still does.
    if (const auto& overlay = staticOverlayView()) overlay->setUserInteractionEnabled(false);
}

void QZCropViewController::viewDidAppear(bool animated)
{
    QZConveyorViewController::viewDidAppear(animated);
    const Value setting = settings()["defaultPresetIndex"];
    NSInteger index = setting.isNumber() ? setting.integerValue() : 0;
    const NSInteger count = NSInteger(presets_.size());
    if (index < 0 || index >= count) {
        NSLog("%s %@", "-[QZCropViewController viewDidAppear:]",
              NSStringWithFormat("Invalid default preset index: %i", index));
        // An unselected box would stay hidden at its first size while Apply cropped to it: the
        // first preset is shown instead.
        index = 0;
    }
    if (count > 0) {
        // The strip takes its size and insets in its first layout: centring a row before that
        // leaves it showing the filler.
        conveyorView()->layoutIfNeeded();
        conveyorView()->selectItemAtIndex(index, false);
    } else if (auto overlay = cropOverlayView()) {
        // No preset at all: the box covers the whole photo and resizes freely.
        overlay->setConstrainToProportions(false);
        overlay->configureWithSize(overlay->maximumCropRect().size, false);
    }
    QZAnalytics::reportScreen("Crop");
}

void QZCropViewController::willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration)
{
    QZConveyorViewController::willRotateToInterfaceOrientation(orientation, duration);
    if (auto overlay = cropOverlayView()) overlay->willRotateToInterfaceOrientation(orientation, duration);
    conveyorView()->willRotateToInterfaceOrientation(orientation, duration);
    setZoomEnabled(true);
}

void QZCropViewController::willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation,
                                                                     double duration)
{
    QZConveyorViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
    // The canvas has started zooming out to the new fit over time; the box is fitted to the
    // photo's new rectangle now, so the canvas takes its new zoom at once (inside the turn's
    // animation, which still animates it).
    if (auto canvas = scrollableImageView()) canvas->zoomOutAnimated(false);
    if (auto overlay = cropOverlayView()) overlay->willAnimateRotationToInterfaceOrientation(orientation, duration);
    // The strip takes its new insets in its layout: it recentres on the selected preset after.
    conveyorView()->layoutIfNeeded();
    conveyorView()->willAnimateRotationToInterfaceOrientation(orientation, duration);
}

void QZCropViewController::didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation)
{
    setZoomEnabled(false);
    QZConveyorViewController::didRotateFromInterfaceOrientation(orientation);
}

// ---- The strip ----

NSInteger QZCropViewController::numberOfItemsInConveyorView(QZConveyorView*)
{
    return NSInteger(presets_.size());
}

std::shared_ptr<QZConveyorViewCell> QZCropViewController::conveyorViewCellForIndex(QZConveyorView* view,
                                                                                   NSInteger index)
{
    if (!view || index < 0 || std::size_t(index) >= presets_.size()) return nullptr;
    auto cell = std::dynamic_pointer_cast<QZCropConveyorViewCell>(
        view->dequeueReusableCellWithIdentifier(kCellReuseIdentifier));
    if (!cell) cell = QZConveyorViewCell::cellWithReuseIdentifier<QZCropConveyorViewCell>(kCellReuseIdentifier);
    if (!cell) return nullptr;
    cell->setPreset(presets_[std::size_t(index)]);
    // The strip marks only the cells on screen when it selects: one made later (the first
    // selection comes before the strip has shown any) takes its look here.
    const NSInteger selected = view->selectedIndex();
    if (selected != NSNotFound && index == selected) cell->setDepressed(true);
    if (selected != NSNotFound && index == selected - 1) cell->setAdjacent(true);
    return cell;
}

void QZCropViewController::conveyorViewDidSelectItemAtIndex(QZConveyorView*, NSInteger index)
{
    if (index < 0 || std::size_t(index) >= presets_.size()) return;
    setSelectedPreset(presets_[std::size_t(index)], true);
}

void QZCropViewController::setSelectedPreset(const std::shared_ptr<QZCropPreset>& preset, bool animated)
{
    if (!preset) return;
    if (preset == selectedPreset()) {
        if (preset->isStrict()) return;
        *cropBoxIsRotated_ = !*cropBoxIsRotated_;
        for (const auto& cell : conveyorView()->visibleCells()) cell->layoutSubviews();
    } else {
        selectedPreset_ = preset;
    }
    if (auto overlay = cropOverlayView()) overlay->configureForPreset(*preset, animated, *cropBoxIsRotated_);
}

CGRect QZCropViewController::cropOverlayViewBoundsForCropBox(QZCropOverlayView* overlay)
{
    auto canvas = scrollableImageView();
    const std::shared_ptr<UIImageView> imageView = canvas ? canvas->imageView() : nullptr;
    if (!overlay || !imageView) return CGRectZero;
    return imageView->convertRectToView(imageView->bounds(), overlay);
}

// ---- Applying ----

CGRect QZCropViewController::imageRectForCropRect(CGRect rect, CGSize imageSize)
{
    // Origin and size each rounded to whole pixels. Taking in every pixel an edge touches would
    // add a pixel to a side whenever an edge is off a whole pixel: float noise from the zoom and
    // the phone's scale (127.99998 for 128), or a square centred on a half pixel, and a 1:1 crop
    // would come out 769 x 768.
    const CGRect whole = CGRectMake(std::round(rect.origin.x), std::round(rect.origin.y), std::round(rect.size.width),
                                    std::round(rect.size.height));
    // The box stays inside the photo's rectangle centred in the overlay, which is not quite the
    // photo when the canvas is not centred there: what lies past the photo is no crop.
    return CGRectIntersection(whole, QZCGRectWithSize(imageSize));
}

void QZCropViewController::finishApplying()
{
    if (wasBackButtonPressed() || successfullyApplied()) return;
    const auto overlay = cropOverlayView();
    const auto box = overlay ? overlay->cropBoxView() : nullptr;
    const auto canvas = scrollableImageView();
    const std::shared_ptr<UIImageView> imageView = canvas ? canvas->imageView() : nullptr;
    const auto gl = glInstance();
    const auto& server = highResolutionServer();
    const CGSize imageSize = imageView ? imageView->bounds().size : CGSizeZero;
    const CGRect content = box ? box->contentRect() : CGRectZero;
    const CGRect q =
        imageView ? imageRectForCropRect(overlay->convertRectToView(content, imageView.get()), imageSize) : CGRectNull;
    if (!gl || !server || CGRectIsNull(q) || CGRectIsEmpty(q)) {
        // Nothing to crop by: the photo goes on whole, as the module's own rectangle says.
        NSLog("%s %@", "-[QZCropViewController finishApplying]", "No crop rectangle: the photo is kept whole.");
        QZConveyorViewController::finishApplying();
        return;
    }

    const CGRect ob = overlay->bounds();
    const CGFloat s = std::min(ob.size.width / content.size.width, ob.size.height / content.size.height);
    const CGFloat z = std::max(canvas->zoomScale(), 1.0f);
    const CGFloat k = z / s;
    const CGPoint boxCentre = QZCGRectGetCenter(content), overlayCentre = QZCGRectGetCenter(ob);
    const CGPoint t = CGPointMake(boxCentre.x - overlayCentre.x, boxCentre.y - overlayCentre.y);

    setRenderStartDate();
    gl->setDestinationImageSizeAndClear(q.size);
    const CGFloat w = imageSize.width, h = imageSize.height;
    cropModule_->setRect(CGRectMake(q.origin.x / w, q.origin.y / h, q.size.width / w, q.size.height / h));
    cropModule_->setScaledSize(CGSizeMake(q.size.width / w, q.size.height / h));
    server->runModule(cropModule_, false, nullptr);
    cropModule_->setIsHiRes(true);

    // Queued before the root screen hears the finish, and committing on the GL queue: a
    // quick-launched root reads the image back at once, behind this block.
    std::weak_ptr<QZCropViewController> weakSelf = this->weakSelf<QZCropViewController>();
    std::weak_ptr<QZScrollingImageView> weakCanvas = canvas;
    std::weak_ptr<QZOpenGLInstance> weakGL = gl;
    const CGSize cropSize = q.size;
    server->runBlock([weakSelf, weakCanvas, weakGL, cropSize, t, k] {
        // The GL context is released while the main thread works on the canvas, whose GL view
        // may need it.
        EAGLContext::dispatchSyncToMainHandingOverCurrentContext([&] {
            if (auto shown = weakCanvas.lock()) shown->setImageSize(cropSize, false);
        });
        const auto instance = weakGL.lock();
        if (instance) instance->presentRenderbufferFromGLQueue();
        EAGLContext::dispatchSyncToMainHandingOverCurrentContext([&] {
            auto shown = weakCanvas.lock();
            if (!shown) return;
            // From where the box was, at its size, to the cropped photo filling the canvas.
            shown->setTransform(CGAffineTransformScale(CGAffineTransformMakeTranslation(t.x, t.y), k, k));
            QZPerformUIViewAnimation(
                kCanvasAnimationSeconds,
                [shown] {
                    shown->setTransform(CGAffineTransformIdentity);
                    shown->zoomOutAnimated(false);
                },
                nullptr);
        });
        if (instance) {
            instance->commitChangesFromGLQueue();
            instance->renderIdentityImageWithCompletionFromGLQueue(nullptr);
        }
        dispatch_async(dispatch_get_main_queue(), [weakSelf] {
            auto screen = weakSelf.lock();
            if (!screen) return;
            screen->setRenderEndDate();
            if (const auto& shownOverlay = screen->staticOverlayView()) {
                shownOverlay->setAlpha(0);
                shownOverlay->setUserInteractionEnabled(false);
            }
        });
    });

    setShouldWaitForGLCommit(true);
    QZConveyorViewController::finishApplying();
    setShouldWaitForGLCommit(false);
}
