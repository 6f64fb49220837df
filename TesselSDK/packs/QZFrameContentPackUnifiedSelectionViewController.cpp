#include "TesselSDK/packs/QZFrameContentPackUnifiedSelectionViewController.h"

#include "TesselSDK/packs/QZFrameContentPackDetailIAPViewController.h"
#include "TesselSDK/packs/QZFrameContentPackListIAPViewController.h"
#include "TesselSDK/packs/QZFrameContentPackUnifiedSelectionViewCell.h"
#include "TesselSDK/packs/QZFrameLayout.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZFrameContentPackItem.h"
#include "TesselSDK/remote/QZManagedObjectClass.h"

#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDKImaging/Modules/QZBlockModule.h"
#include "TesselSDKImaging/Processors/QZBeginQopEffectProcessor.h"
#include "TesselSDKImaging/Processors/QZEndQopEffectProcessor.h"
#include "TesselSDKImaging/Processors/QZStickerProcessor.h"
#include "TesselSDKImaging/QZOpenGLInstance.h"

#include "Foundation/NSLog.h"
#include "Foundation/NSString.h"
#include "UIKit/UIImage.h"

namespace {
constexpr const char* kProcessorsMethod =
    "-[QZFrameContentPackUnifiedSelectionViewController processorsForFrame:editingRes:]";

std::shared_ptr<QZStickerProcessor> framePiece(std::shared_ptr<UIImage> image, CGRect rect, NSInteger tileX = 1,
                                               NSInteger tileY = 1)
{
    auto piece = QZStickerProcessor::make();
    piece->setStickerImage(std::move(image));
    piece->setRelativeStickerRect(rect);
    piece->setRotation(0);
    piece->setTileX(std::int32_t(tileX));
    piece->setTileY(std::int32_t(tileY));
    piece->setFrameType(true);
    return piece;
}

CGSize sizeOf(const std::shared_ptr<UIImage>& image)
{
    return image ? image->size() : CGSizeMake(0, 0);
}
}  // namespace

std::shared_ptr<const QZManagedObjectClass> QZFrameContentPackUnifiedSelectionViewController::contentPackClass() const
{
    return QZManagedObjectClass::classNamed("QZFrameContentPack");
}

std::shared_ptr<const QZManagedObjectClass>
QZFrameContentPackUnifiedSelectionViewController::contentPackItemType() const
{
    return QZManagedObjectClass::classNamed("QZFrameContentPackItem");
}

std::string QZFrameContentPackUnifiedSelectionViewController::customizationKeyPath() const
{
    return QZContentPackDownloadUnifiedSelectionViewController::customizationKeyPath() + ".frames";
}

std::string QZFrameContentPackUnifiedSelectionViewController::firstLaunchTitle() const
{
    return "Welcome to Frames!";
}

std::string QZFrameContentPackUnifiedSelectionViewController::firstLaunchText() const
{
    return "Install this free pack of beautiful high resolution frames to get started.";
}

// ---- The frame's processors ----

QZProcessorList
QZFrameContentPackUnifiedSelectionViewController::processorsForFrame(const std::shared_ptr<QZContentPackItem>& item,
                                                                     bool editingRes)
{
    auto frame = std::dynamic_pointer_cast<QZFrameContentPackItem>(item);
    auto piece = [&](QZFramePiece full, QZFramePiece editing) {
        return frame ? frame->pieceImage(editingRes ? editing : full) : nullptr;
    };
    std::shared_ptr<UIImage> left = piece(QZFramePiece::Left, QZFramePiece::LeftEditing);
    std::shared_ptr<UIImage> right = piece(QZFramePiece::Right, QZFramePiece::RightEditing);
    std::shared_ptr<UIImage> top = piece(QZFramePiece::Top, QZFramePiece::TopEditing);
    std::shared_ptr<UIImage> bottom = piece(QZFramePiece::Bottom, QZFramePiece::BottomEditing);
    if (!left) NSLog("%s %@", kProcessorsMethod, "expected non-nil left image");
    if (!right) NSLog("%s %@", kProcessorsMethod, "expected non-nil right image");
    if (!top) NSLog("%s %@", kProcessorsMethod, "expected non-nil top image");
    if (!bottom) NSLog("%s %@", kProcessorsMethod, "expected non-nil bottom image");

    const CGSize picture = highResolutionServer() ? highResolutionServer()->size() : CGSizeMake(0, 0);
    const CGFloat thickness = frame ? CGFloat(frame->width()) : 0;
    const std::optional<QZFrameLayout> layout =
        QZFrameLayoutMake(picture, thickness, {sizeOf(left), sizeOf(right), sizeOf(top), sizeOf(bottom)});

    QZProcessorList processors{QZBeginQopEffectProcessor::make()};
    if (layout) {
        processors.push_back(framePiece(left, layout->left, 1, layout->leftTiles));
        processors.push_back(framePiece(right, layout->right, 1, layout->rightTiles));
        processors.push_back(framePiece(top, layout->top, layout->topTiles, 1));
        processors.push_back(framePiece(bottom, layout->bottom, layout->bottomTiles, 1));
        processors.push_back(framePiece(piece(QZFramePiece::TopLeft, QZFramePiece::TopLeftEditing), layout->topLeft));
        processors.push_back(
            framePiece(piece(QZFramePiece::TopRight, QZFramePiece::TopRightEditing), layout->topRight));
        processors.push_back(
            framePiece(piece(QZFramePiece::BottomLeft, QZFramePiece::BottomLeftEditing), layout->bottomLeft));
        processors.push_back(
            framePiece(piece(QZFramePiece::BottomRight, QZFramePiece::BottomRightEditing), layout->bottomRight));
    } else {
        // Rectangles of no or negative size, or tile counts from no number, would reach the GPU:
        // the pass draws nothing instead.
        NSLog("%s %@", kProcessorsMethod,
              NSStringWithFormat("the frame %@ cannot be laid out on a %g x %g picture: it is not drawn",
                                 item ? item->identifier() : std::string("(none)"), picture.width, picture.height));
    }
    processors.push_back(QZEndQopEffectProcessor::make());
    return processors;
}

// ---- The strip ----

std::shared_ptr<QZContentPackUnifiedSelectionViewCell> QZFrameContentPackUnifiedSelectionViewController::dequeueCell()
{
    auto cell = std::dynamic_pointer_cast<QZFrameContentPackUnifiedSelectionViewCell>(
        selectionView() ? selectionView()->dequeueReusableSelectionViewCellWithIdentifier(kCellIdentifier) : nullptr);
    if (!cell)
        cell = UITableViewCell::cellWithStyle<QZFrameContentPackUnifiedSelectionViewCell>(UITableViewCellStyleDefault,
                                                                                          kCellIdentifier);
    return cell;
}

std::shared_ptr<QZContentPackUnifiedSelectionViewCell>
QZFrameContentPackUnifiedSelectionViewController::cellForContentPackItem(const Item& item)
{
    auto cell = dequeueCell();
    cell->setContentPackItem(item);
    // Set for every cell shown: a reused cell may come raised from another item.
    cell->setActive(item && item == selectedItem(), false);
    return cell;
}

std::shared_ptr<QZContentPackUnifiedSelectionViewCell>
QZFrameContentPackUnifiedSelectionViewController::cellForContentPack(const std::shared_ptr<QZContentPack>& pack)
{
    auto cell = dequeueCell();
    cell->setContentPack(pack);
    cell->setActive(false, false);
    return cell;
}

void QZFrameContentPackUnifiedSelectionViewController::displayPreviewForContentPackItem(const Item& item)
{
    std::shared_ptr<QZOpenGLInstance> gl = glInstance();
    if (isOriginalItem(item)) {
        if (gl) gl->renderIdentityImageWithCompletion(nullptr);
        return;
    }
    const std::shared_ptr<QZImageServer>& server = highResolutionServer();
    if (!item || !server) return;
    QZProcessorList processors = processorsForFrame(item, true);
    server->runModule(QZBlockModule::moduleWithBlock([processors](QZProcessorList& list) {
                          list.insert(list.end(), processors.begin(), processors.end());
                      }),
                      false, nullptr);
    if (gl) gl->presentRenderbuffer();
}

// ---- The tool ----

void QZFrameContentPackUnifiedSelectionViewController::finishApplying()
{
    const Item& selected = selectedItem();
    if (selected && !isOriginalItem(selected))
        frameProcessors_ = processorsForFrame(selected, false);
    else
        frameProcessors_.clear();
    QZContentPackDownloadUnifiedSelectionViewController::finishApplying();
}

std::shared_ptr<QZModule> QZFrameContentPackUnifiedSelectionViewController::outputModule()
{
    QZProcessorList processors = frameProcessors_;
    return QZBlockModule::moduleWithBlock(
        [processors](QZProcessorList& list) { list.insert(list.end(), processors.begin(), processors.end()); });
}

void QZFrameContentPackUnifiedSelectionViewController::viewDidAppear(bool animated)
{
    QZContentPackDownloadUnifiedSelectionViewController::viewDidAppear(animated);
    QZAnalytics::reportScreen("Frames");
}

// ---- The store ----

std::shared_ptr<QZContentPackListIAPViewController>
QZFrameContentPackUnifiedSelectionViewController::loadListIAPViewControllerWithPacks(Packs packs)
{
    return QZContentPackListIAPViewController::makeWithPacks<QZFrameContentPackListIAPViewController>(std::move(packs));
}

std::shared_ptr<QZContentPackDetailIAPViewController>
QZFrameContentPackUnifiedSelectionViewController::loadDetailIAPViewControllerWithContentPack(
    const std::shared_ptr<QZContentPack>& pack)
{
    return QZContentPackDetailIAPViewController::makeWithType<QZFrameContentPackDetailIAPViewController>(
        QZContentPackDetailIAPViewControllerTypeFeatured, pack);
}
