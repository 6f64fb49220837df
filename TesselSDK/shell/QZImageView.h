#pragma once
// An image view whose image comes only from the context attached to it: a late result of a
// context that was replaced cannot overwrite the newer image.

#include "UIKit/UIImageView.h"

#include <memory>

class QZImageViewContext;

class QZImageView : public UIImageView {
public:
    using UIImageView::UIImageView;

    const std::shared_ptr<QZImageViewContext>& context() const { return context_; }
    // Keeps the context and becomes its delegate.
    void setContext(std::shared_ptr<QZImageViewContext> context);
    // Sets the image only when the context is the attached one.
    void imageViewContextSetImage(QZImageViewContext* context, std::shared_ptr<UIImage> image);
    // A nil image also detaches the context.
    void setImage(std::shared_ptr<UIImage> image) override;

private:
    std::shared_ptr<QZImageViewContext> context_;
};

class QZImageViewContext : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<QZImageViewContext> make() { return NSObject::create<QZImageViewContext>(); }

    std::weak_ptr<QZImageView> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QZImageView> delegate) { delegate_ = std::move(delegate); }
    // Hands the image to the image view this context is attached to.
    void setImage(std::shared_ptr<UIImage> image);

private:
    std::weak_ptr<QZImageView> delegate_;
};
