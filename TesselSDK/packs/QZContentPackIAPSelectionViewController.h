#pragma once
// The pack-aware base of the pack tools. A concrete tool names its pack type through the class
// values below; this class then fetches the packs of that type from the content store, lays the
// pack shelf behind the strip (its tray opens the store list), presents the store list and pack
// pages over the editor (sliding down on a phone, a form sheet on a tablet, over a dimmer),
// starts downloads from their install buttons and follows them to the screens and the strip's
// cells, shows a one-time welcome prompt offering the first pack, and opens a quick-launched
// pack's page when it appears. Main thread only.
//
// The store lies over the view of the tool's delegate when that is a screen (the root screen),
// else over the window of the tool's view.

#include "TesselSDK/packs/QZContentPackDetailIAPViewController.h"
#include "TesselSDK/packs/QZContentPackListIAPViewController.h"
#include "TesselSDK/packs/QZContentPackSelectionViewController.h"
#include "TesselSDK/packs/QZContentPackShelfView.h"

#include "TesselSDKFoundation/QZView.h"

#include "CoreData/NSFetchedResultsController.h"
#include "Foundation/NSNotification.h"
#include "UIKit/UINavigationController.h"
#include "UIKit/UITapGestureRecognizer.h"

#include <memory>
#include <string>
#include <vector>

class QZContentPack;
class QZManagedObjectClass;
class QZTesselContentManager;

// Descriptor -> YES for every tool whose welcome prompt has had its chance.
inline constexpr const char* kQZToolControllerHasLaunchedDictionary = "kQZToolControllerHasLaunchedDictionary";

class QZContentPackIAPSelectionViewController : public QZContentPackSelectionViewController,
                                                public QZContentPackShelfViewDelegate,
                                                public QZContentPackListIAPViewControllerDelegate,
                                                public QZContentPackDetailIAPViewControllerDelegate,
                                                public NSFetchedResultsControllerDelegate {
public:
    using Packs = std::vector<std::shared_ptr<QZContentPack>>;
    // Points of the phone's host view left uncovered by the store: the strip.
    static constexpr CGFloat kStripClearance = 120;

    using QZContentPackSelectionViewController::QZContentPackSelectionViewController;
    using QZContentPackSelectionViewController::initWithGLInstance;
    // Observers and observations go before anything they could reach.
    ~QZContentPackIAPSelectionViewController() override;

    // The base's, then the notifications (registerForNotifcations).
    bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance, Value settings,
                            bool quickLaunch) override;

    // ---- Class values (each pack tool overrides them) ----
    // The record class of the fetch's entity, matched against the availability notification.
    virtual std::shared_ptr<const QZManagedObjectClass> contentPackClass() const;
    // "Effects", "Frames", "Stickers": the welcome record's key, the Get More icon, the events.
    virtual std::string contentPackDescriptor() const { return ""; }
    virtual bool firstLaunchRequiresDownload() const { return false; }
    virtual std::string firstLaunchTitle() const { return ""; }
    virtual std::string firstLaunchText() const { return ""; }

    // ---- Packs ----
    std::shared_ptr<QZTesselContentManager> contentManager() const;
    // Made on first use: every pack of the type, by "index" then "identifier".
    std::shared_ptr<NSFetchedResultsController> fetchedResultsController() override;
    // The fetched packs whose thumbnails are on the device, in fetch order.
    Packs installedContentPacks();
    // The installed pack of that identifier (the later one, logged, when two share it).
    std::shared_ptr<QZContentPack> packWithIdentifier(const std::string& identifier);
    const Packs& currentInstalledContentPacks() const { return currentInstalledContentPacks_; }
    void setCurrentInstalledContentPacks(Packs packs) { currentInstalledContentPacks_ = std::move(packs); }
    const Packs& currentOfferedContentPacks() const { return currentOfferedContentPacks_; }
    void setCurrentOfferedContentPacks(Packs packs) { currentOfferedContentPacks_ = std::move(packs); }
    // The pack list changed: nothing here.
    virtual void contentPacksDidUpdate() {}
    virtual void updateContentPacks();
    virtual void updateIAPViewControllers();

    // ---- The strip, its tray and the shelf ----
    const std::shared_ptr<QZContentPackShelfView>& iapShelfView() const { return iapShelfView_; }
    virtual void updateSelectionViewHeaderAnimated(bool animated);
    virtual void updateSelectionViewFooter();
    virtual void contentOffsetDidChange();
    virtual void contentSizeDidChangeWithOldValue(CGSize oldSize);
    void updateTrayOffset();
    CGFloat currentTrayOffset() const { return currentTrayOffset_; }
    const std::shared_ptr<UITapGestureRecognizer>& tapRecognizer() const { return tapRecognizer_; }
    bool shouldShiftForContentSize() const { return shouldShiftForContentSize_; }
    bool shouldShowRightGetMore() const { return shouldShowRightGetMore_; }
    bool isViewInitialized() const { return viewInitialized_; }
    void selectionViewPressed(UITapGestureRecognizer* recognizer);

    // ---- The store ----
    const std::shared_ptr<QZContentPackDetailIAPViewController>& detailIAPViewController() const
    {
        return detailIAPViewController_;
    }
    const std::shared_ptr<QZContentPackListIAPViewController>& listIAPViewController() const
    {
        return listIAPViewController_;
    }
    const std::shared_ptr<UINavigationController>& IAPNavController() const { return IAPNavController_; }
    const std::shared_ptr<QZView>& listIAPViewDimmerView() const { return listIAPViewDimmerView_; }
    // Where the store lies.
    std::shared_ptr<UIView> storeHostView();
    virtual void presentIAPViewController(const std::shared_ptr<UIViewController>& controller, bool withDimmer);
    virtual void presentIAPViewController_iPhone(const std::shared_ptr<UIViewController>& controller);
    virtual void presentIAPViewController_iPad(const std::shared_ptr<UIViewController>& controller);
    virtual void retractIAPViewController();
    virtual void retractIAPViewController_iPhone();
    virtual void retractIAPViewController_iPad();
    void dimmerViewTapped(UITapGestureRecognizer* recognizer);
    void presentDetailIAPViewControllerWithContentPack(const std::shared_ptr<QZContentPack>& pack)
    {
        presentDetailIAPViewControllerWithContentPack(pack, true);
    }
    virtual void presentDetailIAPViewControllerWithContentPack(const std::shared_ptr<QZContentPack>& pack,
                                                               bool withDimmer);
    // The pages and lists this tool shows: plain ones here, the typed ones in each tool.
    virtual std::shared_ptr<QZContentPackDetailIAPViewController>
    loadDetailIAPViewControllerWithContentPack(const std::shared_ptr<QZContentPack>& pack);
    virtual std::shared_ptr<QZContentPackListIAPViewController> loadListIAPViewControllerWithPacks(Packs packs);
    // At once when the view is in a window, else when it appears.
    void presentDetaiIAPViewControllerOnAppearanceWithContentPack(std::shared_ptr<QZContentPack> pack) override;
    const std::shared_ptr<QZContentPack>& packToLaunch() const { return packToLaunch_; }

    // ---- Downloads ----
    bool isDownloading() const { return downloading_; }
    virtual void beginDownloadingContentPack(const std::shared_ptr<QZContentPack>& pack);
    virtual void didFinishDownloadingContentPack(const std::shared_ptr<QZContentPack>& pack);
    virtual void updateDownloadProgressForContentPack(const std::shared_ptr<QZContentPack>& pack);
    void resourcesUpdated(const std::shared_ptr<NSNotification>& notification);
    void downloadDidFail(const std::shared_ptr<NSNotification>& notification);
    void newPacksAvailableNotification(const std::shared_ptr<NSNotification>& notification);

    // ---- The welcome prompt ----
    virtual void presentFirstDownloadMessageIfNecessary();
    const std::shared_ptr<UIAlertView>& welcomeAlertView() const { return welcomeAlertView_; }
    void alertViewClickedButtonAtIndex(UIAlertView* alert, NSInteger buttonIndex) override;

    // ---- View lifecycle ----
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // ---- The shelf, the store screens and the strip ----
    void contentPackShelfDidSelectGetMore(QZContentPackShelfView* shelf) override;
    void contentPackShelfDidSelectContentPack(QZContentPackShelfView* shelf,
                                              const std::shared_ptr<QZContentPack>& pack) override;
    void contentPackShelfDidCancelSelection(QZContentPackShelfView* shelf) override;
    void contentPackShelfDidUpdateContentPacks(QZContentPackShelfView* shelf) override;
    void listIAPViewControllerFinished(QZContentPackListIAPViewController* list) override;
    void listIAPViewControllerBeganInstallingPack(QZContentPackListIAPViewController* list,
                                                  const std::shared_ptr<QZContentPack>& pack) override;
    void detailIAPViewControllerBeganInstalling(QZContentPackDetailIAPViewController* page,
                                                const std::shared_ptr<QZContentPack>& pack) override;
    void detailIAPControllerFinished(QZContentPackDetailIAPViewController* page) override;
    // `sender` is the strip or the shelf; side 1 the left end.
    void selectionViewDidPressGetMoreSide(UIView* sender, NSInteger side) override;

protected:
    void registerForNotifcations();
    // The strip's table: "contentSize" (`prior` gives the old size), "contentOffset", "frame".
    void observeValueForKeyPath(const std::string& keyPath, bool prior);

private:
    // Along the strip: the table's offset, content length and visible length.
    CGFloat stripOffset() const;
    CGFloat stripContentLength() const;
    void scrollStripToStart(bool animated);
    void setStripTakesTouches(bool takes);

    Packs currentInstalledContentPacks_;
    Packs currentOfferedContentPacks_;
    std::shared_ptr<QZContentPackShelfView> iapShelfView_;
    std::shared_ptr<QZContentPackDetailIAPViewController> detailIAPViewController_;
    std::shared_ptr<QZContentPackListIAPViewController> listIAPViewController_;
    std::shared_ptr<UINavigationController> IAPNavController_;
    std::shared_ptr<QZView> listIAPViewDimmerView_;
    bool downloading_ = false;
    CGFloat currentTrayOffset_ = 0;
    std::shared_ptr<UITapGestureRecognizer> tapRecognizer_;
    bool viewInitialized_ = false;
    bool shouldShiftForContentSize_ = false;
    bool shouldShowRightGetMore_ = false;
    std::shared_ptr<UIAlertView> welcomeAlertView_;
    std::shared_ptr<UIAlertView> downloadFailedAlertView_;
    std::shared_ptr<QZView> headerView_;
    std::shared_ptr<QZView> footerView_;
    // The strip's table and what this tool observes on it.
    std::weak_ptr<UITableView> observedTable_;
    std::vector<unsigned long> tableObservations_;
    CGSize contentSizeBeforeChange_{0, 0};
};
