#pragma once
// The crop box: a transformable view with a handle on each corner and the thirds grid over its
// content. Its content rectangle (the frame less the handles' inset) is the crop. It keeps itself
// inside the photo shown by its overlay while dragged or resized, keeps the overlay's ratio while
// resized when the overlay asks for one, and has the overlay lay its dimmers out again after every
// change of its geometry.

#include "TesselSDKFoundation/QZTransformableView.h"

#include <memory>

class QZCropOverlayView;

class QZCropBoxView : public QZTransformableView {
public:
    using QZTransformableView::QZTransformableView;

    // Simply its superview.
    std::shared_ptr<QZCropOverlayView> cropOverlayView() const;
    // The frame less the inset, in the overlay's coordinates.
    CGRect contentRect() const;

    void setFrame(CGRect frame) override;
    void setBounds(CGRect bounds) override;
    void setCenter(CGPoint center) override;

    // The centre kept so that the content stays inside the photo's rectangle centred in the
    // overlay; a content larger than that rectangle is pinned to its top or left edge.
    CGPoint canMoveToPoint(CGPoint proposed, CGPoint current) override;
    // The resized frame kept at least the minimum size at the anchor, inside the photo plus the
    // inset, and at the overlay's ratio when it keeps one.
    void applyTransformationRect() override;
    // The overlay's ratio when it keeps one.
    bool shouldConstrainToSize(CGSize* size) override;

protected:
    void prepareView() override;

private:
    void overlayNeedsLayout() const;
    // The photo's rectangle centred in the overlay's bounds.
    CGRect centeredMaximumCropRect() const;
};
