#pragma once
// The filler before the first cell (header) or after the last (footer) of a conveyor: tiles one
// cell wide, filling outward from the cells. It sits in the turned table, so its tiles lie in a
// container turned back upright. A header marks its tile next to a selected first cell.

#include "TesselSDKFoundation/QZConveyorTypes.h"
#include "TesselSDKFoundation/QZView.h"
#include "UIKit/UIImageView.h"

#include <vector>

class QZConveyorSideView : public UIView {
public:
    using UIView::UIView;

    static std::shared_ptr<QZConveyorSideView> make(CGRect frame, QZConveyorSideViewType type, CGFloat cellWidth)
    {
        return NSObject::create<QZConveyorSideView>(
            [&](QZConveyorSideView& view) { return view.initWithFrame(frame, type, cellWidth); });
    }
    bool initWithFrame(CGRect frame, QZConveyorSideViewType type, CGFloat cellWidth);
    using UIView::initWithFrame;

    // New tiles, all of the Single normal image.
    void updateCells();
    bool isAdjacentCellSelected() const { return adjacentCellSelected_; }
    // A header swaps the image of the tile next to the cells; a footer only stores the flag.
    void setAdjacentCellSelected(bool selected);
    QZConveyorViewType conveyorType() const { return conveyorType_; }
    // Every tile gets the type's normal image.
    void setConveyorType(QZConveyorViewType type);

    CGFloat cellWidth() const { return cellWidth_; }
    void setCellWidth(CGFloat width) { cellWidth_ = width; }
    QZConveyorSideViewType type() const { return type_; }
    void setType(QZConveyorSideViewType type) { type_ = type; }
    // The tile next to the cells first.
    const std::vector<std::shared_ptr<UIImageView>>& imageViews() const { return imageViews_; }
    void setImageViews(std::vector<std::shared_ptr<UIImageView>> views) { imageViews_ = std::move(views); }
    const std::shared_ptr<QZView>& containerView() const { return containerView_; }
    void setContainerView(std::shared_ptr<QZView> view) { containerView_ = std::move(view); }

private:
    bool adjacentCellSelected_ = false;
    QZConveyorViewType conveyorType_ = QZConveyorViewTypeSingle;
    CGFloat cellWidth_ = 0;
    QZConveyorSideViewType type_ = QZConveyorSideViewTypeHeader;
    std::vector<std::shared_ptr<UIImageView>> imageViews_;
    std::shared_ptr<QZView> containerView_;
};
