#pragma once
// The in-tool page of one pack: a strip of the pack's items, slid in over a two-level pack tool
// (QZContentPackListSelectionViewController) and carrying the tool's real editing. It draws on the
// list tool's canvas and overlays (the getters answer the list tool's) and keeps its render timing
// there; Apply and Back go to the list tool as this page's finish, and the list tool reports for
// both levels. What an item looks like and what choosing one does belongs to the derived page.
// Main thread only.

#include "TesselSDK/packs/QZContentPackSelectionViewController.h"

#include <memory>
#include <string>

class QZContentPack;
class QZContentPackItem;
class QZContentPackListSelectionViewController;

class QZContentPackDetailSelectionViewController : public QZContentPackSelectionViewController {
public:
    using QZContentPackSelectionViewController::QZContentPackSelectionViewController;
    using QZContentPackSelectionViewController::initWithGLInstance;

    // initWithGLInstance:contentPack:selectionView: for a page of class T.
    template <class T = QZContentPackDetailSelectionViewController>
    static std::shared_ptr<T> makeWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance,
                                                 std::shared_ptr<QZContentPack> pack, bool selectionView)
    {
        return NSObject::create<T>(
            [&](T& page) { return page.initWithGLInstance(glInstance, std::move(pack), selectionView); });
    }
    // The base's initialiser with the flag, then the pack, its shown name as the title and its code
    // name as the analytics key.
    virtual bool initWithGLInstance(const std::shared_ptr<QZOpenGLInstance>& glInstance,
                                    std::shared_ptr<QZContentPack> pack, bool selectionView);

    const std::shared_ptr<QZContentPack>& contentPack() const { return contentPack_; }
    std::shared_ptr<QZContentPackListSelectionViewController> listViewController() const
    {
        return listViewController_.lock();
    }
    void setListViewController(std::weak_ptr<QZContentPackListSelectionViewController> list)
    {
        listViewController_ = std::move(list);
    }
    const std::string& contentPackKey() const { return contentPackKey_; }
    void setContentPackKey(std::string key) { contentPackKey_ = std::move(key); }

    // ---- Hooks ----
    // The configured strip cell of an item: nil here.
    virtual std::shared_ptr<UITableViewCell>
    selectionViewCellForContentPackItem(const std::shared_ptr<QZContentPackItem>& item);
    // An item chosen in the strip: nothing here.
    virtual void selectionViewDidSelectContentPackItem(const std::shared_ptr<QZContentPackItem>& item);
    // Run at the end of viewDidLoad: nothing here.
    virtual void loadContentPackItemSelectionView() {}

    // The base's, then the back button names the list tool.
    void viewDidLoad() override;
    // Nothing: the page neither fades its strip nor zooms the canvas it shares.
    void viewWillDisappear(bool animated) override;
    // Clears the canvas and tells the list tool it was cancelled.
    void backButtonPressed() override;
    // Tells the list tool it applied.
    void applyButtonPressed() override;
    void willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation) override;

    // The list tool's (the delegate's), so both levels draw on one canvas.
    std::shared_ptr<QZView> staticOverlayView() const override;
    std::shared_ptr<QZView> scrollableOverlayView() const override;
    std::shared_ptr<QZScrollingImageView> scrollableImageView() const override;
    void setRenderStartDate() override;
    void setRenderEndDate() override;
    // The list tool reports for both levels.
    void reportOpened() override {}
    void reportCancelled() override {}

    // ---- The strip: one section of the pack's items ----
    NSInteger numberOfSectionsInSelectionView(QZContentPackSelectionView*) override { return 1; }
    NSInteger selectionViewNumberOfRowsInSection(QZContentPackSelectionView*, NSInteger section) override;
    std::shared_ptr<UITableViewCell>
    selectionViewSelectionViewCellForRowAtIndexPath(QZContentPackSelectionView*,
                                                    const std::shared_ptr<NSIndexPath>& indexPath) override;
    void selectionViewDidSelectRowAtIndexPath(QZContentPackSelectionView*,
                                              const std::shared_ptr<NSIndexPath>& indexPath) override;

protected:
    // The pack's item at the row, nil past the end.
    std::shared_ptr<QZContentPackItem> itemAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath) const;
    // The delegate as a tool (the list tool): where the shared canvas and overlays come from.
    std::shared_ptr<QZToolViewController> delegateTool() const;

private:
    std::shared_ptr<QZContentPack> contentPack_;
    std::weak_ptr<QZContentPackListSelectionViewController> listViewController_;
    std::string contentPackKey_;
};
