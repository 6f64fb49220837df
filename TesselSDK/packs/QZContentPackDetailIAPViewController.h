#pragma once
// The store's page of one pack: an 88-point header (icon, name, item count, description, install
// state) over pages of item previews with page dots. Type 1 is pushed from a row of the store
// list and goes back to it ("Store"); type 0 is presented by a pack tool for one pack and closes
// the store ("Close"). The install button asks the delegate to start the download; the owner
// passes the download's events back. Main thread only.

#include "TesselSDK/shell/QZViewController.h"

#include "TesselSDKFoundation/QZPageControl.h"
#include "TesselSDKFoundation/QZScrollBarView.h"

#include "UIKit/UIBarButtonItem.h"
#include "UIKit/UIButton.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIProgressView.h"

#include <memory>
#include <string>
#include <vector>

class QZContentPack;
class QZContentPackItem;
class QZContentPackDetailIAPViewController;

enum QZContentPackDetailIAPViewControllerType : NSInteger {
    QZContentPackDetailIAPViewControllerTypeFeatured = 0,  // presented by a tool
    QZContentPackDetailIAPViewControllerTypeList = 1,      // pushed from the store list
};

class QZContentPackDetailIAPViewControllerDelegate {
public:
    virtual ~QZContentPackDetailIAPViewControllerDelegate() = default;
    virtual void detailIAPViewControllerBeganInstalling(QZContentPackDetailIAPViewController* page,
                                                        const std::shared_ptr<QZContentPack>& pack) = 0;
    // A type 0 page was closed; not implemented here.
    virtual void detailIAPControllerFinished(QZContentPackDetailIAPViewController*) {}
};

class QZContentPackDetailIAPViewController : public QZViewController, public QZScrollBarViewDelegate {
public:
    using QZViewController::QZViewController;

    template <class T = QZContentPackDetailIAPViewController>
    static std::shared_ptr<T> makeWithType(NSInteger type, std::shared_ptr<QZContentPack> pack)
    {
        return NSObject::create<T>([&](T& page) { return page.initWithType(type, std::move(pack)); });
    }
    virtual bool initWithType(NSInteger type, std::shared_ptr<QZContentPack> pack);

    // ---- Per-type values ----
    virtual std::string titleDescriptor() const { return ""; }
    virtual std::string countDescriptor() const { return ""; }
    virtual NSInteger numberOfRows() const { return 2; }
    virtual NSInteger numberOfColumnsPerPage() const { return 3; }
    // A new column view of the page's kind with that reuse identifier.
    virtual std::shared_ptr<QZScrollBarPageItemView> makePageItem(const std::string& reuseIdentifier) const;

    NSInteger type() const { return type_; }
    const std::shared_ptr<QZContentPack>& contentPack() const { return contentPack_; }
    // The first pack only is stored; a later one cross-fades the page to it.
    void setContentPack(std::shared_ptr<QZContentPack> pack);
    std::weak_ptr<QZContentPackDetailIAPViewControllerDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QZContentPackDetailIAPViewControllerDelegate> delegate)
    {
        delegate_ = std::move(delegate);
    }

    // ---- Views ----
    const std::shared_ptr<UIImageView>& packPreviewImageView() const { return packPreviewImageView_; }
    const std::shared_ptr<UILabel>& packNameLabel() const { return packNameLabel_; }
    const std::shared_ptr<UILabel>& countLabel() const { return countLabel_; }
    const std::shared_ptr<UILabel>& descriptionLabel() const { return descriptionLabel_; }
    const std::shared_ptr<UILabel>& installLabel() const { return installLabel_; }
    const std::shared_ptr<UIButton>& installButton() const { return installButton_; }
    const std::shared_ptr<UIProgressView>& downloadProgressView() const { return downloadProgressView_; }
    const std::shared_ptr<QZPageControl>& pageControl() const { return pageControl_; }
    const std::shared_ptr<QZScrollBarView>& scrollBarView() const { return scrollBarView_; }
    const std::shared_ptr<UIBarButtonItem>& dismissButton() const { return dismissButton_; }

    // ---- Download events ----
    void beganDownloading() { configureForPackState(); }
    void finishedDownloading() { configureForPackState(); }
    void updateDownloadProgress();
    void reloadData() { configureForPackState(); }

    void configureForPackState();
    void layoutContentPackInformation();
    void layoutScrollBarViews();
    // Columns of previews: full pages of rows x columns, then what is left in up to `columns` more.
    NSUInteger numberOfItems();
    // The items column k shows, top to bottom.
    std::vector<std::shared_ptr<QZContentPackItem>> itemsForColumn(NSUInteger column);

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    bool shouldAutorotateToInterfaceOrientation(UIInterfaceOrientation) override { return true; }

    // QZScrollBarViewDelegate
    NSUInteger numberOfItemsInScrollBar(QZScrollBarView* scrollBar) override;
    std::shared_ptr<QZScrollBarPageItemView> scrollBarItemViewForColumnAtIndex(QZScrollBarView* scrollBar,
                                                                               NSUInteger column) override;
    // The column view for these items: thumbnails in the base.
    virtual std::shared_ptr<QZScrollBarPageItemView>
    scrollBarItemViewForContentPackItems(QZScrollBarView* scrollBar,
                                         const std::vector<std::shared_ptr<QZContentPackItem>>& items);

    // The install button's and the back button's actions.
    void installButtonPressed();
    void backButtonPressed();

protected:
    // Icon, name, count, description and state from the pack.
    void updateViewForContentPack();

private:
    std::vector<std::shared_ptr<UIView>> fadingViews() const;

    NSInteger type_ = QZContentPackDetailIAPViewControllerTypeFeatured;
    std::shared_ptr<QZContentPack> contentPack_;
    std::weak_ptr<QZContentPackDetailIAPViewControllerDelegate> delegate_;
    std::shared_ptr<UIImageView> packPreviewImageView_;
    std::shared_ptr<UILabel> packNameLabel_;
    std::shared_ptr<UILabel> countLabel_;
    std::shared_ptr<UILabel> descriptionLabel_;
    std::shared_ptr<UILabel> installLabel_;
    std::shared_ptr<UIButton> installButton_;
    std::shared_ptr<UIProgressView> downloadProgressView_;
    std::shared_ptr<QZPageControl> pageControl_;
    std::shared_ptr<QZScrollBarView> scrollBarView_;
    std::shared_ptr<UIBarButtonItem> dismissButton_;
};
