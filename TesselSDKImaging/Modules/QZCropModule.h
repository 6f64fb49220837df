#pragma once
// The crop screen's edit: on the CPU its preprocessing has the server redraw the input image cropped
// to `rect`; on the GPU a resize processor redraws the current image through the rect's corners.

#include "TesselSDKImaging/Modules/QZModule.h"

#include "CoreGraphics/CGGeometry.h"

class QZCropModule : public QZModule {
public:
    using QZModule::QZModule;
    static std::shared_ptr<QZCropModule> make() { return NSObject::create<QZCropModule>(&QZCropModule::init); }

    // The kept region, relative to the image (0..1, origin top left); (0, 0, 1, 1) after init.
    CGRect rect() const { return rect_; }
    void setRect(CGRect rect) { rect_ = rect; }
    // Factors of the new size over the current one; (1, 1) after init, matching rect.
    CGSize scaledSize() const { return scaledSize_; }
    void setScaledSize(CGSize size) { scaledSize_ = size; }
    bool isHiRes() const { return isHiRes_; }
    void setIsHiRes(bool hiRes) { isHiRes_ = hiRes; }

    void preprocess(const std::shared_ptr<QZImageServer>& server) override;
    // The resize processor; when hi-res, an identity effect after it.
    void createProcessors(QZProcessorList& processors) override;

protected:
    void init();

private:
    CGRect rect_{{0, 0}, {1, 1}};
    CGSize scaledSize_{1, 1};
    bool isHiRes_ = false;
};
