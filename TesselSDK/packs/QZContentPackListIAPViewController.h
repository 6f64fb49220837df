#pragma once
// The store list: every pack of one type as a row (icon, name, count, state, install button);
// a row opens the pack's store page (type 1), pushed on the navigation controller that carries
// the list. The pack tool that shows the list is its delegate: it starts the downloads the list
// asks for, hands it the new pack list and passes the downloads' events on. Main thread only.

#include "TesselSDK/packs/QZContentPackDetailIAPViewController.h"
#include "TesselSDK/packs/QZContentPackListIAPViewProductCell.h"
#include "TesselSDK/shell/QZViewController.h"

#include "UIKit/UIBarButtonItem.h"
#include "UIKit/UITableView.h"

#include <memory>
#include <string>
#include <vector>

class QZContentPack;
class QZContentPackListIAPViewController;

inline constexpr const char* kQZContentPackListProductCellIdentifier = "QZContentPackListIAPVIewController_productCell";
inline constexpr const char* kQZContentPackListLoadingCellIdentifier = "QZContentPackListIAPVIewController_loadingCell";

class QZContentPackListIAPViewControllerDelegate {
public:
    virtual ~QZContentPackListIAPViewControllerDelegate() = default;
    virtual void listIAPViewControllerFinished(QZContentPackListIAPViewController* list) = 0;
    virtual void listIAPViewControllerBeganInstallingPack(QZContentPackListIAPViewController* list,
                                                          const std::shared_ptr<QZContentPack>& pack) = 0;
};

class QZContentPackListIAPViewController : public QZViewController,
                                           public UITableViewDataSource,
                                           public UITableViewDelegate,
                                           public QZContentPackListIAPViewProductCellDelegate,
                                           public QZContentPackDetailIAPViewControllerDelegate {
public:
    using Packs = std::vector<std::shared_ptr<QZContentPack>>;
    static constexpr CGFloat kRowHeight = 70;

    using QZViewController::QZViewController;

    template <class T = QZContentPackListIAPViewController>
    static std::shared_ptr<T> makeWithPacks(Packs packs)
    {
        return NSObject::create<T>([&](T& list) { return list.initWithPacks(std::move(packs)); });
    }
    virtual bool initWithPacks(Packs packs);

    // ---- Per-type values ----
    // The type word of the title and the events ("" here).
    virtual std::string typeDescriptor() const { return ""; }
    // The store page a row opens, type 1.
    virtual std::shared_ptr<QZContentPackDetailIAPViewController>
    loadDetailViewControllerWithContentPack(const std::shared_ptr<QZContentPack>& pack);

    std::weak_ptr<QZContentPackListIAPViewControllerDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QZContentPackListIAPViewControllerDelegate> delegate)
    {
        delegate_ = std::move(delegate);
    }
    const Packs& packs() const { return packs_; }
    // The new packs, the table brought to them in one update (rows inserted, deleted and reloaded
    // from the old and the new row lists, the loading row included); an open page reloads.
    void updatePacks(Packs packs);
    const std::shared_ptr<UITableView>& tableView() const { return tableView_; }
    const std::shared_ptr<QZContentPackDetailIAPViewController>& detailViewController() const
    {
        return detailViewController_;
    }
    // The first row reads "Checking for content updates..." from the next reload or update on.
    bool isDisplayingFetchingMessage() const { return displayingFetchingMessage_; }
    void setDisplayingFetchingMessage(bool displaying) { displayingFetchingMessage_ = displaying; }
    const std::shared_ptr<UIBarButtonItem>& closeButton() const { return closeButton_; }

    // ---- Download events ----
    void beganDownloadingPack(const std::shared_ptr<QZContentPack>& pack);
    void updatedDownloadProgressForContentPack(const std::shared_ptr<QZContentPack>& pack);
    void finishedDownloadingContentPack(const std::shared_ptr<QZContentPack>& pack);
    // The pack's row while it is on screen, else null.
    std::shared_ptr<QZContentPackListIAPViewProductCell>
    productCellForContentPack(const std::shared_ptr<QZContentPack>& pack);

    void loadView() override;
    void viewDidLoad() override;
    bool shouldAutorotateToInterfaceOrientation(UIInterfaceOrientation) override { return true; }
    void doneButtonPressed();

    // UITableViewDataSource, UITableViewDelegate
    NSInteger tableViewNumberOfRowsInSection(UITableView* tableView, NSInteger section) override;
    std::shared_ptr<UITableViewCell>
    tableViewCellForRowAtIndexPath(UITableView* tableView, const std::shared_ptr<NSIndexPath>& indexPath) override;
    std::optional<CGFloat> tableViewHeightForRowAtIndexPath(UITableView*, const std::shared_ptr<NSIndexPath>&) override
    {
        return kRowHeight;
    }
    void tableViewDidSelectRowAtIndexPath(UITableView* tableView,
                                          const std::shared_ptr<NSIndexPath>& indexPath) override;

    // From a row's and a pushed page's install buttons.
    void listIAPCellBeganInstalling(QZContentPackListIAPViewProductCell* cell,
                                    const std::shared_ptr<QZContentPack>& pack) override;
    void detailIAPViewControllerBeganInstalling(QZContentPackDetailIAPViewController* page,
                                                const std::shared_ptr<QZContentPack>& pack) override;

private:
    // The row of pack i, and the pack of a row (null for the loading row).
    NSInteger rowForPackIndex(std::size_t index) const { return NSInteger(index) + (tableHasLoadingRow_ ? 1 : 0); }
    std::shared_ptr<QZContentPack> packForRow(NSInteger row) const;

    std::weak_ptr<QZContentPackListIAPViewControllerDelegate> delegate_;
    Packs packs_;
    std::shared_ptr<UITableView> tableView_;
    std::shared_ptr<QZContentPackDetailIAPViewController> detailViewController_;
    bool displayingFetchingMessage_ = false;
    // Whether the table's rows, as the table knows them, begin with the loading row.
    bool tableHasLoadingRow_ = false;
    std::shared_ptr<UIBarButtonItem> closeButton_;
};
