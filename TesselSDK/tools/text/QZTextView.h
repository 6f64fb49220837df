#pragma once
// The text box the text tool places on the photo: a glass frame around a content view holding one
// text field, with a corner handle that turns and scales the box, a pan that moves it and a press
// that starts editing. It grows with its text, keeps a rotation and a scale, and draws its text
// into another context for baking (rectForTextInView, then drawTextInRect).
//
// Scaling stays off until the tool turns it on (after the keyboard has gone once). Main thread
// only.

#include "TesselSDK/tools/text/QZTextViewHandle.h"
#include "TesselSDK/tools/text/QZTextViewSelectionState.h"
#include "TesselSDK/tools/text/QZTextViewTextField.h"

#include "TesselSDKFoundation/QZView.h"

#include "UIKit/UIImageView.h"
#include "UIKit/UILongPressGestureRecognizer.h"
#include "UIKit/UIPanGestureRecognizer.h"

#include <memory>
#include <string>

class QZTextView : public QZView, public QZTextFieldDelegate, public UIGestureRecognizerDelegate {
public:
    using QZView::QZView;

    static constexpr CGFloat kMinimumScale = 0.6f;

    const std::shared_ptr<QZTextField>& textField() const { return textField_; }
    // The field as the box made it.
    std::shared_ptr<QZTextViewTextField> placeholderField() const;
    const std::shared_ptr<QZView>& contentView() const { return contentView_; }
    const std::shared_ptr<QZTextViewHandle>& handle() const { return handle_; }
    CGFloat scale() const { return scale_; }
    // At least kMinimumScale; the box takes the size of its text at that scale.
    void setScale(CGFloat scale);
    CGFloat rotation() const { return rotation_; }
    // Radians; the box turns about its centre.
    void setRotation(CGFloat rotation);
    // While set (a positive size), the box is shown shrunk about its centre so that it is no wider
    // and no taller than the size, however long its text grows; its bounds, scale and the text it
    // bakes stay as they are. A zero size shows it at its own size again.
    void setShownSizeLimit(CGSize limit);
    CGFloat editingScale() const { return editingScale_; }
    bool isDraggingEnabled() const { return draggingEnabled_; }
    void setDraggingEnabled(bool enabled) { draggingEnabled_ = enabled; }
    bool isRotationEnabled() const { return rotationEnabled_; }
    void setRotationEnabled(bool enabled) { rotationEnabled_ = enabled; }
    bool isScalingEnabled() const { return scalingEnabled_; }
    void setScalingEnabled(bool enabled) { scalingEnabled_ = enabled; }
    bool isPasting() const { return pasting_; }
    void setPasting(bool pasting) { pasting_ = pasting; }
    // The press that starts editing.
    const std::shared_ptr<UILongPressGestureRecognizer>& longPressRecognizer() const { return longPressRecognizer_; }
    const std::shared_ptr<UIPanGestureRecognizer>& panRecognizer() const { return panRecognizer_; }
    // The text's scale in the view given to the last rectForTextInView.
    CGFloat applyScale() const { return applyScale_; }
    const std::shared_ptr<UIImageView>& glassBoxView() const { return glassBoxView_; }
    const std::shared_ptr<UIImage>& glassBoxImage() const { return glassBoxImage_; }
    const std::shared_ptr<UIImage>& glassBoxActiveImage() const { return glassBoxActiveImage_; }
    QZTextViewSelectionState selectionState() const { return selectionState_; }
    // Takes the state's look over 0.2 s.
    void setSelectionState(QZTextViewSelectionState state);
    void setHandleVisible(bool visible);
    void setBorderVisibile(bool visible);

    // "" while the placeholder shows.
    std::string text() const;
    void startEditing();
    void setInputAccessoryView(std::shared_ptr<UIView> view);

    // The box's bounds for a text of that (unscaled) size at the box's scale.
    CGRect boundsFromTextSize(CGSize size) const;
    // The size of boundsFromTextSize for its text, so that sizeToFit fits the box to its text.
    CGSize sizeThatFits(CGSize size) const override;
    void layoutSubviews() override;

    // The handle at `point` (box coordinates): turns the box by the angle the point makes with the
    // content's diagonal, and scales it by the point's distance from the centre over the corner's.
    // A point at the centre changes nothing.
    void transformWithHandlePoint(CGPoint point);
    // The text's rectangle (unturned) in `view`'s coordinates; also sets applyScale. The second
    // form centres it on a point of the superview in place of the box's own centre.
    CGRect rectForTextInView(const UIView& view);
    CGRect rectForTextInView(const UIView& view, CGPoint centreInSuperview);
    // Draws the text, turned (by the box's turn or the one given), into the rectangle of the
    // current context; nothing while the placeholder shows.
    void drawTextInRect(CGRect rect);
    void drawTextInRect(CGRect rect, CGFloat rotation);

    // QZTextFieldDelegate
    void textFieldDidBeginEditing(QZTextField* field) override;
    void textFieldDidChange(QZTextField* field) override;
    void textFieldDidEndEditing(QZTextField* field) override;

    void textFieldPanned(UIPanGestureRecognizer* pan);
    // UIGestureRecognizerDelegate: nothing starts while dragging is off; the handle's touches are
    // the handle's.
    std::optional<bool> gestureRecognizerShouldBegin(UIGestureRecognizer* recognizer) override;
    std::optional<bool> gestureRecognizerShouldReceiveTouch(UIGestureRecognizer* recognizer, UITouch* touch) override;

protected:
    void prepareView() override;

private:
    // The turn, and the shrink the shown-size limit asks for at the present bounds.
    void updateTransform();

    std::shared_ptr<QZTextField> textField_;
    std::shared_ptr<QZView> contentView_;
    std::shared_ptr<QZTextViewHandle> handle_;
    CGFloat scale_ = 1;
    CGFloat rotation_ = 0;
    CGSize shownSizeLimit_ = CGSizeMake(0, 0);
    CGFloat editingScale_ = 0;
    bool draggingEnabled_ = false;
    bool rotationEnabled_ = false;
    bool scalingEnabled_ = false;
    bool pasting_ = false;
    std::shared_ptr<UILongPressGestureRecognizer> longPressRecognizer_;
    std::shared_ptr<UIPanGestureRecognizer> panRecognizer_;
    CGFloat applyScale_ = 0;
    std::shared_ptr<UIImageView> glassBoxView_;
    std::shared_ptr<UIImage> glassBoxImage_;
    std::shared_ptr<UIImage> glassBoxActiveImage_;
    QZTextViewSelectionState selectionState_ = QZTextViewUnselectedState;
};
