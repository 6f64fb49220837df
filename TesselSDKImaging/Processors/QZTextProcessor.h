#pragma once
// One block of outlined, optionally rotated text in a box relative to the image. The outline
// (backgroundColor) is drawn around the fill (foregroundColor); the text tool sets both alike.

#include "TesselSDKImaging/Processors/QZProcessor.h"

#include "UIKit/UIColor.h"

#include <memory>
#include <string>

class QZTextProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZTextProcessor> make() { return NSObject::create<QZTextProcessor>(&QZTextProcessor::init); }

    const std::string& text() const { return text_; }
    void setText(std::string text) { text_ = std::move(text); }
    const std::shared_ptr<UIColor>& foregroundColor() const { return foregroundColor_; }
    void setForegroundColor(std::shared_ptr<UIColor> color) { foregroundColor_ = std::move(color); }
    const std::shared_ptr<UIColor>& backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(std::shared_ptr<UIColor> color) { backgroundColor_ = std::move(color); }
    // Relative to the image: 0..1 of its width and height from the top-left.
    CGRect rect() const { return rect_; }
    void setRect(CGRect rect) { rect_ = rect; }
    // The text is enlarged about the box centre by scale x the image's larger side.
    CGFloat scale() const { return scale_; }
    void setScale(CGFloat scale) { scale_ = scale; }
    // About the box centre, radians; positive turns clockwise on the image.
    CGFloat rotation() const { return rotation_; }
    void setRotation(CGFloat rotation) { rotation_ = rotation; }
    // Made at 30 points.
    const std::string& fontName() const { return fontName_; }
    void setFontName(std::string name) { fontName_ = std::move(name); }

    // Centre alignment. Each block owns its font for as long as it lives, so it may run again.
    QZBitmapBlock bitmapBlock() const override;
    QZQopBitmapBlock qopBitmapBlock() const override;

private:
    std::string text_;
    std::shared_ptr<UIColor> foregroundColor_;
    std::shared_ptr<UIColor> backgroundColor_;
    CGRect rect_ = CGRectZero;
    CGFloat scale_ = 0;
    CGFloat rotation_ = 0;
    std::string fontName_;
};
