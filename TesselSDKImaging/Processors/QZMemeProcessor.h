#pragma once
// The meme's two captions: white text outlined in black (alpha 0.9) in the heavy "Impact" face,
// the top one hanging from the top of its box, the bottom one sitting on the bottom of its box.

#include "TesselSDKImaging/Processors/QZProcessor.h"

#include <memory>
#include <string>

class QZMemeProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZMemeProcessor> make() { return NSObject::create<QZMemeProcessor>(&QZMemeProcessor::init); }

    const std::string& topText() const { return topText_; }
    void setTopText(std::string text) { topText_ = std::move(text); }
    const std::string& bottomText() const { return bottomText_; }
    void setBottomText(std::string text) { bottomText_ = std::move(text); }
    // The captions are enlarged by scale x the image's larger side.
    CGFloat scale() const { return scale_; }
    void setScale(CGFloat scale) { scale_ = scale; }
    // Points, before the enlargement.
    CGFloat topFontSize() const { return topFontSize_; }
    void setTopFontSize(CGFloat size) { topFontSize_ = size; }
    CGFloat bottomFontSize() const { return bottomFontSize_; }
    void setBottomFontSize(CGFloat size) { bottomFontSize_ = size; }
    // Relative to the image: 0..1 of its width and height from the top-left.
    CGRect topRect() const { return topRect_; }
    void setTopRect(CGRect rect) { topRect_ = rect; }
    CGRect bottomRect() const { return bottomRect_; }
    void setBottomRect(CGRect rect) { bottomRect_ = rect; }

    // Each run makes the captions' fonts afresh at their sizes: from the name "Impact" on systems
    // from "4.1" on, from the resource bundle's Impact.ttf (looked up when the block is made) before.
    QZBitmapBlock bitmapBlock() const override;
    QZQopBitmapBlock qopBitmapBlock() const override;

private:
    std::string topText_;
    std::string bottomText_;
    CGFloat scale_ = 0;
    CGFloat topFontSize_ = 0;
    CGFloat bottomFontSize_ = 0;
    CGRect topRect_ = CGRectZero;
    CGRect bottomRect_ = CGRectZero;
};
