#include "TesselSDK/tools/meme/QZMemeViewController.h"

#include "TesselSDK/tools/QZDrawingBlend.h"

#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDKFoundation/QZSDKResources.h"

#include "TesselSDKImaging/Modules/QZBlockModule.h"
#include "TesselSDKImaging/Processors/QZMemeProcessor.h"
#include "TesselSDKImaging/QZBitmap.h"

#include "CoreText/CTFontManager.h"
#include "Foundation/NSBundle.h"
#include "Foundation/NSLog.h"
#include "UIKit/UIGraphics.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

constexpr CGFloat kFieldInset = 10;
constexpr CGFloat kFieldHeight = 37;
// The panel's height less what the two fields and their margins take, shared in three gaps.
constexpr CGFloat kFieldsAndMargins = 74;
constexpr CGFloat kToolbarHeight = 44;
constexpr UIEdgeInsets kApplyCaps{0, 10, 0, 10};
constexpr double kScrollSeconds = 0.3;
constexpr CGFloat kScrollTolerance = 0.01f;

CGFloat finiteOrZero(CGFloat value)
{
    return std::isfinite(value) ? value : 0;
}

CGRect fractionOf(CGRect box, CGRect of)
{
    return CGRectMake(finiteOrZero(box.origin.x / of.size.width), finiteOrZero(box.origin.y / of.size.height),
                      finiteOrZero(box.size.width / of.size.width), finiteOrZero(box.size.height / of.size.height));
}

// The caption face's file joins the fonts layout may use, once per process. Captions draw by the
// face's name either way; a failure is only logged.
void registerMemeFontOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        std::shared_ptr<NSBundle> bundle = QZSDKResources::resourceBundle();
        std::optional<std::string> path = bundle ? bundle->pathForResource("Impact", "ttf") : std::nullopt;
        CGDataProviderRef provider = path ? CGDataProviderCreateWithFilename(*path) : nullptr;
        CGFontRef font = CGFontCreateWithDataProvider(provider);
        CGDataProviderRelease(provider);
        if (!CTFontManagerRegisterGraphicsFont(font, nullptr))
            NSLog("%s %@", "-[QZMemeViewController viewDidLoad]", "meme font unable to load");
        CGFontRelease(font);
    });
}

}  // namespace

QZMemeViewController::~QZMemeViewController()
{
    if (contextForGL_) CGContextRelease(contextForGL_);
}

QZOverlayViewFactory QZMemeViewController::scrollableOverlayViewClass() const
{
    return [](CGRect frame) -> std::shared_ptr<QZView> { return UIView::viewWithFrame<QZMemeOverlayView>(frame); };
}

std::string QZMemeViewController::customizationKeyPath() const
{
    return QZToolViewController::customizationKeyPath() + ".meme";
}

std::shared_ptr<QZMemeOverlayView> QZMemeViewController::memeOverlayView() const
{
    return std::dynamic_pointer_cast<QZMemeOverlayView>(scrollableOverlayView());
}

// ---- View lifecycle ----

void QZMemeViewController::viewDidLoad()
{
    QZToolViewController::viewDidLoad();
    layoutTextFields();
    registerMemeFontOnce();
    if (auto overlay = memeOverlayView()) {
        overlay->createFont();
        overlay->startObservingKeyboard();
        overlay->setScrollingImageView(scrollableImageView());
        overlay->setDelegate(std::static_pointer_cast<QZMemeOverlayViewDelegate>(self<QZMemeViewController>()));
        overlay->setScale(1);
    }
    activeTextBox_ = QZMemeTextBoxNone;
    makeDrawingSurface();
    makeKeyboardToolbar();
}

void QZMemeViewController::layoutTextFields()
{
    const CGRect b = view()->bounds();
    const CGFloat H = b.size.height, W = b.size.width;
    const CGFloat g = (H - kFieldsAndMargins) / 3;
    auto me = std::static_pointer_cast<QZMemeTextFieldDelegate>(self<QZMemeViewController>());
    const CGRect frame = CGRectMake(kFieldInset, kFieldInset, W - 2 * kFieldInset, kFieldHeight);
    topTextField_ = UIView::viewWithFrame<QZMemeTextField>(frame);
    bottomTextField_ = UIView::viewWithFrame<QZMemeTextField>(frame);
    topTextField_->setCenter(CGPointMake(W / 2, g + kFieldHeight / 2 + 2));
    bottomTextField_->setCenter(CGPointMake(W / 2, H - g - kFieldHeight / 2));
    topTextField_->setTopTextField(true);
    bottomTextField_->setTopTextField(false);
    for (const auto& field : {topTextField_, bottomTextField_}) {
        field->setDelegate(me);
        view()->addSubview(field);
    }
}

void QZMemeViewController::makeDrawingSurface()
{
    auto gl = glInstance();
    if (!gl) return;
    const CGSize size = gl->currentImageSize();
    const double bytes = double(kQZBytesPerPixel) * double(size.width) * double(size.height);
    if (bytes > 0 && std::isfinite(bytes)) {
        bitmapData_.assign(std::size_t(bytes), 0);
        contextForGL_ = QZCGContextCreateWithData(bitmapData_.data(), size);
    }
    if (!contextForGL_) {
        bitmapData_.clear();
        return;
    }
    bitmapSize_ = size;
    CGContextConcatCTM(contextForGL_, CGAffineTransformMake(1, 0, 0, -1, 0, size.height));
}

void QZMemeViewController::makeKeyboardToolbar()
{
    auto me = self<QZMemeViewController>();
    keyboardToolbar_ =
        UIView::viewWithFrame<UIToolbar>(CGRectMake(0, 0, topTextField_->frame().size.width, kToolbarHeight));
    keyboardToolbar_->setBarStyle(UIBarStyleBlackTranslucent);
    // The platform's own words, not translated.
    prevBBI_ =
        UIBarButtonItem::makeWithTitle("Prev", UIBarButtonItemStyleBordered, me, &QZMemeViewController::prevPressed);
    nextBBI_ =
        UIBarButtonItem::makeWithTitle("Next", UIBarButtonItemStyleBordered, me, &QZMemeViewController::nextPressed);
    auto done = UIBarButtonItem::makeWithBarButtonSystemItem(UIBarButtonSystemItemDone, me,
                                                             &QZMemeViewController::dismissKeyboard);
    done->setBackgroundImage(QZSDKResources::stretchableImageNamed("apply.png", kApplyCaps), UIControlStateNormal,
                             UIBarMetricsDefault);
    done->setBackgroundImage(QZSDKResources::stretchableImageNamed("apply-active.png", kApplyCaps),
                             UIControlStateHighlighted, UIBarMetricsDefault);
    keyboardToolbar_->setItems(
        {prevBBI_, nextBBI_, UIBarButtonItem::makeWithBarButtonSystemItem(UIBarButtonSystemItemFlexibleSpace), done});
    if (auto overlay = memeOverlayView()) overlay->setInputAccessoryView(keyboardToolbar_);
}

void QZMemeViewController::viewDidAppear(bool animated)
{
    QZToolViewController::viewDidAppear(animated);
    QZAnalytics::reportScreen("Meme");
}

void QZMemeViewController::viewWillDisappear(bool animated)
{
    if (auto overlay = memeOverlayView()) {
        overlay->endEditing(true);
        overlay->stopObservingKeyboard();
    }
    QZToolViewController::viewWillDisappear(animated);
}

// ---- Apply and back ----

void QZMemeViewController::applyButtonPressed()
{
    if (auto overlay = memeOverlayView()) {
        overlay->stopObservingKeyboard();
        overlay->scrollToOriginalPosition();
    }
    QZToolViewController::applyButtonPressed();
}

void QZMemeViewController::backButtonPressed()
{
    if (auto overlay = memeOverlayView()) {
        overlay->stopObservingKeyboard();
        overlay->scrollToOriginalPosition();
    }
    QZToolViewController::backButtonPressed();
}

void QZMemeViewController::finishApplying()
{
    if (finishQueued_ || wasBackButtonPressed() || successfullyApplied()) return;
    setRenderStartDate();
    auto overlay = memeOverlayView();
    auto canvas = scrollableImageView();
    auto imageView = canvas ? canvas->imageView() : nullptr;
    const CGRect B = imageView ? imageView->bounds() : CGRectZero;
    const CGRect topBox = CGRectMake(B.origin.x, B.origin.y, B.size.width, B.size.height / 3);
    const CGRect bottomBox = CGRectMake(B.origin.x, B.size.height * 2 / 3, B.size.width, B.size.height / 3);
    topRect_ = fractionOf(topBox, B);
    bottomRect_ = fractionOf(bottomBox, B);
    scale_ = finiteOrZero(1 / std::max(B.size.width, B.size.height));
    if (overlay) {
        topText_ = overlay->topTextView()->text();
        topFontSize_ = overlay->topTextView()->fontSize();
        bottomText_ = overlay->bottomTextView()->text();
        bottomFontSize_ = overlay->bottomTextView()->fontSize();
        if (contextForGL_) {
            UIGraphicsPushContext(contextForGL_);
            overlay->drawTextBox(QZMemeTopTextBox, topBox);
            overlay->drawTextBox(QZMemeBottomTextBox, bottomBox);
            UIGraphicsPopContext();
        }
    }

    auto server = highResolutionServer();
    if (!server || bitmapData_.empty()) {
        setRenderEndDate();
        QZToolViewController::finishApplying();
        return;
    }
    finishQueued_ = true;
    std::weak_ptr<QZMemeViewController> weak = weakSelf<QZMemeViewController>();
    QZBlendDrawingAndPresent(server, bitmapData_.data(), bitmapSize_, glInstance(), [weak] {
        auto screen = weak.lock();
        if (!screen) return;
        screen->finishQueued_ = false;
        screen->setRenderEndDate();
        screen->QZToolViewController::finishApplying();
    });
}

std::shared_ptr<QZModule> QZMemeViewController::outputModule()
{
    const std::string topText = topText_, bottomText = bottomText_;
    const CGFloat topFontSize = topFontSize_, bottomFontSize = bottomFontSize_, scale = scale_;
    const CGRect topRect = topRect_, bottomRect = bottomRect_;
    return QZBlockModule::moduleWithBlock([=](QZProcessorList& processors) {
        auto processor = QZMemeProcessor::make();
        processor->setTopText(topText);
        processor->setBottomText(bottomText);
        processor->setScale(scale);
        processor->setBottomFontSize(bottomFontSize);
        processor->setTopFontSize(topFontSize);
        processor->setTopRect(topRect);
        processor->setBottomRect(bottomRect);
        processors.push_back(processor);
    });
}

// ---- Typing ----

void QZMemeViewController::nextPressed()
{
    auto overlay = memeOverlayView();
    if (overlay && overlay->topTextView()->isFirstResponder())
        overlay->bottomTextView()->becomeFirstResponder();
    else
        dismissKeyboard();
}

void QZMemeViewController::prevPressed()
{
    if (auto overlay = memeOverlayView()) overlay->topTextView()->becomeFirstResponder();
}

void QZMemeViewController::dismissKeyboard()
{
    if (auto overlay = memeOverlayView()) overlay->endEditing(true);
    activeTextBox_ = QZMemeTextBoxNone;
}

CGPoint QZMemeViewController::createContentOffset() const
{
    auto canvas = scrollableImageView();
    if (!canvas) return CGPointZero;
    const CGSize content = canvas->contentSize(), b = canvas->bounds().size;
    const CGFloat x = content.width > b.width ? (content.width - b.width) * 0.5f : 0;
    const CGFloat y = activeTextBox_ == QZMemeTopTextBox ? 0 : std::max<CGFloat>(content.height - b.height, 0);
    return CGPointMake(x, y);
}

void QZMemeViewController::scrollToTextBox()
{
    if (activeTextBox_ == QZMemeTextBoxNone) return;
    auto canvas = scrollableImageView();
    if (!canvas) return;
    const CGPoint target = createContentOffset();
    std::weak_ptr<QZScrollingImageView> weakCanvas = canvas;
    UIView::animateWithDuration(
        kScrollSeconds, 0, UIViewAnimationOptionBeginFromCurrentState, [&] { canvas->setContentOffset(target); },
        [weakCanvas, target](bool) {
            auto scrolled = weakCanvas.lock();
            if (!scrolled) return;
            const CGPoint now = scrolled->contentOffset();
            // Moved on meanwhile (a zoom, a drag's end): once more.
            if (std::fabs(now.x - target.x) > kScrollTolerance || std::fabs(now.y - target.y) > kScrollTolerance)
                UIView::animateWithDuration(kScrollSeconds, 0, UIViewAnimationOptionBeginFromCurrentState,
                                            [&] { scrolled->setContentOffset(target); });
        });
}

void QZMemeViewController::imageViewStoppedDragging(QZScrollingImageView*)
{
    scrollToTextBox();
}

void QZMemeViewController::memeOverlayDidBeginEditing(QZMemeOverlayView*, QZMemeTextBoxType box)
{
    activeTextBox_ = box;
    prevBBI_->setEnabled(box == QZMemeBottomTextBox);
    nextBBI_->setEnabled(true);
    scrollToTextBox();
}

void QZMemeViewController::memeOverlayDidEndEditing(QZMemeOverlayView* overlay)
{
    topTextField_->setText(overlay->topTextView()->text());
    bottomTextField_->setText(overlay->bottomTextView()->text());
}

void QZMemeViewController::memeTextFieldDidClear(QZMemeTextField* field)
{
    auto overlay = memeOverlayView();
    if (!overlay) return;
    (field == topTextField_.get() ? overlay->topTextView() : overlay->bottomTextView())->clearText();
}

void QZMemeViewController::memeTextFieldDidTap(QZMemeTextField* field)
{
    auto overlay = memeOverlayView();
    if (!overlay) return;
    (field == topTextField_.get() ? overlay->topTextView() : overlay->bottomTextView())->becomeFirstResponder();
}
