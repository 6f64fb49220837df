#pragma once
// Redraws the current GPU image through four corners (relative to the image, 0..1) and sets the
// new size as factors of the current one: cropping, turning and straightening on the GPU. On the
// CPU the module's preprocessing does that work, so the bitmap block does nothing.

#include "TesselSDKImaging/Processors/QZProcessor.h"

class QZResizeImageProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZResizeImageProcessor> make()
    {
        return NSObject::create<QZResizeImageProcessor>(&QZResizeImageProcessor::init);
    }

    CGPoint lowerLeft() const { return lowerLeft_; }
    void setLowerLeft(CGPoint point) { lowerLeft_ = point; }
    CGPoint lowerRight() const { return lowerRight_; }
    void setLowerRight(CGPoint point) { lowerRight_ = point; }
    CGPoint upperLeft() const { return upperLeft_; }
    void setUpperLeft(CGPoint point) { upperLeft_ = point; }
    CGPoint upperRight() const { return upperRight_; }
    void setUpperRight(CGPoint point) { upperRight_ = point; }
    // Factors of the current width and height: the new size is round(side x factor), at least a
    // pixel; a factor of zero or less changes nothing.
    CGSize newImageSize() const { return newImageSize_; }
    void setNewImageSize(CGSize factors) { newImageSize_ = factors; }
    // Stored; the blocks do not read it.
    bool isHires() const { return isHires_; }
    void setIsHires(bool hires) { isHires_ = hires; }

    QZBitmapBlock bitmapBlock() const override;
    QZQopBitmapBlock qopBitmapBlock() const override;

private:
    CGPoint lowerLeft_{0, 0};
    CGPoint lowerRight_{0, 0};
    CGPoint upperLeft_{0, 0};
    CGPoint upperRight_{0, 0};
    CGSize newImageSize_{0, 0};
    bool isHires_ = false;
};
