#pragma once
// The orientation screen's edit: a turn or mirror (`orientation`) and a straightening (`rotation`
// in radians, enlarged by `scale` so no corner shows). On the CPU its preprocessing has the server
// redraw the input image straightened; on the GPU a resize processor redraws the current image
// through the corners of the kept region.

#include "TesselSDKImaging/Modules/QZModule.h"

#include "CoreGraphics/CGAffineTransform.h"
#include "CoreGraphics/CGGeometry.h"
#include "UIKit/UIImage.h"

class QZOrientationModule : public QZModule {
public:
    using QZModule::QZModule;
    static std::shared_ptr<QZOrientationModule> make()
    {
        return NSObject::create<QZOrientationModule>(&QZOrientationModule::init);
    }

    // The target orientation; Up after init.
    UIImageOrientation orientation() const { return orientation_; }
    void setOrientation(UIImageOrientation orientation) { orientation_ = orientation; }
    // Stored for the screen.
    bool basedOnCurrentOrientation() const { return basedOnCurrentOrientation_; }
    void setBasedOnCurrentOrientation(bool based) { basedOnCurrentOrientation_ = based; }
    CGFloat rotation() const { return rotation_; }
    void setRotation(CGFloat rotation) { rotation_ = rotation; }
    // At least 1; 1 after init. A value below 1 or not finite is taken as 1.
    CGFloat scale() const { return scale_; }
    void setScale(CGFloat scale) { scale_ = scale; }
    // Stored for the screen.
    CGAffineTransform transform() const { return transform_; }
    void setTransform(CGAffineTransform transform) { transform_ = transform; }
    // The size of the image the edit was made on.
    CGSize originalSize() const { return originalSize_; }
    void setOriginalSize(CGSize size) { originalSize_ = size; }
    bool isHiRes() const { return isHiRes_; }
    void setIsHiRes(bool hiRes) { isHiRes_ = hiRes; }

    void preprocess(const std::shared_ptr<QZImageServer>& server) override;
    // The resize processor (none, logged, for an original size with a zero side); when hi-res, an
    // identity effect after it.
    void createProcessors(QZProcessorList& processors) override;

protected:
    void init();

private:
    UIImageOrientation orientation_ = UIImageOrientationUp;
    bool basedOnCurrentOrientation_ = false;
    CGFloat rotation_ = 0;
    CGFloat scale_ = 1;
    CGAffineTransform transform_ = CGAffineTransformIdentity;
    CGSize originalSize_{0, 0};
    bool isHiRes_ = false;
};
