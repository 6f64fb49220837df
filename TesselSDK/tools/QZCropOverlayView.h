#pragma once
// The crop screen's overlay over the canvas: the crop box and four dimmers that darken what lies
// outside its content. It sizes the box to a preset (fitted to the photo's rectangle, which its
// delegate supplies, and centred), keeps the preset's ratio while the box is resized, and puts the
// box back in proportion after an interface rotation. Touches reach the box only.

#include "TesselSDK/tools/QZCropBoxView.h"
#include "TesselSDK/tools/QZCropPreset.h"

#include "TesselSDKFoundation/QZOverlayView.h"
#include "TesselSDKFoundation/QZTransformableView.h"

#include <memory>
#include <vector>

class QZCropOverlayView;

class QZCropOverlayViewDelegate {
public:
    virtual ~QZCropOverlayViewDelegate() = default;
    // The displayed photo's rectangle in the overlay's coordinates.
    virtual CGRect cropOverlayViewBoundsForCropBox(QZCropOverlayView* overlay) = 0;
};

// Indexes of dimmerViews().
enum QZCropOverlayViewDimmerMask : NSInteger {
    QZCropOverlayViewDimmerTop = 0,
    QZCropOverlayViewDimmerRight = 1,
    QZCropOverlayViewDimmerLeft = 2,
    QZCropOverlayViewDimmerBottom = 3,
};

class QZCropOverlayView : public QZOverlayView, public QZTransformableViewDelegate {
public:
    using QZOverlayView::QZOverlayView;

    static constexpr CGFloat kMinimumBoxSide = 75;
    static constexpr CGFloat kDimmerAlpha = 0.7f;

    std::shared_ptr<QZCropOverlayViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<QZCropOverlayViewDelegate> delegate) { delegate_ = std::move(delegate); }
    std::shared_ptr<QZCropBoxView> cropBoxView() const { return cropBoxView_.lock(); }
    // Free transform without rotation, this overlay as its delegate, invisible until configured.
    void setCropBoxView(const std::shared_ptr<QZCropBoxView>& box);
    bool isConstrainedToProportions() const { return constrainToProportions_; }
    void setConstrainToProportions(bool constrain) { constrainToProportions_ = constrain; }
    CGSize presetSize() const { return presetSize_; }
    void setPresetSize(CGSize size) { presetSize_ = size; }
    const std::vector<std::shared_ptr<QZView>>& dimmerViews() const { return dimmerViews_; }
    CGRect preRotationMaxCropRect() const { return preRotationMaxCropRect_; }
    CGRect preRotationCropBoxFrame() const { return preRotationCropBoxFrame_; }
    CGPoint preRotationCenterOffset() const { return preRotationCenterOffset_; }

    // The delegate's photo rectangle; zero without a delegate.
    CGRect maximumCropRect() const;

    // The preset's sides (turned while it is reversed): a ratio is kept while resizing; any other
    // preset resizes freely from its sides' aspect. `isRotated` is not read: the preset carries
    // its turn.
    void configureForPreset(const QZCropPreset& preset, bool animated, bool isRotated);
    void configureWithSize(CGSize size, bool animated) { configureWithSize(size, false, animated); }
    // The box shown with its content at the size fitted into the photo's rectangle, centred (over
    // 0.2 s when animated). Nothing when the user made the size: the box stays where it was let
    // go. A size with a side that is not above 0 or not finite gives the photo's rectangle itself.
    void configureWithSize(CGSize size, bool userGenerated, bool animated);
    void layoutDimmerViews();

    void layoutSubviews() override;
    void transformableViewDidBeginTransforming(QZTransformableView* view) override;
    void transformableViewDidEndTransforming(QZTransformableView* view) override;
    void willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;
    void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) override;

protected:
    void prepareView() override;

private:
    std::weak_ptr<QZCropOverlayViewDelegate> delegate_;
    std::weak_ptr<QZCropBoxView> cropBoxView_;
    bool constrainToProportions_ = false;
    CGSize presetSize_{0, 0};
    std::vector<std::shared_ptr<QZView>> dimmerViews_;
    CGRect preRotationMaxCropRect_{};
    CGRect preRotationCropBoxFrame_{};
    CGPoint preRotationCenterOffset_{};
};
