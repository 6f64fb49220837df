#include "TesselSDKFoundation/QZPagingView.h"

#include "Foundation/NSLog.h"
#include "Foundation/NSString.h"
#include "TesselSDKFoundation/QZCountFromQuotient.h"

#include <cmath>

void QZPagingView::prepareView()
{
    QZView::prepareView();
    setCellWidth(72);
    maximumItemsPerPage_ = 1;
    setHorizontalTableView(addSubviewOfClass<QZHorizontalTableView>(QZUIViewAutoresizingFlexibleDimensions, bounds()));
}

void QZPagingView::setHorizontalTableView(const std::shared_ptr<QZHorizontalTableView>& view)
{
    horizontalTableView_ = view;
    if (!view) return;
    auto me = self<QZPagingView>();
    view->setDelegate(std::static_pointer_cast<UITableViewDelegate>(me));
    view->setDataSource(std::static_pointer_cast<UITableViewDataSource>(me));
    view->setShowsHorizontalScrollIndicator(false);
    view->setShowsVerticalScrollIndicator(false);
    view->setSeparatorStyle(UITableViewCellSeparatorStyleNone);
    view->setBckgroundView(nullptr);
    view->setClipsToBounds(false);
    view->setPagingEnabled(true);
    view->setBackgroundColor(nullptr);
}

void QZPagingView::setCellWidth(CGFloat width)
{
    cellWidth_ = width;
    if (auto table = horizontalTableView()) table->reloadData();
    setNeedsLayout();
}

void QZPagingView::setNumberOfPages(NSInteger pages)
{
    numberOfPages_ = pages;
    if (auto control = pageControl()) control->setNumberOfPages(NSUInteger(std::max<NSInteger>(pages, 0)));
}

void QZPagingView::setCurrentPage(NSInteger page)
{
    currentPage_ = page;
    if (auto control = pageControl(); control && page >= 0) control->setCurrentPage(NSUInteger(page));
}

NSInteger QZPagingView::fullPages() const
{
    return numberOfItemsPerPage_ > 0 ? numberOfItems_ / numberOfItemsPerPage_ : 0;
}

void QZPagingView::layoutSubviews()
{
    QZView::layoutSubviews();
    auto d = delegate_.lock();
    NSInteger n = d ? std::max<NSInteger>(d->numberOfItemsInPagingView(this), 0) : 0;
    CGRect b = bounds();
    auto table = horizontalTableView();
    if (table) table->setFrame(CGRectMake(0, 0, b.size.width, b.size.height));

    // No whole cell fits (or the cell width is no width): no pages and no rows.
    NSInteger fit = cellWidth_ > 0 ? QZCountFromQuotient(std::floor(b.size.width / cellWidth_)) : 0;
    NSInteger m = maximumItemsPerPage_;
    NSInteger k = m > 0 && m <= fit ? m : fit;
    numberOfItems_ = n;
    NSInteger pages = k > 0 ? (n + k - 1) / k : 0;
    setNumberOfColumns(k > 0 ? n + 2 * pages : 0);
    setNumberOfPages(pages);
    setNumberOfItemsPerPage(k);
    // Updates with no insertions must find the row count unchanged (the table throws otherwise):
    // a new count reloads the table instead.
    bool sameRows = table && table->numberOfRowsInSection(0) == numberOfColumns_;
    if (sameRows) table->beginUpdates();
    setExtraColumnWidth((b.size.width - cellWidth_ * CGFloat(k)) * 0.5f);
    if (sameRows)
        table->endUpdates();
    else if (table)
        table->reloadData();
}

QZPagingView::Place QZPagingView::placeOfRow(NSInteger row) const
{
    NSInteger k = numberOfItemsPerPage_;
    if (k <= 0) return {0, 0, 0};
    NSInteger full = fullPages();
    if (row < full * (k + 2)) return {row / (k + 2), row % (k + 2), k};
    // The partial last page: its own bookends around the leftover items.
    return {full, row - full * (k + 2), numberOfItems_ - full * k};
}

bool QZPagingView::isIndexPathBookend(const std::shared_ptr<NSIndexPath>& path) const
{
    Place place = placeOfRow(path->row());
    return place.offset == 0 || place.offset == place.items + 1;
}

NSInteger QZPagingView::itemIndexForIndexPath(const std::shared_ptr<NSIndexPath>& path) const
{
    if (isIndexPathBookend(path))
        NSLog("%s %@", "-[QZPagingView itemIndexForIndexPath:]",
              NSStringWithFormat("Index path is a bookend: %@", path));
    Place place = placeOfRow(path->row());
    return place.page * numberOfItemsPerPage_ + place.offset - 1;
}

NSInteger QZPagingView::itemIndexForCell(const UITableViewCell* cell) const
{
    auto table = horizontalTableView();
    auto path = table ? table->indexPathForCell(cell) : nullptr;
    return path ? itemIndexForIndexPath(path) : NSNotFound;
}

std::shared_ptr<UITableViewCell> QZPagingView::tableViewCellForRowAtIndexPath(UITableView* tableView,
                                                                              const std::shared_ptr<NSIndexPath>& path)
{
    bool bookend = isIndexPathBookend(path);
    const char* identifier = bookend ? kQZPagingViewExtraCellIdentifier : kQZPagingViewContentCellIdentifier;
    auto cell = tableView->dequeueReusableCellWithIdentifier(identifier);
    if (bookend) {
        if (!cell)
            cell = UITableViewCell::cellWithStyle<QZHorizontalTableViewCell>(UITableViewCellStyleDefault, identifier);
        return cell;
    }
    auto d = delegate_.lock();
    if (!cell && d) cell = d->pagingViewCreateCellWithIdentifier(this, identifier);
    // The table needs a cell for every row.
    if (!cell)
        cell = UITableViewCell::cellWithStyle<QZHorizontalTableViewCell>(UITableViewCellStyleDefault, identifier);
    if (d) d->pagingViewConfigureCellForIndex(this, cell.get(), itemIndexForIndexPath(path));
    return cell;
}

std::optional<CGFloat> QZPagingView::tableViewHeightForRowAtIndexPath(UITableView*,
                                                                      const std::shared_ptr<NSIndexPath>& path)
{
    if (!isIndexPathBookend(path)) return cellWidth_;
    Place place = placeOfRow(path->row());
    if (place.items == numberOfItemsPerPage_) return extraColumnWidth_;
    return (bounds().size.width - cellWidth_ * CGFloat(place.items)) * 0.5f;
}

void QZPagingView::updateCurrentPage()
{
    auto table = horizontalTableView();
    if (!table) return;
    CGRect b = bounds();
    CGPoint centre = CGPointMake(CGRectGetMidX(b) + 1, CGRectGetMidY(b));
    auto path = table->indexPathForRowAtPoint(table->tableView()->convertPointFromView(centre, this));
    setCurrentPage(placeOfRow(path ? path->row() : 0).page);
}
