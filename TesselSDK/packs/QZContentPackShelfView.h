#pragma once
// The shelf lying behind a pack tool's strip, showing through the tray the strip leaves at its
// start. It holds the Get More cell (which opens the pack list) and one cell per offered pack;
// no pack is ever offered, so the Get More cell is all it shows. The tool places it and hands it
// the taps on the tray. Main thread only.

#include "TesselSDK/packs/QZContentPackShelfCell.h"

#include "UIKit/UIImageView.h"
#include "UIKit/UIView.h"

#include <memory>
#include <string>
#include <vector>

class QZContentPack;
class QZContentPackShelfView;

class QZContentPackShelfViewDelegate {
public:
    virtual ~QZContentPackShelfViewDelegate() = default;
    virtual void contentPackShelfDidSelectGetMore(QZContentPackShelfView* shelf) = 0;
    virtual void contentPackShelfDidSelectContentPack(QZContentPackShelfView* shelf,
                                                      const std::shared_ptr<QZContentPack>& pack) = 0;
    virtual void contentPackShelfDidCancelSelection(QZContentPackShelfView* shelf) = 0;
    virtual void contentPackShelfDidUpdateContentPacks(QZContentPackShelfView* shelf) = 0;
};

class QZContentPackShelfView : public UIView {
public:
    static constexpr CGFloat kCellWidth = 70;

    using UIView::UIView;
    static std::shared_ptr<QZContentPackShelfView> make(CGRect frame, const std::string& contentPackDescriptor);
    virtual bool initWithFrame(CGRect frame, const std::string& contentPackDescriptor);

    std::weak_ptr<QZContentPackShelfViewDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QZContentPackShelfViewDelegate> delegate) { delegate_ = std::move(delegate); }
    const std::string& contentPackDescriptor() const { return contentPackDescriptor_; }
    const std::shared_ptr<QZContentPackShelfCell>& getMoreCell() const { return getMoreCell_; }
    const std::vector<std::shared_ptr<QZContentPackShelfCell>>& cellArray() const { return cellArray_; }
    const std::vector<std::shared_ptr<QZContentPack>>& offeredContentPacks() const { return offeredContentPacks_; }
    // Keeps the first 3 (4 on a tablet) with a cell each, and tells the delegate.
    void setOfferedContentPacks(std::vector<std::shared_ptr<QZContentPack>> packs);
    NSInteger selectedIndex() const { return selectedIndex_; }
    void cancelCellSelection() { selectedIndex_ = -1; }

    // 70 per pack cell and 75 for Get More; the right tray is 75.
    CGFloat leftTrayWidth() const { return kCellWidth * CGFloat(cellArray_.size()) + 75; }
    CGFloat rightTrayWidth() const { return 75; }
    bool isLeftAligned() const { return leftAligned_; }
    void setLeftAligned(bool leftAligned);
    CGFloat bounceOffset() const { return bounceOffset_; }
    // How far the strip is pulled past its start; the cells follow.
    void setBounceOffset(CGFloat offset);

    // A touch on the tray, in the shelf's coordinates: on the Get More cell it asks for the list.
    void recievedTouchAtPoint(CGPoint point);

    // The cells from the left end: Get More, then the pack cells.
    void layoutSubviews() override;

private:
    std::weak_ptr<QZContentPackShelfViewDelegate> delegate_;
    std::string contentPackDescriptor_;
    std::shared_ptr<UIImageView> backgroundView_;
    std::shared_ptr<QZContentPackShelfCell> getMoreCell_;
    std::vector<std::shared_ptr<QZContentPackShelfCell>> cellArray_;
    std::vector<std::shared_ptr<QZContentPack>> offeredContentPacks_;
    NSInteger selectedIndex_ = -1;
    bool leftAligned_ = false;
    CGFloat bounceOffset_ = 0;
};
