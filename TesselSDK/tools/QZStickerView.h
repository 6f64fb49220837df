#pragma once
// One sticker placed on the photo: a pack item's large image inside a frame of controls (a glass
// box, a close button at the top-left corner and a rotate-and-scale knob at the bottom-right). One
// finger drags it, the knob turns and scales it, a touch makes it the active sticker of its layer
// or hides the controls of the active one. Its layer (QZStickersOverlayView) decides which sticker
// is active; the stickers tool reads each sticker's rectangle in the picture and draws it there at
// Apply. Main thread only.

#include "TesselSDK/tools/QZStickerViewHandle.h"

#include "TesselSDKFoundation/QZView.h"

#include "UIKit/UIButton.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILongPressGestureRecognizer.h"
#include "UIKit/UIPanGestureRecognizer.h"

#include <memory>

class QZStickerContentPackItem;

class QZStickerView : public QZView, public UIGestureRecognizerDelegate {
public:
    using QZView::QZView;

    // Framed by the item's large image size inset by 12 points, showing that image.
    static std::shared_ptr<QZStickerView> makeWithStickerPackItem(std::shared_ptr<QZStickerContentPackItem> item);
    // Only an item whose large image reads can be placed: without it a sticker would show and
    // bake nothing (or a placeholder) into the photo.
    static bool canPlaceStickerPackItem(const std::shared_ptr<QZStickerContentPackItem>& item);

    const std::shared_ptr<QZStickerContentPackItem>& stickerPackItem() const { return stickerPackItem_; }
    const std::shared_ptr<QZView>& contentView() const { return contentView_; }
    const std::shared_ptr<UIImageView>& imageView() const { return imageView_; }
    const std::shared_ptr<UIButton>& closeButton() const { return closeButton_; }
    const std::shared_ptr<QZStickerViewHandle>& handle() const { return handle_; }
    const std::shared_ptr<UIImageView>& glassBox() const { return glassBox_; }
    const std::shared_ptr<UIPanGestureRecognizer>& panRecognizer() const { return panRecognizer_; }
    const std::shared_ptr<UILongPressGestureRecognizer>& pressRecognizer() const { return pressRecognizer_; }
    // What the image view shows: the item's large image; nil without one (nothing is drawn).
    std::shared_ptr<UIImage> stickerImage() const { return imageView_->image(); }

    // The size factor: the view's size follows it through sizeToFit only.
    CGFloat scale() const { return scale_; }
    void setScale(CGFloat scale) { scale_ = scale; }
    CGFloat rotation() const { return rotation_; }
    // Radians; replaces the view's transform by a pure rotation.
    void setRotation(CGFloat rotation);
    bool controlsEnabled() const { return controlsEnabled_; }
    // Shows and enables the close button, the knob and the glass box, or hides and disables them.
    void setControlsEnabled(bool enabled);
    bool isDraggingEnabled() const { return draggingEnabled_; }
    void setDraggingEnabled(bool enabled) { draggingEnabled_ = enabled; }
    bool isRotationEnabled() const { return rotationEnabled_; }
    void setRotationEnabled(bool enabled) { rotationEnabled_ = enabled; }
    bool isScalingEnabled() const { return scalingEnabled_; }
    void setScalingEnabled(bool enabled) { scalingEnabled_ = enabled; }
    // Set by the layer when the sticker joins it; the sticker's gestures begin only then.
    bool isAdded() const { return added_; }
    void setAdded(bool added) { added_ = added; }
    // The current touch made the sticker active: its end must not hide the controls again.
    bool tapToggedState() const { return tapToggedState_; }

    // A square of side (m + 48) x scale + 24, m the image's longer side (50 without an image).
    CGSize sizeThatFits(CGSize size) const override;
    // The scale, and the size to fit, of a sticker just placed on a canvas of that size: its
    // picture at least a quarter of the canvas's shorter side, so that it can be seen and
    // grabbed whatever its pixel size, and the whole sticker no larger than that side.
    void fitStartingSizeToCanvas(CGSize canvas);
    void layoutSubviews() override;

    // The knob at `point` (the sticker's own coordinates): turns by the angle the point makes with
    // the content's diagonal, and scales by its distance from the centre over the corner's, when
    // the new scale is above 0.05.
    void transformWithHandlePoint(CGPoint point);
    // The image view's rectangle, unturned, in `view`'s coordinates; zero without a superview.
    // `rectScale` is not used: the conversion into `view` already takes its scale.
    CGRect rectForStickerInView(const UIView& view, CGFloat rectScale) const;
    // Draws the image into the current context, turned by `rotation` about the rectangle's centre
    // and fitted (aspect fit) centred in it.
    void drawStickerInRect(CGRect rect) const;

    void stickerViewTapped(UILongPressGestureRecognizer* recognizer);
    void stickerViewPanned(UIPanGestureRecognizer* recognizer);

    std::optional<bool> gestureRecognizerShouldBegin(UIGestureRecognizer* recognizer) override;
    std::optional<bool>
    gestureRecognizerShouldRecognizeSimultaneouslyWithGestureRecognizer(UIGestureRecognizer*,
                                                                        UIGestureRecognizer*) override;
    std::optional<bool> gestureRecognizerShouldReceiveTouch(UIGestureRecognizer* recognizer, UITouch* touch) override;

protected:
    void prepareView() override;

private:
    void initWithStickerPackItem(std::shared_ptr<QZStickerContentPackItem> item);
    // Tells the layer (the superview) that this sticker was touched.
    void becomeActive();
    // Moves the sticker so that its close button and knob lie inside the canvas (the scroll view
    // it is shown in, else its superview), along each axis where they fit.
    void keepControlsInsideCanvas();

    std::shared_ptr<QZStickerContentPackItem> stickerPackItem_;
    std::shared_ptr<QZView> contentView_;
    std::shared_ptr<UIImageView> imageView_;
    std::shared_ptr<UIButton> closeButton_;
    std::shared_ptr<QZStickerViewHandle> handle_;
    std::shared_ptr<UIImageView> glassBox_;
    std::shared_ptr<UIPanGestureRecognizer> panRecognizer_;
    std::shared_ptr<UILongPressGestureRecognizer> pressRecognizer_;
    CGFloat scale_ = 1;
    CGFloat rotation_ = 0;
    bool controlsEnabled_ = true;
    bool draggingEnabled_ = true;
    bool rotationEnabled_ = true;
    bool scalingEnabled_ = true;
    bool added_ = false;
    bool tapToggedState_ = false;
};
