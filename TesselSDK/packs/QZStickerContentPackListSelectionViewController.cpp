#include "TesselSDK/packs/QZStickerContentPackListSelectionViewController.h"

#include "TesselSDK/packs/QZContentAppliedNotification.h"
#include "TesselSDK/packs/QZStickerContentPackDetailIAPViewController.h"
#include "TesselSDK/packs/QZStickerContentPackListIAPViewController.h"
#include "TesselSDK/packs/QZStickerContentPackListSelectionViewCell.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZManagedObjectClass.h"
#include "TesselSDK/remote/QZStickerContentPackItem.h"
#include "TesselSDK/tools/QZDrawingBlend.h"

#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDKFoundation/QZLocalizedString.h"

#include "TesselSDKImaging/Modules/QZBlockModule.h"
#include "TesselSDKImaging/QZBitmap.h"

#include "Foundation/NSNotificationCenter.h"
#include "UIKit/UIGraphics.h"

#include <cmath>

namespace {

constexpr const char* kPackCellIdentifier =
    "QZEffectContentPackItemSelectionView_QZEffectContentPackItemSelectionViewCell";

CGFloat finiteOrZero(CGFloat value)
{
    return std::isfinite(value) ? value : 0;
}

}  // namespace

QZStickerContentPackListSelectionViewController::~QZStickerContentPackListSelectionViewController()
{
    if (contextForGL_) CGContextRelease(contextForGL_);
}

bool QZStickerContentPackListSelectionViewController::initWithGLInstance(
    const std::shared_ptr<QZOpenGLInstance>& glInstance)
{
    if (!QZContentPackListSelectionViewController::initWithGLInstance(glInstance)) return false;
    makeDrawingBuffer();
    return true;
}

bool QZStickerContentPackListSelectionViewController::makeDrawingBuffer()
{
    auto gl = glInstance();
    if (!gl || contextForGL_) return contextForGL_ != nullptr;
    const CGSize size = gl->currentImageSize();
    const double bytes = double(kQZBytesPerPixel) * double(size.width) * double(size.height);
    if (!(bytes > 0) || !std::isfinite(bytes)) return false;
    bitmapData_.assign(std::size_t(bytes), 0);
    contextForGL_ = QZCGContextCreateWithData(bitmapData_.data(), size);
    if (!contextForGL_) {
        bitmapData_.clear();
        return false;
    }
    bitmapSize_ = size;
    // Top-down, as the canvas's image view measures.
    CGContextConcatCTM(contextForGL_, CGAffineTransformMake(1, 0, 0, -1, 0, size.height));
    return true;
}

// ---- Class values ----

std::shared_ptr<const QZManagedObjectClass> QZStickerContentPackListSelectionViewController::contentPackClass() const
{
    return QZManagedObjectClass::classNamed("QZStickerContentPack");
}

std::string QZStickerContentPackListSelectionViewController::customizationKeyPath() const
{
    return QZContentPackListSelectionViewController::customizationKeyPath() + ".stickers";
}

QZOverlayViewFactory QZStickerContentPackListSelectionViewController::staticOverlayViewClass() const
{
    return [](CGRect frame) -> std::shared_ptr<QZView> { return UIView::viewWithFrame<QZStickersOverlayView>(frame); };
}

QZContentPackDetailViewControllerFactory
QZStickerContentPackListSelectionViewController::detailViewControllerClass() const
{
    return [](const std::shared_ptr<QZOpenGLInstance>& glInstance, const std::shared_ptr<QZContentPack>& pack,
              bool ownSelectionView) -> std::shared_ptr<QZContentPackDetailSelectionViewController> {
        return QZContentPackDetailSelectionViewController::makeWithGLInstance<QZStickerContentPackDetailViewController>(
            glInstance, pack, ownSelectionView);
    };
}

std::string QZStickerContentPackListSelectionViewController::firstLaunchTitle() const
{
    return QZLocalizedString("Welcome to Stickers!");
}

std::string QZStickerContentPackListSelectionViewController::firstLaunchText() const
{
    return QZLocalizedString("Install this free pack of beautiful high resolution stickers to get started.");
}

std::shared_ptr<QZStickersOverlayView> QZStickerContentPackListSelectionViewController::stickersOverlayView() const
{
    return std::dynamic_pointer_cast<QZStickersOverlayView>(staticOverlayView());
}

// ---- Screens ----

std::shared_ptr<UITableViewCell>
QZStickerContentPackListSelectionViewController::cellForContentPack(const std::shared_ptr<QZContentPack>& pack)
{
    const std::shared_ptr<QZContentPackSelectionView>& strip = selectionView();
    auto cell = std::dynamic_pointer_cast<QZStickerContentPackListSelectionViewCell>(
        strip ? strip->dequeueReusableSelectionViewCellWithIdentifier(kPackCellIdentifier) : nullptr);
    if (!cell)
        cell = UITableViewCell::cellWithStyle<QZStickerContentPackListSelectionViewCell>(UITableViewCellStyleDefault,
                                                                                         kPackCellIdentifier);
    cell->setContentPack(pack);
    cell->setActive(false, false);
    return cell;
}

void QZStickerContentPackListSelectionViewController::viewDidLoad()
{
    QZContentPackListSelectionViewController::viewDidLoad();
    if (auto overlay = stickersOverlayView())
        overlay->setDelegate(std::static_pointer_cast<QZStickersOverlayViewDelegate>(
            self<QZStickerContentPackListSelectionViewController>()));
}

void QZStickerContentPackListSelectionViewController::viewDidAppear(bool animated)
{
    QZContentPackListSelectionViewController::viewDidAppear(animated);
    QZAnalytics::reportScreen("Sticker Pack Selection");
}

void QZStickerContentPackListSelectionViewController::retractIAPViewController()
{
    QZContentPackListSelectionViewController::retractIAPViewController();
    QZAnalytics::reportScreen("Sticker Pack Selection");
}

std::shared_ptr<QZContentPackListIAPViewController>
QZStickerContentPackListSelectionViewController::loadListIAPViewControllerWithPacks(Packs packs)
{
    return QZContentPackListIAPViewController::makeWithPacks<QZStickerContentPackListIAPViewController>(
        std::move(packs));
}

std::shared_ptr<QZContentPackDetailIAPViewController>
QZStickerContentPackListSelectionViewController::loadDetailIAPViewControllerWithContentPack(
    const std::shared_ptr<QZContentPack>& pack)
{
    return QZContentPackDetailIAPViewController::makeWithType<QZStickerContentPackDetailIAPViewController>(
        QZContentPackDetailIAPViewControllerTypeFeatured, pack);
}

void QZStickerContentPackListSelectionViewController::willRotateToInterfaceOrientation(
    UIInterfaceOrientation orientation, double duration)
{
    QZContentPackListSelectionViewController::willRotateToInterfaceOrientation(orientation, duration);
    if (auto overlay = staticOverlayView()) overlay->willRotateToInterfaceOrientation(orientation, duration);
}

void QZStickerContentPackListSelectionViewController::willAnimateRotationToInterfaceOrientation(
    UIInterfaceOrientation orientation, double duration)
{
    QZContentPackListSelectionViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
    if (auto overlay = staticOverlayView()) overlay->willAnimateRotationToInterfaceOrientation(orientation, duration);
}

void QZStickerContentPackListSelectionViewController::didRotateFromInterfaceOrientation(
    UIInterfaceOrientation orientation)
{
    QZContentPackListSelectionViewController::didRotateFromInterfaceOrientation(orientation);
    if (auto overlay = staticOverlayView()) overlay->didRotateFromInterfaceOrientation(orientation);
}

CGRect
QZStickerContentPackListSelectionViewController::rectForImageInStickersOverlayView(QZStickersOverlayView* overlay)
{
    auto canvas = scrollableImageView();
    auto imageView = canvas ? canvas->imageView() : nullptr;
    if (!imageView || !overlay) return CGRectZero;
    return imageView->convertRectToView(imageView->bounds(), overlay);
}

// ---- Apply ----

void QZStickerContentPackListSelectionViewController::finishApplying()
{
    if (finishQueued_ || wasBackButtonPressed() || successfullyApplied()) return;
    setRenderStartDate();
    // No pixel size when the tool was made: the image has one by now.
    makeDrawingBuffer();
    auto overlay = stickersOverlayView();
    auto canvas = scrollableImageView();
    auto imageView = canvas ? canvas->imageView() : nullptr;

    // Stickers whose fade-out began are deleted already: nothing of them is drawn, recorded,
    // counted or announced.
    const QZStickersOverlayView::StickerViews placed =
        overlay ? overlay->placedStickerViews() : QZStickersOverlayView::StickerViews();
    std::vector<std::shared_ptr<QZStickerContentPackItem>> items;
    StickerProcessors processors;
    if (imageView) {
        const CGFloat z = canvas->zoomScale();
        const CGSize v = imageView->bounds().size;
        if (contextForGL_) UIGraphicsPushContext(contextForGL_);
        for (const auto& sticker : placed) {
            items.push_back(sticker->stickerPackItem());
            const CGRect r = sticker->rectForStickerInView(*imageView, 1 / z);
            if (contextForGL_) {
                CGContextSaveGState(contextForGL_);
                sticker->drawStickerInRect(r);
                CGContextRestoreGState(contextForGL_);
            }
            auto processor = QZStickerProcessor::make();
            processor->setStickerImage(sticker->stickerImage());
            processor->setRotation(float(sticker->rotation()));
            processor->setRelativeStickerRect(
                CGRectMake(finiteOrZero(r.origin.x / v.width), finiteOrZero(r.origin.y / v.height),
                           finiteOrZero(r.size.width / v.width), finiteOrZero(r.size.height / v.height)));
            processors.push_back(processor);
            const auto& item = items.back();
            QZAnalytics::reportEvent((item ? item->identifier() : std::string()) + " : applied", Value());
        }
        if (contextForGL_) UIGraphicsPopContext();
    }
    stickerProcessors_ = processors;
    appliedStickerCount_ = processors.size();
    const auto& page = contentPackDetailViewController();
    appliedPackIdentifier_ = page && page->contentPack() ? page->contentPack()->identifier() : std::string();

    auto server = highResolutionServer();
    if (server && !bitmapData_.empty()) {
        finishQueued_ = true;
        std::weak_ptr<QZStickerContentPackListSelectionViewController> weak =
            weakSelf<QZStickerContentPackListSelectionViewController>();
        QZBlendDrawingAndPresent(server, bitmapData_.data(), bitmapSize_, glInstance(), [weak] {
            auto tool = weak.lock();
            if (!tool) return;
            tool->finishQueued_ = false;
            tool->setRenderEndDate();
            tool->QZContentPackListSelectionViewController::finishApplying();
        });
    } else {
        setRenderEndDate();
        QZContentPackListSelectionViewController::finishApplying();
    }

    if (items.empty()) return;
    std::shared_ptr<QZContentPack> pack = items.front() ? items.front()->pack() : nullptr;
    const std::string packIdentifier = pack ? pack->identifier() : std::string();
    const std::string packType = pack ? pack->packType() : std::string();
    for (const auto& item : items)
        NSNotificationCenter::defaultCenter()->postNotificationName(
            QZContentAppliedNotification, nullptr,
            Value::dictionary({{kQZContentPackIdentifier, packIdentifier},
                               {kQZContentPackType, packType},
                               {kQZContentItemIdentifier, item ? item->identifier() : std::string()}}));
}

std::shared_ptr<QZModule> QZStickerContentPackListSelectionViewController::outputModule()
{
    const StickerProcessors processors = stickerProcessors_;
    return QZBlockModule::moduleWithBlock(
        [processors](QZProcessorList& list) { list.insert(list.end(), processors.begin(), processors.end()); });
}

void QZStickerContentPackListSelectionViewController::reportApplied()
{
    reportEvent("applied", Value::dictionary({{"stickerPack", appliedPackIdentifier_},
                                              {"stickerCount", Value(std::int64_t(appliedStickerCount_))}}));
}
