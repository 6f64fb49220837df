#include "ViewGallery.h"

#include "TesselSDKFoundation/QZContainerView.h"
#include "TesselSDKFoundation/QZConveyorOverlayView.h"
#include "TesselSDKFoundation/QZConveyorView.h"
#include "TesselSDKFoundation/QZFeedbackCell.h"
#include "TesselSDKFoundation/QZHUDView.h"
#include "TesselSDKFoundation/QZHorizontalTableView.h"
#include "TesselSDKFoundation/QZOverlayView.h"
#include "TesselSDKFoundation/QZPageControl.h"
#include "TesselSDKFoundation/QZPagingView.h"
#include "TesselSDKFoundation/QZProgressHUDView.h"
#include "TesselSDKFoundation/QZScrollBarView.h"
#include "TesselSDKFoundation/QZSegmentedControl.h"
#include "TesselSDKFoundation/QZSlider.h"
#include "TesselSDKFoundation/QZTransformableView.h"
#include "UIKit/UIGraphics.h"
#include "UIKit/UIWindow.h"

#include <filesystem>

namespace view_gallery {
namespace {

constexpr CGFloat kSide = 160;

// A grey checkerboard: what shows through a transparent view.
class Backdrop : public UIView {
public:
    using UIView::UIView;
    void drawRect(CGRect rect) override
    {
        CGContextRef c = UIGraphicsGetCurrentContext();
        for (int y = 0; y * 16 < rect.size.height; ++y)
            for (int x = 0; x * 16 < rect.size.width; ++x) {
                CGFloat grey = (x + y) % 2 ? 0.62f : 0.86f;
                CGContextSetGrayFillColor(c, grey, 1);
                CGContextFillRect(c, CGRectMake(x * 16.0f, y * 16.0f, 16, 16));
            }
    }
};

std::shared_ptr<UIView> box(CGRect frame, const std::shared_ptr<UIColor>& color)
{
    auto view = UIView::viewWithFrame(frame);
    view->setBackgroundColor(color);
    return view;
}

// The sample view, centred on the backdrop (kSide high, `width` wide), laid out and drawn as it
// looks.
std::shared_ptr<UIImage> shoot(const std::shared_ptr<UIView>& sample, CGFloat width = kSide)
{
    auto backdrop = UIView::viewWithFrame<Backdrop>(CGRectMake(0, 0, width, kSide));
    sample->setCenter(CGPointMake(width / 2, kSide / 2));
    backdrop->addSubview(sample);
    // Tables lay out their rows after their owners have placed them.
    for (int pass = 0; pass < 3; ++pass) {
        sample->setNeedsLayout();
        backdrop->layoutIfNeeded();
    }
    return UIViewSnapshot(*backdrop);
}

// The editor's widgets are as wide as a phone screen.
constexpr CGFloat kWide = 320;

// Rows of labelled cells for the turned tables, a strip's cells and a bar's columns.
class Samples : public UITableViewDataSource,
                public UITableViewDelegate,
                public QZConveyorViewDelegate,
                public QZPagingViewDelegate,
                public QZScrollBarViewDelegate {
public:
    NSInteger tableViewNumberOfRowsInSection(UITableView*, NSInteger) override { return 8; }
    std::shared_ptr<UITableViewCell> tableViewCellForRowAtIndexPath(UITableView*,
                                                                    const std::shared_ptr<NSIndexPath>& path) override
    {
        if (path->row() == 3) return QZFeedbackCell::cellWithReuseIdentifier("feedback");
        return labelled(path->row());
    }
    NSInteger numberOfItemsInConveyorView(QZConveyorView*) override { return 20; }
    std::shared_ptr<QZConveyorViewCell> conveyorViewCellForIndex(QZConveyorView*, NSInteger) override
    {
        return QZConveyorViewCell::cellWithReuseIdentifier("cell");
    }
    void conveyorViewDidSelectItemAtIndex(QZConveyorView*, NSInteger) override {}
    NSInteger numberOfItemsInPagingView(QZPagingView*) override { return 6; }
    std::shared_ptr<UITableViewCell> pagingViewCreateCellWithIdentifier(QZPagingView*, const std::string&) override
    {
        return labelled(0);
    }
    void pagingViewConfigureCellForIndex(QZPagingView*, UITableViewCell* cell, NSInteger index) override
    {
        cell->textLabel()->setText(std::to_string(index));
    }
    NSUInteger numberOfItemsInScrollBar(QZScrollBarView*) override { return 7; }
    std::shared_ptr<QZScrollBarPageItemView> scrollBarItemViewForColumnAtIndex(QZScrollBarView*,
                                                                               NSUInteger column) override
    {
        auto item = QZScrollBarPageItemView::itemWithReuseIdentifier("item");
        item->addSubview(box(CGRectMake(8, 8, 64, 64), UIColor::colorWithRed(0.2f, 0.4f + 0.05f * column, 0.7f, 1)));
        return item;
    }

private:
    static std::shared_ptr<UITableViewCell> labelled(NSInteger row)
    {
        auto cell = UITableViewCell::cellWithStyle<QZHorizontalTableViewCell>(UITableViewCellStyleDefault, "cell");
        cell->setBackgroundColor(UIColor::colorWithWhite(0.25f + 0.05f * (row % 3), 1));
        cell->textLabel()->setText(std::to_string(row));
        cell->textLabel()->setTextColor(UIColor::whiteColor());
        cell->textLabel()->setTextAlignment(NSTextAlignmentCenter);
        return cell;
    }
};

std::shared_ptr<Samples> samples()
{
    static auto shared = std::make_shared<Samples>();
    return shared;
}

}  // namespace

const std::vector<Entry>& entries()
{
    static const std::vector<Entry> table = {
        {"QZView",
         [] {
             auto view = UIView::viewWithFrame<QZView>(CGRectMake(0, 0, 120, 120));
             view->setBackgroundColor(UIColor::colorWithWhite(1, 0.5f));
             return shoot(view);
         }},
        {"QZOverlayView",
         [] {
             auto overlay = UIView::viewWithFrame<QZOverlayView>(CGRectMake(0, 0, 120, 120));
             overlay->addSubview(box(CGRectMake(10, 10, 50, 30), UIColor::colorWithRed(0, 0.462f, 0.905f, 1)));
             overlay->addSubview(box(CGRectMake(60, 80, 50, 30), UIColor::orangeColor()));
             return shoot(overlay);
         }},
        {"QZContainerView",
         [] {
             auto container = UIView::viewWithFrame<QZContainerView>(CGRectMake(0, 0, 120, 120));
             container->addSubview(box(CGRectMake(35, 35, 50, 50), UIColor::colorWithRed(0.2f, 0.7f, 0.3f, 1)));
             return shoot(container);
         }},
        {"QZHUDView", [] { return shoot(UIView::viewWithFrame<QZHUDView>(CGRectMake(0, 0, 100, 100))); }},
        {"QZProgressHUDView",
         [] { return shoot(UIView::viewWithFrame<QZProgressHUDView>(CGRectMake(0, 0, 100, 100))); }},
        {"QZHorizontalTableView",
         [] {
             auto strip = UIView::viewWithFrame<QZHorizontalTableView>(CGRectMake(0, 0, kWide, 54));
             strip->setRowHeight(70);
             strip->tableView()->setBackgroundColor(UIColor::darkGrayColor());  // as the tool strip's
             strip->setDataSource(samples());
             strip->setDelegate(samples());
             return shoot(strip, kWide);
         }},
        {"QZFeedbackCell",
         [] {
             auto cell = QZFeedbackCell::cellWithReuseIdentifier("feedback");
             cell->setTransform(CGAffineTransformIdentity);
             cell->setFrame(CGRectMake(0, 0, 70, 54));
             cell->setSelected(true);
             return shoot(cell);
         }},
        {"QZSlider",
         [] {
             auto slider = UIView::viewWithFrame<QZSlider>(CGRectMake(0, 0, kWide, 56));
             slider->setMinimumValue(-100);
             slider->setMaximumValue(100);
             slider->setValue(40);
             return shoot(slider, kWide);
         }},
        {"QZSegmentedControl",
         [] {
             auto control = QZSegmentedControl::make(CGRectMake(0, 0, 300, 44), {"smallKnob.png", "resizeKnob.png", "pagination.png"},
                                                     {"resizeKnob.png", "smallKnob.png", "pagination_active.png"});
             control->pressButtonAtIndex(1);
             return shoot(control, kWide);
         }},
        {"QZConveyorView",
         [] {
             auto conveyor = QZConveyorView::make(CGRectMake(0, 0, kWide, 54));
             conveyor->setDelegate(samples());
             shoot(conveyor, kWide);  // lays the strip out, so that cells are on screen to mark
             conveyor->selectItemAtIndex(2, false);
             conveyor->layoutIfNeeded();
             conveyor->selectItemAtIndex(3, false);
             conveyor->addSubview(QZConveyorOverlayView::make(conveyor->bounds(), QZConveyorOverlayTypeSingle));
             return shoot(conveyor, kWide);
         }},
        {"QZConveyorOverlayView",
         [] { return shoot(QZConveyorOverlayView::make(CGRectMake(0, 0, kWide, 54), QZConveyorOverlayTypeSplit), kWide); }},
        {"QZPageControl",
         [] {
             auto dots = UIView::viewWithFrame<QZPageControl>(CGRectMake(0, 0, 200, 37));
             dots->setBackgroundColor(UIColor::darkGrayColor());
             dots->setNumberOfPages(5);
             dots->setCurrentPage(1);
             return shoot(dots, kWide);
         }},
        {"QZPagingView",
         [] {
             auto paging = UIView::viewWithFrame<QZPagingView>(CGRectMake(0, 0, kWide, 80));
             paging->setMaximumItemsPerPage(4);
             paging->setDelegate(samples());
             return shoot(paging, kWide);
         }},
        {"QZScrollBarView",
         [] {
             auto bar = UIView::viewWithFrame<QZScrollBarView>(CGRectMake(0, 0, kWide, 80));
             bar->setDelegate(samples());
             bar->setNeedsReload();
             return shoot(bar, kWide);
         }},
        {"QZTransformableView",
         [] {
             auto view = UIView::viewWithFrame<QZTransformableView>(CGRectMake(0, 0, 120, 120));
             view->contentView()->setBackgroundColor(UIColor::colorWithRed(0.2f, 0.5f, 0.8f, 1));
             view->handles()[2]->setHandleType(QZScalableViewHandleTypeResize);
             return shoot(view);
         }},
    };
    return table;
}

bool writeGallery(const std::string& outdir, std::string* error)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(outdir, ec);
    if (ec || !fs::is_directory(outdir)) {
        *error = "cannot create the folder " + outdir + (ec ? ": " + ec.message() : std::string());
        return false;
    }
    for (const Entry& entry : entries()) {
        std::string target = (fs::path(outdir) / (entry.className + ".png")).string();
        std::string reason;
        if (!UIImageWritePNGToFile(entry.render(), target, &reason)) {
            *error = "cannot write " + target + ": " + reason;
            return false;
        }
    }
    return true;
}

}  // namespace view_gallery
