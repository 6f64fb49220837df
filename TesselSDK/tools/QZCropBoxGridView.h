#pragma once
// The rule-of-thirds grid over the crop box's content: four lines each way, three points thick,
// built from seven small pieces (line runs and the joints where lines meet or end) that are drawn
// once and shared by every grid. It takes no touches.

#include "TesselSDKFoundation/QZOverlayView.h"

#include "UIKit/UIImage.h"
#include "UIKit/UIImageView.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The grid's pieces; each one's name is also its image-cache key.
enum QZCropBoxImageType : NSInteger {
    QZCropBoxImageTypeVertical = 0,
    QZCropBoxImageTypeHorizontal = 1,
    QZCropBoxImageTypeIntersectUDLR = 2,
    QZCropBoxImageTypeLRD = 3,
    QZCropBoxImageTypeLRU = 4,
    QZCropBoxImageTypeUDL = 5,
    QZCropBoxImageTypeUDR = 6,
};

class QZCropBoxGridView : public QZOverlayView {
public:
    using QZOverlayView::QZOverlayView;

    static constexpr int kLineViewCount = 12;
    static constexpr int kIntersectionViewCount = 16;

    bool initWithFrame(CGRect frame) override;
    void setFrame(CGRect frame) override;
    void layoutSubviews() override;

    const std::vector<std::shared_ptr<UIImageView>>& verticalLineViews() const { return verticalLineViews_; }
    const std::vector<std::shared_ptr<UIImageView>>& horizontalLineViews() const { return horizontalLineViews_; }
    const std::vector<std::shared_ptr<UIImageView>>& intersectionViews() const { return intersectionViews_; }

    // The joint that intersection `index` (column index mod 4, row index div 4) shows.
    static QZCropBoxImageType intersectionTypeAtIndex(int index);
    // The cached piece; null for a value that names none.
    static std::shared_ptr<UIImage> imageOfType(QZCropBoxImageType type);
    // Draws the piece into the current image context; null for a value that names none.
    static std::function<void()> drawingBlockForCropBoxImageType(QZCropBoxImageType type);
    // "QZCropBoxImageTypeVertical" and so on; empty for a value that names none.
    static std::string nameOfCropBoxImageType(QZCropBoxImageType type);

protected:
    void prepareView() override;

private:
    void layoutGridLines();

    std::vector<std::shared_ptr<UIImageView>> verticalLineViews_;
    std::vector<std::shared_ptr<UIImageView>> horizontalLineViews_;
    std::vector<std::shared_ptr<UIImageView>> intersectionViews_;
};
