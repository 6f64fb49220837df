#include "TesselSDK/tools/brush/QZColorSplashViewController.h"

#include "TesselSDK/tools/brush/QZBrushPreviewRender.h"

#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"

#include "TesselSDKImaging/Processors/QZColorSplashProcessor.h"

#include "UIKit/UIDevice.h"
#include "UIKit/UIFont.h"

namespace {

constexpr CGFloat kPhoneBrushControlWidth = 200;
constexpr CGFloat kControlTop = 12;
constexpr CGFloat kControlHeight = 64;
constexpr CGFloat kCaptionInset = 8;
// The brush's width on screen, at any zoom (the tool has no size strip).
constexpr CGFloat kSplashBrushSize = 30;
constexpr float kTrailAlpha = 0.5f;

std::shared_ptr<QZSelectiveBrushProcessor> makeSplashProcessor()
{
    return QZColorSplashProcessor::make();
}

}  // namespace

bool QZColorSplashViewController::initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance)
{
    if (!QZBrushViewController::initWithGLInstance(glInstance)) return false;
    processor_ = makeSplashProcessor();
    setShouldWaitForGLCommit(true);
    splashMode_ = QZColorSplashModeFree;
    return true;
}

// ---- Layout ----

void QZColorSplashViewController::loadView()
{
    QZBrushViewController::loadView();
    const std::shared_ptr<UIView>& view = this->view();
    const CGRect b = view->bounds();
    const bool pad = UIDevice::currentDevice()->userInterfaceIdiom() == UIUserInterfaceIdiomPad;
    const CGFloat brushWidth = pad ? b.size.width / 2 : kPhoneBrushControlWidth;
    const CGFloat eraserWidth = brushWidth / 2 + 8;
    // Three equal gaps: before, between and after the controls.
    const CGFloat gap = (b.size.width - brushWidth - eraserWidth) / 3;
    const auto delegate = std::static_pointer_cast<QZSegmentedControlDelegate>(self<QZColorSplashViewController>());
    const UIViewAutoresizing margins =
        UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleRightMargin;

    brushSegmentedControl_ = QZSegmentedControl::make(
        CGRectMake(CGRectGetMinX(b) + gap, kControlTop, brushWidth, kControlHeight),
        {"splash_free.png", "splash_smart.png"}, {"splash_free-active.png", "splash_smart-active.png"});
    // Before the delegate: the first choice is not reported.
    brushSegmentedControl_->pressButtonAtIndex(0);
    brushSegmentedControl_->setDelegate(delegate);
    brushSegmentedControl_->setAllowsDeselection(false);
    brushSegmentedControl_->setAutoresizingMask(margins);
    view->addSubview(brushSegmentedControl_);

    const CGRect brushFrame = brushSegmentedControl_->frame();
    const CGFloat captionWidth = (brushWidth - 16) / 2;
    const char* brushCaptions[] = {"Free Color", "Smart Color"};
    for (std::size_t i = 0; i < std::size(brushCaptions); ++i)
        captions_.push_back(addCaption(QZLocalizedString(brushCaptions[i]),
                                       CGRectGetMinX(brushFrame) + kCaptionInset + CGFloat(i) * captionWidth,
                                       captionWidth, CGRectGetMaxY(brushFrame)));

    eraserSegmentedControl_ =
        QZSegmentedControl::make(CGRectMake(CGRectGetMaxX(brushFrame) + gap, kControlTop, eraserWidth, kControlHeight),
                                 {"splash_eraser.png"}, {"splash_eraser-active.png"});
    eraserSegmentedControl_->setDelegate(delegate);
    eraserSegmentedControl_->setAllowsDeselection(false);
    eraserSegmentedControl_->setAutoresizingMask(margins);
    view->addSubview(eraserSegmentedControl_);
    const CGRect eraserFrame = eraserSegmentedControl_->frame();
    captions_.push_back(addCaption(QZLocalizedString("Eraser"), CGRectGetMinX(eraserFrame) + kCaptionInset,
                                   eraserWidth - 16, CGRectGetMaxY(eraserFrame)));

    // The captions sit below their controls, so a tap by a caption's text would miss the control:
    // the segments answer to the names of the modes.
    const std::vector<std::shared_ptr<QZSegmentButton>>& brushButtons = brushSegmentedControl_->buttons();
    if (brushButtons.size() == 2) {
        brushButtons[0]->setAccessibilityLabel(QZLocalizedString("Free"));
        brushButtons[1]->setAccessibilityLabel(QZLocalizedString("Smart"));
    }
    if (!eraserSegmentedControl_->buttons().empty())
        eraserSegmentedControl_->buttons()[0]->setAccessibilityLabel(QZLocalizedString("Erase"));

    // No size strip here: nothing tells the screen of sizes.
    sizeConveyorController()->setDelegate({});
}

std::shared_ptr<UILabel> QZColorSplashViewController::addCaption(const std::string& text, CGFloat x, CGFloat width,
                                                                 CGFloat controlMaxY)
{
    auto label = UIView::viewWithFrame<UILabel>(CGRectZero);
    label->setText(text);
    label->setFont(UIFont::boldSystemFontOfSize(12));
    label->setTextColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textColor"));
    label->setTextAlignment(NSTextAlignmentCenter);
    label->setShadowColor(QZPhotoEditorCustomization::colorOptionValueForKey("editor.textShadowColor"));
    label->setShadowOffset(CGSizeMake(0, 1));
    label->setBackgroundColor(UIColor::clearColor());
    label->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleWidth |
                               UIViewAutoresizingFlexibleRightMargin);
    const CGFloat textHeight = label->sizeThatFits(CGSizeMake(width, 10000)).height;
    // Its bottom edge halfway between the control's bottom and the tool view's.
    const CGFloat y = controlMaxY + ((CGRectGetMaxY(view()->bounds()) - controlMaxY) / 2 - textHeight);
    label->setFrame(CGRectIntegral(CGRectMake(x, y, width, textHeight)));
    view()->addSubview(label);
    return label;
}

void QZColorSplashViewController::viewDidLoad()
{
    QZBrushViewController::viewDidLoad();
    if (auto overlay = drawOverlayView()) {
        overlay->setBrushColor(UIColor::colorWithRed(1, 1, 1, 1));
        overlay->setHideDrawTrail(true);
        overlay->clearDrawing();
    }
    processStroke(nullptr);
}

void QZColorSplashViewController::viewDidAppear(bool animated)
{
    QZBrushViewController::viewDidAppear(animated);
    // On the trail, not the overlay: presenting the screen sets the overlay's own alpha after this.
    if (auto overlay = drawOverlayView()) overlay->imageView()->setAlpha(kTrailAlpha);
}

// ---- Modes ----

void QZColorSplashViewController::segmentedControlDidSelectItemAtIndex(QZSegmentedControl* control, NSInteger index)
{
    if (control == brushSegmentedControl_.get()) {
        if (index == 1)
            splashMode_ = QZColorSplashModeSmart;
        else if (index == 0)
            splashMode_ = QZColorSplashModeFree;
        if (eraserSegmentedControl_) eraserSegmentedControl_->deselectAll();
        return;
    }
    splashMode_ = QZColorSplashModeErase;
    if (brushSegmentedControl_) brushSegmentedControl_->deselectAll();
}

// ---- Strokes ----

void QZColorSplashViewController::didBeginStroke(const std::shared_ptr<QZBrushStroke>& stroke)
{
    QZBrushViewController::didBeginStroke(stroke);
    stroke->setColor(nullptr);
    stroke->setBrushSize(float(scaledSize(kSplashBrushSize)));
    stroke->setColorSplashMode(splashMode_);
}

void QZColorSplashViewController::didModifyStroke(const std::shared_ptr<QZBrushStroke>& stroke)
{
    QZBrushViewController::didModifyStroke(stroke);
    // Points that come during a render wait for the next one: it paints every point not yet painted.
    if (!rendering_) processStroke(stroke);
}

void QZColorSplashViewController::didFinishStroke(const std::shared_ptr<QZBrushStroke>& stroke)
{
    QZBrushViewController::didFinishStroke(stroke);
    stroke->setIsComplete(true);
    processStroke(stroke);
}

void QZColorSplashViewController::processStroke(const std::shared_ptr<QZBrushStroke>& stroke)
{
    rendering_ = true;
    std::weak_ptr<QZColorSplashViewController> weak = weakSelf<QZColorSplashViewController>();
    QZBrushPreviewRender(*this, *processor_, stroke, [weak] {
        auto screen = weak.lock();
        if (!screen) return;
        // One flag, not a count: the commit of an Apply queues behind every render all the same.
        screen->rendering_ = false;
        if (auto overlay = screen->drawOverlayView()) overlay->clearDrawing();
        screen->setReadyToApply(true);
        screen->setRenderEndDate();
    });
}

std::shared_ptr<QZModule> QZColorSplashViewController::outputModuleWithStrokes(QZBrushStrokeList strokes)
{
    if (strokes.empty()) return nullptr;
    return QZBrushReplayModule(makeSplashProcessor, std::move(strokes), processor_->maskSize());
}

void QZColorSplashViewController::finishApplying()
{
    if (strokes().empty() && !wasBackButtonPressed() && !successfullyApplied())
        if (auto gl = glInstance()) gl->renderIdentityImageWithCompletion(nullptr);
    QZBrushViewController::finishApplying();
}
