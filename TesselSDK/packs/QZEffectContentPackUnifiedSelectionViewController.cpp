#include "TesselSDK/packs/QZEffectContentPackUnifiedSelectionViewController.h"

#include "TesselSDK/packs/QZEffectContentPackDetailIAPViewController.h"
#include "TesselSDK/packs/QZEffectContentPackListIAPViewController.h"
#include "TesselSDK/packs/QZEffectContentPackUnifiedSelectionViewCell.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZEffectContentPackItem.h"
#include "TesselSDK/remote/QZEffectContentPackThumnailGenerator.h"
#include "TesselSDK/remote/QZManagedObjectClass.h"

#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDKImaging/Modules/QZJSONEffectModule.h"
#include "TesselSDKImaging/Modules/QZOriginalModule.h"
#include "TesselSDKImaging/QZBitmapImageServer.h"
#include "TesselSDKImaging/QZOpenGLInstance.h"

#include "Dispatch/Dispatch.h"
#include "Foundation/NSLog.h"
#include "UIKit/UIDevice.h"
#include "UIKit/UIScreen.h"

#include <random>

namespace {
constexpr const char* kScreenName = "Effects";

// One fresh seed per preview: it travels with the module, so the result equals what was shown.
std::uint32_t freshSeed()
{
    static std::random_device source;
    return std::uint32_t(source());
}
}  // namespace

std::shared_ptr<const QZManagedObjectClass> QZEffectContentPackUnifiedSelectionViewController::contentPackClass() const
{
    return QZManagedObjectClass::classNamed("QZEffectContentPack");
}

std::shared_ptr<const QZManagedObjectClass>
QZEffectContentPackUnifiedSelectionViewController::contentPackItemType() const
{
    return QZManagedObjectClass::classNamed("QZEffectContentPackItem");
}

std::string QZEffectContentPackUnifiedSelectionViewController::customizationKeyPath() const
{
    return QZContentPackUnifiedSelectionViewController::customizationKeyPath() + ".effects";
}

std::string QZEffectContentPackUnifiedSelectionViewController::editButtonConfirmationPrompt() const
{
    return "Are you sure you want to apply this effect to your photo before editing?";
}

CGSize QZEffectContentPackUnifiedSelectionViewController::thumbnailWithDimension(CGFloat dimension)
{
    const CGFloat scale = UIScreen::mainScreen()->scale();
    return CGSizeMake(dimension * scale, dimension * scale);
}

bool QZEffectContentPackUnifiedSelectionViewController::editButttonShouldPrompt() const
{
    return !isOriginalItem(selectedItem());
}

// ---- The strip ----

std::shared_ptr<QZContentPackUnifiedSelectionViewCell>
QZEffectContentPackUnifiedSelectionViewController::cellForContentPackItem(const Item& item)
{
    auto cell = std::dynamic_pointer_cast<QZEffectContentPackUnifiedSelectionViewCell>(
        selectionView() ? selectionView()->dequeueReusableSelectionViewCellWithIdentifier(kItemCellIdentifier)
                        : nullptr);
    if (!cell)
        cell = UITableViewCell::cellWithStyle<QZEffectContentPackUnifiedSelectionViewCell>(UITableViewCellStyleDefault,
                                                                                           kItemCellIdentifier);
    auto context = QZImageViewContext::make();
    cell->setImageViewContext(context);
    cell->setContentPackItem(item);
    // Set for every cell shown: a reused cell may come raised from another item.
    cell->setActive(item == selectedItem(), false);
    auto effect = std::dynamic_pointer_cast<QZEffectContentPackItem>(item);
    if (thumbnailGenerator_ && effect) {
        std::weak_ptr<QZEffectContentPackUnifiedSelectionViewCell> weakCell = cell;
        thumbnailGenerator_->thumbnailForEffectContentPackItem(
            *effect, [weakCell, context](std::shared_ptr<UIImage> thumbnail) {
                if (!thumbnail) return;
                // Through the context: a cell that shows another item by now ignores it.
                context->setImage(std::move(thumbnail));
                if (auto shown = weakCell.lock()) shown->finishedLoadingPreviewWithContext(context);
            });
    }
    return cell;
}

std::shared_ptr<QZContentPackUnifiedSelectionViewCell>
QZEffectContentPackUnifiedSelectionViewController::cellForContentPack(const std::shared_ptr<QZContentPack>& pack)
{
    auto cell = std::dynamic_pointer_cast<QZEffectContentPackUnifiedSelectionViewCell>(
        selectionView() ? selectionView()->dequeueReusableSelectionViewCellWithIdentifier(kPackCellIdentifier)
                        : nullptr);
    if (!cell)
        cell = UITableViewCell::cellWithStyle<QZEffectContentPackUnifiedSelectionViewCell>(UITableViewCellStyleDefault,
                                                                                           kPackCellIdentifier);
    cell->setContentPack(pack);
    cell->setActive(false, false);
    return cell;
}

void QZEffectContentPackUnifiedSelectionViewController::displayPreviewForContentPackItem(const Item& item)
{
    if (!item) return;
    setReadyToApply(false);
    effectKey_ = item->identifier();
    std::shared_ptr<QZModule> module;
    if (effectKey_ == "original") {
        module = QZOriginalModule::make();
    } else {
        auto recipe = QZJSONEffectModule::make();
        auto effect = std::dynamic_pointer_cast<QZEffectContentPackItem>(item);
        recipe->setJsonString(effect ? std::optional<std::string>(effect->effectJSON()) : std::nullopt);
        module = recipe;
    }
    module->setParameterSeed(freshSeed());
    module->setBordersEnabled(true);
    effectModule_ = module;

    const std::shared_ptr<QZImageServer>& server = highResolutionServer();
    // Asked, never assumed: only the bitmap server presents through the GL instance.
    const bool bitmapServer = std::dynamic_pointer_cast<QZBitmapImageServer>(server) != nullptr;
    if (!bitmapServer)
        NSLog("%s %@", "-[QZEffectContentPackUnifiedSelectionViewController displayPreviewForContentPackItem:]",
              "Expected bitmap image server");
    if (server) server->runModule(module);
    setRenderStartDate();
    if (!bitmapServer) {
        // Nothing will present and hop back: an Apply must not wait for it.
        setReadyToApply(true);
        return;
    }
    std::weak_ptr<QZEffectContentPackUnifiedSelectionViewController> weakTool =
        weakSelf<QZEffectContentPackUnifiedSelectionViewController>();
    std::weak_ptr<QZOpenGLInstance> weakGL = glInstance();
    server->runBlock([weakTool, weakGL] {
        if (auto gl = weakGL.lock()) gl->presentRenderbufferFromGLQueue();
        // Synchronously: ready to apply only once the preview is on screen, with nothing of the GL
        // queue run in between.
        dispatch_sync(dispatch_get_main_queue(), [weakTool] {
            if (auto tool = weakTool.lock()) {
                tool->setRenderEndDate();
                tool->setReadyToApply(true);
            }
        });
    });
}

// ---- The tool ----

void QZEffectContentPackUnifiedSelectionViewController::viewWillAppear(bool animated)
{
    QZContentPackUnifiedSelectionViewController::viewWillAppear(animated);
    std::shared_ptr<QZOpenGLInstance> gl = glInstance();
    if (!gl) {
        NSLog("%s %@", "-[QZEffectContentPackUnifiedSelectionViewController viewWillAppear:]",
              "Expected a GL instance: the strip shows no thumbnails.");
    } else {
        thumbnailGenerator_ =
            QZEffectContentPackThumnailGenerator::make(gl, thumbnailWithDimension(kThumbnailDimension));
    }
    if (selectionView()) selectionView()->reloadData();
}

void QZEffectContentPackUnifiedSelectionViewController::viewDidAppear(bool animated)
{
    QZContentPackUnifiedSelectionViewController::viewDidAppear(animated);
    QZAnalytics::reportScreen(kScreenName);
}

void QZEffectContentPackUnifiedSelectionViewController::viewWillDisappear(bool animated)
{
    thumbnailGenerator_.reset();
    storePreviewGenerator_.reset();
    QZContentPackUnifiedSelectionViewController::viewWillDisappear(animated);
}

// ---- The store ----

void QZEffectContentPackUnifiedSelectionViewController::setupStorePreviewGenerator()
{
    const bool pad = UIDevice::currentDevice()->userInterfaceIdiom() == UIUserInterfaceIdiomPad;
    storePreviewGenerator_ = QZEffectContentPackThumnailGenerator::make(
        glInstance(), thumbnailWithDimension(pad ? kStorePreviewDimensionPad : kStorePreviewDimension));
}

std::shared_ptr<QZContentPackListIAPViewController>
QZEffectContentPackUnifiedSelectionViewController::loadListIAPViewControllerWithPacks(Packs packs)
{
    if (!storePreviewGenerator_) setupStorePreviewGenerator();
    auto list =
        QZContentPackListIAPViewController::makeWithPacks<QZEffectContentPackListIAPViewController>(std::move(packs));
    list->setThumbnailGenerator(storePreviewGenerator_);
    return list;
}

std::shared_ptr<QZContentPackDetailIAPViewController>
QZEffectContentPackUnifiedSelectionViewController::loadDetailIAPViewControllerWithContentPack(
    const std::shared_ptr<QZContentPack>& pack)
{
    if (!storePreviewGenerator_) setupStorePreviewGenerator();
    auto page = QZContentPackDetailIAPViewController::makeWithType<QZEffectContentPackDetailIAPViewController>(
        QZContentPackDetailIAPViewControllerTypeFeatured, pack);
    page->setThumbnailGenerator(storePreviewGenerator_);
    return page;
}

void QZEffectContentPackUnifiedSelectionViewController::retractIAPViewController()
{
    QZContentPackUnifiedSelectionViewController::retractIAPViewController();
    QZAnalytics::reportScreen(kScreenName);
}

void QZEffectContentPackUnifiedSelectionViewController::warmThumbnailsForContentPack(
    const std::shared_ptr<QZContentPack>& pack)
{
    if (!pack || !thumbnailGenerator_) return;
    for (const auto& item : pack->orderedItems())
        if (auto effect = std::dynamic_pointer_cast<QZEffectContentPackItem>(item))
            thumbnailGenerator_->thumbnailForEffectContentPackItem(*effect, nullptr);
}

void QZEffectContentPackUnifiedSelectionViewController::listIAPViewControllerBeganInstallingPack(
    QZContentPackListIAPViewController* list, const std::shared_ptr<QZContentPack>& pack)
{
    QZContentPackUnifiedSelectionViewController::listIAPViewControllerBeganInstallingPack(list, pack);
    warmThumbnailsForContentPack(pack);
}

void QZEffectContentPackUnifiedSelectionViewController::detailIAPViewControllerBeganInstalling(
    QZContentPackDetailIAPViewController* page, const std::shared_ptr<QZContentPack>& pack)
{
    QZContentPackUnifiedSelectionViewController::detailIAPViewControllerBeganInstalling(page, pack);
    warmThumbnailsForContentPack(pack);
}
