#pragma once
// One column of previews on a store page: one image view per row, square, centred across, spread
// evenly down the column with room for a label under each (none here).

#include "TesselSDKFoundation/QZScrollBarPageItemView.h"

#include "UIKit/UIImage.h"
#include "UIKit/UIImageView.h"

#include <memory>
#include <vector>

class QZContentPackIAPPageItemView : public QZScrollBarPageItemView {
public:
    using QZScrollBarPageItemView::QZScrollBarPageItemView;

    // The views of the rows, in order; more are made as needed and kept.
    const std::vector<std::shared_ptr<UIView>>& imageViews() const { return imageViews_; }
    NSInteger rowCount() const { return rowCount_; }
    void setRowCount(NSInteger rows);
    CGFloat labelHeight() const { return labelHeight_; }
    void setLabelHeight(CGFloat height) { labelHeight_ = height; }

    // The first n image views show the images, aspect-fit; the others lose theirs and leave.
    virtual void setImageViewsWithImages(const std::vector<std::shared_ptr<UIImage>>& images);

    // Square sides from the height the rows share, never below zero (a column not yet framed has
    // no room at all).
    void layoutSubviews() override;

protected:
    std::vector<std::shared_ptr<UIView>>& mutableImageViews() { return imageViews_; }

private:
    std::vector<std::shared_ptr<UIView>> imageViews_;
    NSInteger rowCount_ = 0;
    CGFloat labelHeight_ = 0;
};
