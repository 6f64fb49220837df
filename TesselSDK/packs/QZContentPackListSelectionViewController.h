#pragma once
// A two-level pack tool. Its strip shows the installed packs of its type (a snapshot taken when
// the view loads; while it is empty, a spinner only as long as a content update runs, and the
// shelf's Get More entry to the pack store either way); choosing a pack whose full-size set is on the
// device slides in from the right an in-tool page of that pack's items (detailViewControllerClass),
// which does the tool's real editing on this tool's canvas and overlays. A pack without its set
// opens its store page instead. The page's Back slides it out again; its Apply ends the tool with
// the page's module. Main thread only.
//
// Our platform forwards no appearance or rotation calls to a child screen: this tool tells the
// page it appears at the start and end of its slide, that it disappears around the slide-out and
// when the tool applies, and passes the rotation calls on while the page is shown.

#include "TesselSDK/packs/QZContentPackDetailSelectionViewController.h"
#include "TesselSDK/packs/QZContentPackIAPSelectionViewController.h"

#include "UIKit/UIActivityIndicatorView.h"

#include <functional>
#include <memory>

class QZContentPackListSelectionViewController;

// Makes the tool's pack page with initWithGLInstance:contentPack:selectionView:.
using QZContentPackDetailViewControllerFactory =
    std::function<std::shared_ptr<QZContentPackDetailSelectionViewController>(
        const std::shared_ptr<QZOpenGLInstance>& glInstance, const std::shared_ptr<QZContentPack>& pack,
        bool ownSelectionView)>;

class QZContentPackListSelectionViewController : public QZContentPackIAPSelectionViewController,
                                                 public QZToolViewControllerDelegate {
public:
    static constexpr double kSlideDuration = 0.2;

    using QZContentPackIAPSelectionViewController::QZContentPackIAPSelectionViewController;
    using QZContentPackIAPSelectionViewController::initWithGLInstance;

    // ---- Class values ----
    bool needsLayoutOnFailure() const override { return true; }
    // The pages this tool shows (plain detail pages here).
    virtual QZContentPackDetailViewControllerFactory detailViewControllerClass() const;

    const std::shared_ptr<QZContentPackDetailSelectionViewController>& contentPackDetailViewController() const
    {
        return contentPackDetailViewController_;
    }
    const std::shared_ptr<QZModule>& contentPackDetailViewControllerOutputModule() const
    {
        return contentPackDetailViewControllerOutputModule_;
    }
    const std::shared_ptr<UIActivityIndicatorView>& indicatorView() const { return indicatorView_; }
    bool shouldAnimateCells() const { return shouldAnimateCells_; }
    void setShouldAnimateCells(bool animate) { shouldAnimateCells_ = animate; }

    // ---- Packs in the strip ----
    // The configured strip cell of a pack: nil here.
    virtual std::shared_ptr<UITableViewCell> cellForContentPack(const std::shared_ptr<QZContentPack>& pack);
    // Row = the pack's place in the installed snapshot, section 0; nil when it is not there.
    std::shared_ptr<NSIndexPath> indexPathForContentPack(const std::shared_ptr<QZContentPack>& pack) const;
    // Nil for a row past the snapshot.
    std::shared_ptr<QZContentPack> contentPackForIndexPath(const std::shared_ptr<NSIndexPath>& indexPath) const;
    // Its page when its full-size set is on the device, else its store page.
    virtual void didSelectContentPack(const std::shared_ptr<QZContentPack>& pack);

    // ---- The page ----
    virtual std::shared_ptr<QZContentPackDetailSelectionViewController>
    createDetailViewControllerWithPack(const std::shared_ptr<QZContentPack>& pack, bool ownSelectionView);
    // Always animated: the page slides in over 0.2 s, every button of both levels off meanwhile.
    virtual void presentDetailSelectionViewControllerWithContentPack(const std::shared_ptr<QZContentPack>& pack,
                                                                     bool animated);
    virtual void dismissDetailSelectionViewController();
    // While a page is shown: this tool's view one width to the left, the page where it was.
    virtual void layoutSelectionViews();
    // The page's finish: Back slides it out, Apply ends the tool with its module.
    void toolControllerFinishedWithStatus(QZToolViewController* tool, QZToolViewControllerStatus status) override;
    // The page that applied: nothing here.
    virtual void detailControllerApplied(QZContentPackDetailSelectionViewController*) {}

    // ---- Overrides ----
    void loadView() override;
    void viewWillAppear(bool animated) override;
    void willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation) override;
    // The base's, then the page's view goes.
    void finishApplying() override;
    // The page's module, taken when it applied.
    std::shared_ptr<QZModule> outputModule() override { return contentPackDetailViewControllerOutputModule_; }

    NSInteger numberOfSectionsInSelectionView(QZContentPackSelectionView*) override { return 1; }
    NSInteger selectionViewNumberOfRowsInSection(QZContentPackSelectionView*, NSInteger section) override;
    std::shared_ptr<UITableViewCell>
    selectionViewSelectionViewCellForRowAtIndexPath(QZContentPackSelectionView*,
                                                    const std::shared_ptr<NSIndexPath>& indexPath) override;
    void selectionViewDidSelectRowAtIndexPath(QZContentPackSelectionView*,
                                              const std::shared_ptr<NSIndexPath>& indexPath) override;

private:
    // Stops the spinner once no content update runs, looking again every half second till then.
    void stopSpinnerWhenLoaded();

    std::shared_ptr<QZContentPackDetailSelectionViewController> contentPackDetailViewController_;
    std::shared_ptr<QZModule> contentPackDetailViewControllerOutputModule_;
    std::shared_ptr<UIActivityIndicatorView> indicatorView_;
    bool shouldAnimateCells_ = false;
};
