#pragma once
// A view showing an image (its highlighted image while highlighted) by its content mode;
// resizable images stretch between their caps. Interaction is off by default.

#include "UIKit/UIImage.h"
#include "UIKit/UIView.h"

class UIImageView : public UIView {
public:
    using UIView::UIView;
    // Framed to the image's size at the origin.
    static std::shared_ptr<UIImageView> imageViewWithImage(std::shared_ptr<UIImage> image);
    bool initWithFrame(CGRect frame) override;

    const std::shared_ptr<UIImage>& image() const { return image_; }
    virtual void setImage(std::shared_ptr<UIImage> image);
    const std::shared_ptr<UIImage>& highlightedImage() const { return highlightedImage_; }
    void setHighlightedImage(std::shared_ptr<UIImage> image);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);

    // The image's size in points (zero without one).
    CGSize sizeThatFits(CGSize size) const override;
    void drawRect(CGRect rect) override;

protected:
    void didChangeBoundsSize() override { setNeedsDisplay(); }

private:
    std::shared_ptr<UIImage> image_;
    std::shared_ptr<UIImage> highlightedImage_;
    bool highlighted_ = false;
};
