#include "TesselSDK/packs/QZContentPackIAPSelectionViewController.h"

#include "TesselSDK/packs/QZContentPackUnifiedSelectionViewCell.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackResourceProvider.h"
#include "TesselSDK/remote/QZContentPackUpdate.h"
#include "TesselSDK/remote/QZManagedObjectClass.h"
#include "TesselSDK/remote/QZTesselContentManager.h"

#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDKFoundation/QZSDKResources.h"

#include "Dispatch/Dispatch.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSString.h"
#include "Foundation/NSUserDefaults.h"
#include "UIKit/UIApplication.h"
#include "UIKit/UIDevice.h"
#include "UIKit/UIPanGestureRecognizer.h"
#include "UIKit/UIWindow.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kDimmerFade = 0.2;
constexpr double kDimmerDelay = 0.1;
constexpr CGFloat kDimmerAlpha = 0.6f;
constexpr double kPhoneSlide = 0.4;
constexpr double kTrayReturn = 0.1;
// The tray's length that may stay in view once the strip has scrolled past it.
constexpr CGFloat kTrayPeek = 85;

bool isPad()
{
    return UIDevice::currentDevice()->userInterfaceIdiom() != UIUserInterfaceIdiomPhone;
}

std::string codeName(const std::shared_ptr<QZContentPack>& pack)
{
    return pack ? pack->valueForKey("codeName").stringValue() : std::string();
}
}  // namespace

QZContentPackIAPSelectionViewController::~QZContentPackIAPSelectionViewController()
{
    NSNotificationCenter::defaultCenter()->removeObserver(this);
    if (auto table = observedTable_.lock())
        for (unsigned long token : tableObservations_) table->removeObserver(token);
    tableObservations_.clear();
    if (fetchedResultsController_) fetchedResultsController_->setDelegate({});
}

bool QZContentPackIAPSelectionViewController::initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance,
                                                                 Value settings, bool quickLaunch)
{
    if (!QZContentPackSelectionViewController::initWithGLInstance(glInstance, std::move(settings), quickLaunch))
        return false;
    registerForNotifcations();
    return true;
}

void QZContentPackIAPSelectionViewController::registerForNotifcations()
{
    auto center = NSNotificationCenter::defaultCenter();
    auto me = self<QZContentPackIAPSelectionViewController>();
    center->addObserver(me, &QZContentPackIAPSelectionViewController::resourcesUpdated,
                        QZTesselContentManagerResourcesUpdatedNotification);
    center->addObserver(me, &QZContentPackIAPSelectionViewController::downloadDidFail, kQZResourceProviderDidFail);
    center->addObserver(me, &QZContentPackIAPSelectionViewController::newPacksAvailableNotification,
                        QZPhotoEditorControllerContentPackAvailabilityNotification);
}

std::shared_ptr<const QZManagedObjectClass> QZContentPackIAPSelectionViewController::contentPackClass() const
{
    return QZManagedObjectClass::classNamed("QZContentPack");
}

std::shared_ptr<QZTesselContentManager> QZContentPackIAPSelectionViewController::contentManager() const
{
    return QZTesselContentManager::sharedManager();
}

// ---- Packs ----

std::shared_ptr<NSFetchedResultsController> QZContentPackIAPSelectionViewController::fetchedResultsController()
{
    if (fetchedResultsController_) return fetchedResultsController_;
    std::shared_ptr<const QZManagedObjectClass> packClass = contentPackClass();
    const std::shared_ptr<const QZManagedObjectClass> basePackClass = QZManagedObjectClass::classNamed("QZContentPack");
    const bool isPackClass = packClass && basePackClass && packClass->recordClass() &&
                             packClass->recordClass()->isSubclassOfClass(*basePackClass->recordClass());
    if (!isPackClass)
        NSLog("%s %@", "-[QZContentPackIAPSelectionViewController fetchedResultsController]",
              "Expected subclass of QZContentPack.");
    auto request = NSFetchRequest::fetchRequestWithEntityName(packClass ? packClass->entityName() : "Pack");
    request->setSortDescriptors({NSSortDescriptor::sortDescriptorWithKey("index", true),
                                 NSSortDescriptor::sortDescriptorWithKey("identifier", true)});
    fetchedResultsController_ =
        NSFetchedResultsController::make(request, contentManager()->contentPackManagedObjectContext());
    fetchedResultsController_->setDelegate(
        std::static_pointer_cast<NSFetchedResultsControllerDelegate>(self<QZContentPackIAPSelectionViewController>()));
    std::shared_ptr<NSError> error;
    if (!fetchedResultsController_->performFetch(&error))
        NSLog("%s %@", "-[QZContentPackIAPSelectionViewController fetchedResultsController]",
              NSStringWithFormat("Error fetching packs: %@", error));
    return fetchedResultsController_;
}

QZContentPackIAPSelectionViewController::Packs QZContentPackIAPSelectionViewController::installedContentPacks()
{
    Packs installed;
    for (const auto& object : fetchedResultsController()->fetchedObjects())
        if (auto pack = std::dynamic_pointer_cast<QZContentPack>(object); pack && pack->assetsAvailableForLowResUse())
            installed.push_back(pack);
    return installed;
}

std::shared_ptr<QZContentPack>
QZContentPackIAPSelectionViewController::packWithIdentifier(const std::string& identifier)
{
    Packs matches;
    for (const auto& pack : installedContentPacks())
        if (pack->identifier() == identifier) matches.push_back(pack);
    if (matches.size() > 1)
        NSLog("%s %@", "-[QZContentPackIAPSelectionViewController packWithIdentifier:]",
              "Expected zero or one matches");
    return matches.empty() ? nullptr : matches.back();
}

void QZContentPackIAPSelectionViewController::updateContentPacks()
{
    contentPacksDidUpdate();
    if (iapShelfView_) iapShelfView_->setOfferedContentPacks(currentOfferedContentPacks_);
    updateSelectionViewFooter();
    updateIAPViewControllers();
}

void QZContentPackIAPSelectionViewController::updateIAPViewControllers()
{
    if (listIAPViewController_) listIAPViewController_->updatePacks(installedContentPacks());
    if (detailIAPViewController_) detailIAPViewController_->reloadData();
}

void QZContentPackIAPSelectionViewController::newPacksAvailableNotification(
    const std::shared_ptr<NSNotification>& notification)
{
    auto announced =
        notification->userInfo()[kQZPhotoEditorControllerContentPackAvailabiltyClass].object<QZManagedObjectClass>();
    if (announced && announced == contentPackClass()) updateContentPacks();
}

// ---- View lifecycle ----

void QZContentPackIAPSelectionViewController::viewDidLoad()
{
    QZContentPackSelectionViewController::viewDidLoad();
    QZContentPackUpdate::sharedUpdate()->downloadThumbnailsIfNeeded();
    const std::shared_ptr<QZContentPackSelectionView>& strip = selectionView();
    if (!strip) return;

    iapShelfView_ = QZContentPackShelfView::make(strip->frame(), contentPackDescriptor());
    iapShelfView_->setLeftAligned(true);
    iapShelfView_->setOfferedContentPacks(currentOfferedContentPacks_);
    iapShelfView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    iapShelfView_->setDelegate(
        std::static_pointer_cast<QZContentPackShelfViewDelegate>(self<QZContentPackIAPSelectionViewController>()));
    view()->insertSubviewBelowSubview(iapShelfView_, strip.get());

    updateSelectionViewHeaderAnimated(false);
    updateSelectionViewFooter();
    strip->tableView()->setContentOffset(
        CGPointMake(0, std::max(CGFloat(0), iapShelfView_->leftTrayWidth() - kTrayPeek)));

    const std::shared_ptr<QZTableView> table = strip->tableView();
    tapRecognizer_ = UIGestureRecognizer::recognizerWithTarget<UITapGestureRecognizer>(
        self<QZContentPackIAPSelectionViewController>(),
        &QZContentPackIAPSelectionViewController::selectionViewPressed);
    tapRecognizer_->requireGestureRecognizerToFail(table->panGestureRecognizer());
    tapRecognizer_->setCancelsTouchesInView(false);
    table->addGestureRecognizer(tapRecognizer_);

    std::weak_ptr<QZContentPackIAPSelectionViewController> weakSelf = self<QZContentPackIAPSelectionViewController>();
    auto observe = [weakSelf](const std::string& key, bool prior) {
        if (auto tool = weakSelf.lock()) tool->observeValueForKeyPath(key, prior);
    };
    observedTable_ = table;
    for (const char* key : {"contentOffset", "contentSize", "frame"})
        tableObservations_.push_back(table->addObserverForKey(key, observe));
    // The tray for the offset the strip starts at: no change of it may follow to place it.
    contentOffsetDidChange();
}

void QZContentPackIAPSelectionViewController::viewDidAppear(bool animated)
{
    QZContentPackSelectionViewController::viewDidAppear(animated);
    if (packToLaunch_) {
        std::shared_ptr<QZContentPack> pack = std::move(packToLaunch_);
        packToLaunch_.reset();
        scrollStripToStart(false);
        presentDetailIAPViewControllerWithContentPack(pack, true);
    } else {
        presentFirstDownloadMessageIfNecessary();
    }
    viewInitialized_ = true;
}

void QZContentPackIAPSelectionViewController::viewWillDisappear(bool animated)
{
    QZContentPackSelectionViewController::viewWillDisappear(animated);
    auto context = contentManager()->contentPackManagedObjectContext();
    if (!context || !context->hasChanges()) return;
    std::shared_ptr<NSError> error;
    if (!context->save(&error))
        NSLog("%s %@", "-[QZContentPackIAPSelectionViewController viewWillDisappear:]",
              NSStringWithFormat("content pack save failed with error: %@",
                                 error ? error->localizedDescription() : std::string()));
}

// ---- The strip, its tray and the shelf ----

CGFloat QZContentPackIAPSelectionViewController::stripOffset() const
{
    return selectionView() ? selectionView()->tableView()->contentOffset().y : 0;
}

CGFloat QZContentPackIAPSelectionViewController::stripContentLength() const
{
    return selectionView() ? selectionView()->tableView()->contentSize().height : 0;
}

void QZContentPackIAPSelectionViewController::scrollStripToStart(bool animated)
{
    if (selectionView()) selectionView()->tableView()->setContentOffset(CGPointMake(0, 0), animated);
}

void QZContentPackIAPSelectionViewController::setStripTakesTouches(bool takes)
{
    if (selectionView()) selectionView()->setUserInteractionEnabled(takes);
}

void QZContentPackIAPSelectionViewController::updateSelectionViewHeaderAnimated(bool animated)
{
    const std::shared_ptr<QZContentPackSelectionView>& strip = selectionView();
    if (!strip || !iapShelfView_) return;
    const std::shared_ptr<QZTableView> table = strip->tableView();
    const CGFloat across = strip->bounds().size.height;
    const CGFloat length = iapShelfView_->leftTrayWidth();
    if (!headerView_) headerView_ = UIView::viewWithFrame<QZView>(CGRectMake(0, 0, across, 0));
    const bool changes = std::fabs(headerView_->frame().size.height - length) > 0.01f;
    headerView_->setFrame(CGRectMake(0, 0, across, length));
    if (changes && animated) {
        table->beginUpdates();
        table->setTableHeaderView(headerView_);
        table->endUpdates();
    } else {
        table->setTableHeaderView(headerView_);
    }
}

void QZContentPackIAPSelectionViewController::updateSelectionViewFooter()
{
    const std::shared_ptr<QZContentPackSelectionView>& strip = selectionView();
    if (!strip || !iapShelfView_) return;
    const std::shared_ptr<QZTableView> table = strip->tableView();
    const CGFloat contentLength = table->contentSize().height;
    if (contentLength < 0.0001f) return;
    CGFloat screenLength = 0;
    if (auto window = UIApplication::sharedApplication()->keyWindow()) {
        const UIInterfaceOrientation orientation = UIApplication::sharedApplication()->statusBarOrientation();
        const bool portrait =
            orientation == UIInterfaceOrientationPortrait || orientation == UIInterfaceOrientationPortraitUpsideDown;
        screenLength = portrait ? window->bounds().size.width : window->bounds().size.height;
    }
    const CGFloat currentFooter = footerView_ ? footerView_->frame().size.height : 0;
    const CGFloat items = contentLength - iapShelfView_->leftTrayWidth() - currentFooter;
    const CGFloat footer = std::max(CGFloat(0), screenLength - items);
    if (!footerView_) footerView_ = UIView::viewWithFrame<QZView>();
    footerView_->setFrame(CGRectMake(0, 0, strip->bounds().size.height, footer));
    table->setTableFooterView(footerView_);
    shouldShowRightGetMore_ = false;
}

void QZContentPackIAPSelectionViewController::observeValueForKeyPath(const std::string& keyPath, bool prior)
{
    const std::shared_ptr<QZContentPackSelectionView>& strip = selectionView();
    if (!strip) return;
    if (keyPath == "contentSize") {
        const CGSize size = strip->tableView()->contentSize();
        if (prior) {
            contentSizeBeforeChange_ = size;
            return;
        }
        if (!viewInitialized_) return;
        if (shouldShiftForContentSize_) {
            contentSizeDidChangeWithOldValue(contentSizeBeforeChange_);
            shouldShiftForContentSize_ = false;
        }
        if (!CGSizeEqualToSize(size, contentSizeBeforeChange_)) {
            std::weak_ptr<QZContentPackIAPSelectionViewController> weakSelf =
                self<QZContentPackIAPSelectionViewController>();
            dispatch_async(dispatch_get_main_queue(), [weakSelf] {
                if (auto tool = weakSelf.lock()) tool->updateSelectionViewFooter();
            });
        }
    } else if (prior) {
        return;
    } else if (keyPath == "contentOffset") {
        contentOffsetDidChange();
    } else if (keyPath == "frame" && viewInitialized_) {
        updateSelectionViewFooter();
        contentOffsetDidChange();
    }
}

void QZContentPackIAPSelectionViewController::contentSizeDidChangeWithOldValue(CGSize oldSize)
{
    const CGFloat offset = stripOffset();
    if (offset <= 0.1f || !selectionView()) return;
    const CGFloat growth = stripContentLength() - oldSize.height;
    selectionView()->tableView()->setContentOffset(
        CGPointMake(selectionView()->tableView()->contentOffset().x, offset + growth));
}

void QZContentPackIAPSelectionViewController::contentOffsetDidChange()
{
    const std::shared_ptr<QZContentPackSelectionView>& strip = selectionView();
    if (!strip || !iapShelfView_) return;
    const CGFloat offset = stripOffset();
    const CGFloat tray = iapShelfView_->leftTrayWidth();
    if (tray > offset) {
        strip->setCurrentTrayWidth(tray - offset);
        iapShelfView_->setBounceOffset(offset < 0 ? -offset : 0);
        currentTrayOffset_ = offset > 0 ? -offset : 0;
        if (tapRecognizer_) tapRecognizer_->setEnabled(true);
        iapShelfView_->setLeftAligned(true);
    } else {
        strip->setCurrentTrayWidth(0);
        const bool beforeMiddle = offset + strip->bounds().size.width / 2 < stripContentLength() / 2;
        currentTrayOffset_ = beforeMiddle ? -tray : iapShelfView_->rightTrayWidth();
        if (tapRecognizer_) tapRecognizer_->setEnabled(false);
    }
    updateTrayOffset();
    if (offset >= tray - std::min(kTrayPeek, tray) && IAPNavController_ && iapShelfView_->isLeftAligned())
        retractIAPViewController();
}

void QZContentPackIAPSelectionViewController::updateTrayOffset()
{
    if (!iapShelfView_) return;
    CGRect frame = iapShelfView_->frame();
    frame.origin.x = currentTrayOffset_;
    iapShelfView_->setFrame(frame);
}

void QZContentPackIAPSelectionViewController::selectionViewPressed(UITapGestureRecognizer* recognizer)
{
    const std::shared_ptr<QZContentPackSelectionView>& strip = selectionView();
    if (!strip || !iapShelfView_ || !recognizer) return;
    const CGPoint touch = recognizer->locationInView(strip.get());
    const CGFloat offset = stripOffset();
    if (iapShelfView_->isLeftAligned() && iapShelfView_->leftTrayWidth() - offset > touch.x) {
        iapShelfView_->recievedTouchAtPoint(strip->convertPointToView(touch, iapShelfView_.get()));
        if (offset > 0.1f) {
            auto table = strip->tableView();
            UIView::animateWithDuration(kTrayReturn, [&] { table->setContentOffset(CGPointMake(0, 0), true); });
        }
    } else if (IAPNavController_) {
        retractIAPViewController();
    }
}

// ---- The store ----

std::shared_ptr<UIView> QZContentPackIAPSelectionViewController::storeHostView()
{
    if (auto screen = std::dynamic_pointer_cast<UIViewController>(delegate())) return screen->view();
    return isViewLoaded() ? std::static_pointer_cast<UIView>(view()->window()) : nullptr;
}

void QZContentPackIAPSelectionViewController::presentIAPViewController(
    const std::shared_ptr<UIViewController>& controller, bool withDimmer)
{
    std::shared_ptr<UIView> host = storeHostView();
    if (!controller || !host) return;
    if (withDimmer) {
        auto dimmer = UIView::viewWithFrame<QZView>(host->bounds());
        dimmer->setAutoresizingMask(QZUIViewAutoresizingFlexibleDimensions);
        dimmer->setBackgroundColor(UIColor::clearColor());
        dimmer->addGestureRecognizer(UIGestureRecognizer::recognizerWithTarget<UITapGestureRecognizer>(
            self<QZContentPackIAPSelectionViewController>(),
            &QZContentPackIAPSelectionViewController::dimmerViewTapped));
        host->addSubview(dimmer);
        listIAPViewDimmerView_ = dimmer;
        std::weak_ptr<QZContentPackIAPSelectionViewController> weakSelf =
            self<QZContentPackIAPSelectionViewController>();
        UIView::animateWithDuration(
            kDimmerFade, kDimmerDelay, UIViewAnimationOptionCurveEaseIn,
            [&] { dimmer->setBackgroundColor(UIColor::colorWithWhite(0, kDimmerAlpha)); },
            [weakSelf](bool) {
                auto tool = weakSelf.lock();
                if (tool && tool->listIAPViewDimmerView_) tool->setStripTakesTouches(false);
            });
    }
    if (isPad())
        presentIAPViewController_iPad(controller);
    else
        presentIAPViewController_iPhone(controller);
}

namespace {
std::shared_ptr<UINavigationController> storeNavigationController(const std::shared_ptr<UIViewController>& root)
{
    auto navigation = UINavigationController::makeWithRootViewController(root);
    navigation->navigationBar()->setBackgroundImage(
        QZSDKResources::stretchableImageNamed("navBar.png", UIEdgeInsetsMake(0, 1, 0, 1)), UIBarMetricsDefault);
    return navigation;
}
}  // namespace

void QZContentPackIAPSelectionViewController::presentIAPViewController_iPhone(
    const std::shared_ptr<UIViewController>& controller)
{
    std::shared_ptr<UIView> host = storeHostView();
    if (!host) return;
    auto navigation = storeNavigationController(controller);
    IAPNavController_ = navigation;
    const std::shared_ptr<UIView>& sheet = navigation->view();
    CGRect shown = host->bounds();
    shown.size.height = std::max(CGFloat(0), shown.size.height - kStripClearance);
    sheet->setFrame(CGRectOffset(shown, 0, -shown.size.height));
    sheet->setUserInteractionEnabled(false);
    host->addSubview(sheet);
    // The store is this tool's child: its screens hear that they appear, as a presentation tells them.
    navigation->viewWillAppear(true);
    UIView::animateWithDuration(
        kPhoneSlide, 0, UIViewAnimationOptionCurveEaseOut, [&] { sheet->setFrame(shown); },
        [navigation](bool) {
            navigation->view()->setUserInteractionEnabled(true);
            navigation->viewDidAppear(true);
        });
}

void QZContentPackIAPSelectionViewController::presentIAPViewController_iPad(
    const std::shared_ptr<UIViewController>& controller)
{
    auto navigation = storeNavigationController(controller);
    IAPNavController_ = navigation;
    navigation->setModalPresentationStyle(UIModalPresentationFormSheet);
    presentViewController(navigation, true);
}

void QZContentPackIAPSelectionViewController::retractIAPViewController()
{
    if (auto dimmer = listIAPViewDimmerView_) {
        std::weak_ptr<QZContentPackIAPSelectionViewController> weakSelf =
            self<QZContentPackIAPSelectionViewController>();
        UIView::animateWithDuration(
            kDimmerFade, kDimmerDelay, UIViewAnimationOptionCurveEaseIn,
            [&] { dimmer->setBackgroundColor(UIColor::clearColor()); },
            [weakSelf, dimmer](bool) {
                dimmer->removeFromSuperview();
                auto tool = weakSelf.lock();
                if (tool && tool->listIAPViewDimmerView_ == dimmer) tool->listIAPViewDimmerView_.reset();
            });
    }
    if (iapShelfView_) iapShelfView_->cancelCellSelection();
    if (isPad())
        retractIAPViewController_iPad();
    else
        retractIAPViewController_iPhone();
    setStripTakesTouches(true);
}

void QZContentPackIAPSelectionViewController::retractIAPViewController_iPhone()
{
    // Cleared first: whatever the slide meets meanwhile finds no store.
    listIAPViewController_.reset();
    detailIAPViewController_.reset();
    std::shared_ptr<UINavigationController> navigation = std::move(IAPNavController_);
    IAPNavController_.reset();
    if (!navigation) return;
    const std::shared_ptr<UIView>& sheet = navigation->view();
    navigation->viewWillDisappear(true);
    const CGRect away = CGRectOffset(sheet->frame(), 0, -sheet->frame().size.height);
    UIView::animateWithDuration(
        kPhoneSlide, [&] { sheet->setFrame(away); },
        [navigation](bool) {
            navigation->view()->removeFromSuperview();
            navigation->viewDidDisappear(true);
        });
}

void QZContentPackIAPSelectionViewController::retractIAPViewController_iPad()
{
    if (IAPNavController_ && presentedViewController() == IAPNavController_) dismissViewControllerAnimated(true);
    listIAPViewController_.reset();
    IAPNavController_.reset();
    detailIAPViewController_.reset();
}

void QZContentPackIAPSelectionViewController::dimmerViewTapped(UITapGestureRecognizer* recognizer)
{
    if (recognizer && recognizer->state() == UIGestureRecognizerStateEnded) retractIAPViewController();
}

std::shared_ptr<QZContentPackDetailIAPViewController>
QZContentPackIAPSelectionViewController::loadDetailIAPViewControllerWithContentPack(
    const std::shared_ptr<QZContentPack>& pack)
{
    return QZContentPackDetailIAPViewController::makeWithType(QZContentPackDetailIAPViewControllerTypeFeatured, pack);
}

std::shared_ptr<QZContentPackListIAPViewController>
QZContentPackIAPSelectionViewController::loadListIAPViewControllerWithPacks(Packs packs)
{
    return QZContentPackListIAPViewController::makeWithPacks(std::move(packs));
}

void QZContentPackIAPSelectionViewController::presentDetailIAPViewControllerWithContentPack(
    const std::shared_ptr<QZContentPack>& pack, bool withDimmer)
{
    if (detailIAPViewController_ && !withDimmer) retractIAPViewController();
    auto page = loadDetailIAPViewControllerWithContentPack(pack);
    if (!page) return;
    page->setDelegate(std::static_pointer_cast<QZContentPackDetailIAPViewControllerDelegate>(
        self<QZContentPackIAPSelectionViewController>()));
    detailIAPViewController_ = page;
    presentIAPViewController(page, withDimmer);
    QZAnalytics::reportEvent(NSStringWithFormat("Featured(%@) :opened", codeName(pack)), Value());
}

void QZContentPackIAPSelectionViewController::presentDetaiIAPViewControllerOnAppearanceWithContentPack(
    std::shared_ptr<QZContentPack> pack)
{
    if (!pack) return;
    if (isViewLoaded() && view()->window()) {
        // To the start first: the strip moving while the store is out would take it back in.
        scrollStripToStart(false);
        presentDetailIAPViewControllerWithContentPack(pack, true);
        return;
    }
    QZContentPackSelectionViewController::presentDetaiIAPViewControllerOnAppearanceWithContentPack(std::move(pack));
}

void QZContentPackIAPSelectionViewController::selectionViewDidPressGetMoreSide(UIView*, NSInteger side)
{
    const std::string descriptor = contentPackDescriptor();
    if (!listIAPViewController_) {
        if (IAPNavController_) retractIAPViewController();
        auto list = loadListIAPViewControllerWithPacks(installedContentPacks());
        if (list) {
            list->setDelegate(std::static_pointer_cast<QZContentPackListIAPViewControllerDelegate>(
                self<QZContentPackIAPSelectionViewController>()));
            listIAPViewController_ = list;
            presentIAPViewController(list, true);
            QZAnalytics::reportEvent(NSStringWithFormat("ListView(%@) :opened", descriptor), Value());
        }
    }
    QZAnalytics::reportEvent(NSStringWithFormat("%@GetMore%@ :selected", side == 1 ? "Left" : "Right", descriptor),
                             Value());
}

// ---- Shelf and store screens ----

void QZContentPackIAPSelectionViewController::contentPackShelfDidSelectGetMore(QZContentPackShelfView* shelf)
{
    selectionViewDidPressGetMoreSide(shelf, shelf && shelf->isLeftAligned() ? 1 : 0);
}

void QZContentPackIAPSelectionViewController::contentPackShelfDidSelectContentPack(
    QZContentPackShelfView*, const std::shared_ptr<QZContentPack>& pack)
{
    presentDetailIAPViewControllerWithContentPack(pack, false);
}

void QZContentPackIAPSelectionViewController::contentPackShelfDidCancelSelection(QZContentPackShelfView*)
{
    retractIAPViewController();
}

void QZContentPackIAPSelectionViewController::contentPackShelfDidUpdateContentPacks(QZContentPackShelfView*)
{
    shouldShiftForContentSize_ = true;
    updateSelectionViewHeaderAnimated(stripOffset() < 0.1f);
}

void QZContentPackIAPSelectionViewController::listIAPViewControllerFinished(QZContentPackListIAPViewController*)
{
    retractIAPViewController();
}

void QZContentPackIAPSelectionViewController::detailIAPControllerFinished(QZContentPackDetailIAPViewController*)
{
    retractIAPViewController();
}

void QZContentPackIAPSelectionViewController::listIAPViewControllerBeganInstallingPack(
    QZContentPackListIAPViewController*, const std::shared_ptr<QZContentPack>& pack)
{
    beginDownloadingContentPack(pack);
}

void QZContentPackIAPSelectionViewController::detailIAPViewControllerBeganInstalling(
    QZContentPackDetailIAPViewController*, const std::shared_ptr<QZContentPack>& pack)
{
    beginDownloadingContentPack(pack);
}

// ---- Downloads ----

void QZContentPackIAPSelectionViewController::beginDownloadingContentPack(const std::shared_ptr<QZContentPack>& pack)
{
    if (!pack) return;
    downloading_ = true;
    pack->highResolutionResourceProvider()->downloadResources();
    if (detailIAPViewController_) detailIAPViewController_->beganDownloading();
    if (listIAPViewController_) listIAPViewController_->beganDownloadingPack(pack);
    if (detailIAPViewController_) retractIAPViewController();
}

void QZContentPackIAPSelectionViewController::resourcesUpdated(const std::shared_ptr<NSNotification>& notification)
{
    auto provider = std::dynamic_pointer_cast<QZContentPackResourceProvider>(notification->object());
    if (!provider) return;
    std::shared_ptr<QZContentPack> pack = packWithIdentifier(provider->contentPackIdentifier());
    if (!pack) return;
    const std::string keyPath = notification->userInfo()["keyPath"].stringValue();
    if (keyPath == "state") {
        updateDownloadProgressForContentPack(pack);
        if (provider->state() == QZContentPackResourceProviderStateDownloaded) didFinishDownloadingContentPack(pack);
    } else if (keyPath == "downloadProgress") {
        updateDownloadProgressForContentPack(pack);
    }
}

void QZContentPackIAPSelectionViewController::updateDownloadProgressForContentPack(
    const std::shared_ptr<QZContentPack>& pack)
{
    if (listIAPViewController_) listIAPViewController_->updatedDownloadProgressForContentPack(pack);
    if (detailIAPViewController_) detailIAPViewController_->finishedDownloading();
    if (!selectionView()) return;
    for (const auto& cell : selectionView()->tableView()->visibleCells())
        if (auto packCell = std::dynamic_pointer_cast<QZContentPackUnifiedSelectionViewCell>(cell)) packCell->update();
}

void QZContentPackIAPSelectionViewController::didFinishDownloadingContentPack(
    const std::shared_ptr<QZContentPack>& pack)
{
    if (listIAPViewController_) listIAPViewController_->finishedDownloadingContentPack(pack);
    if (detailIAPViewController_) detailIAPViewController_->finishedDownloading();
}

void QZContentPackIAPSelectionViewController::downloadDidFail(const std::shared_ptr<NSNotification>& notification)
{
    if (downloading_ && notification->userInfo()[kQZResourceProvierHighRes].boolValue()) {
        downloadFailedAlertView_ = UIAlertView::make(
            "",
            QZLocalizedString(
                "Your pack was unable to finish downloading. Please check your internet connection and try again."),
            {}, QZLocalizedString("OK"));
        downloadFailedAlertView_->show();
    }
    downloading_ = false;
}

// ---- The welcome prompt ----

void QZContentPackIAPSelectionViewController::presentFirstDownloadMessageIfNecessary()
{
    if (!firstLaunchRequiresDownload()) return;
    const std::string descriptor = contentPackDescriptor();
    auto defaults = NSUserDefaults::standardUserDefaults();
    Value launched = defaults->objectForKey(kQZToolControllerHasLaunchedDictionary);
    if (launched.isDictionary() && !launched[descriptor].isNil()) return;
    Value record = launched.isDictionary() ? launched : Value::dictionary();
    record.setObject(Value(true), descriptor);
    defaults->setObject(record, kQZToolControllerHasLaunchedDictionary);
    defaults->synchronize();

    const Packs installed = installedContentPacks();
    if (installed.empty()) return;
    const std::shared_ptr<QZContentPack>& first = installed.front();
    // A pack that needs no download works already: it reads "not downloaded" only because its
    // provider counts the downloaded archive alone.
    if (first->assetsAvailableForHighResUse()) return;
    if (first->highResolutionResourceProvider()->state() != QZContentPackResourceProviderStateNotDownloaded) return;
    welcomeAlertView_ = UIAlertView::make(
        QZLocalizedString(firstLaunchTitle()), QZLocalizedString(firstLaunchText()),
        std::static_pointer_cast<UIAlertViewDelegate>(self<QZContentPackIAPSelectionViewController>()),
        QZLocalizedString("Cancel"), {QZLocalizedString("OK")});
    welcomeAlertView_->show();
}

void QZContentPackIAPSelectionViewController::alertViewClickedButtonAtIndex(UIAlertView* alert, NSInteger buttonIndex)
{
    if (!alert || alert != welcomeAlertView_.get()) {
        QZContentPackSelectionViewController::alertViewClickedButtonAtIndex(alert, buttonIndex);
        return;
    }
    welcomeAlertView_.reset();
    const std::string descriptor = contentPackDescriptor();
    if (buttonIndex == 1) {
        // The list may have emptied while the prompt was up: then there is nothing to offer.
        const Packs installed = installedContentPacks();
        if (installed.empty()) return;
        beginDownloadingContentPack(installed.front());
        QZAnalytics::reportEvent(NSStringWithFormat("Welcome to %@: installed", descriptor), Value::dictionary());
        return;
    }
    QZAnalytics::reportEvent(NSStringWithFormat("Welcome to %@: cancelled", descriptor), Value::dictionary());
}
