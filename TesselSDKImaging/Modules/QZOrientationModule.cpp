#include "TesselSDKImaging/Modules/QZOrientationModule.h"

#include "TesselSDKImaging/Modules/QZIdentityEffect.h"
#include "TesselSDKImaging/Processors/QZResizeImageProcessor.h"
#include "TesselSDKImaging/QZImageServer.h"
#include "TesselSDKImaging/QZStraightenedSize.h"

#include "Foundation/NSLog.h"

#include <cmath>

void QZOrientationModule::init()
{
    QZModule::init();
    orientation_ = UIImageOrientationUp;
    basedOnCurrentOrientation_ = false;
    scale_ = 1;
    isHiRes_ = false;
}

void QZOrientationModule::preprocess(const std::shared_ptr<QZImageServer>& server)
{
    server->drawStraightenedwithRotation(rotation_, scale_, orientation_);
}

void QZOrientationModule::createProcessors(QZProcessorList& processors)
{
    const CGFloat width = originalSize_.width, height = originalSize_.height;
    if (!(width > 0) || !(height > 0) || !std::isfinite(width) || !std::isfinite(height)) {
        NSLog("%s %@", "-[QZOrientationModule createProcessors:]", "Original size is empty; no resize");
        return;
    }
    // As the server straightens: a zoom below 1 would reach outside the image.
    if (!(scale_ >= 1) || !std::isfinite(scale_))
        NSLog("%s %@", "-[QZOrientationModule createProcessors:]",
              "Straightening scale below 1 or not finite; using 1");
    const CGFloat scale = QZStraightenUsableScale(scale_);
    // The kept region unrounded: the resize makes round(side x factor) pixels of whatever size it
    // runs on, the size the screen and the CPU redraw give too (QZStraightenedSize).
    const CGRect kept =
        CGRectMake((width - width / scale) / 2, (height - height / scale) / 2, width / scale, height / scale);
    const bool mirrored =
        orientation_ >= UIImageOrientationUpMirrored && orientation_ <= UIImageOrientationRightMirrored;
    const CGFloat angle = mirrored ? rotation_ : -rotation_;
    const CGFloat cx = width / 2, cy = height / 2;
    CGFloat left = kept.origin.x - cx, right = kept.origin.x + kept.size.width - cx;
    const CGFloat bottom = kept.origin.y - cy, top = kept.origin.y + kept.size.height - cy;
    if (mirrored) std::swap(left, right);

    const CGAffineTransform turn = CGAffineTransformMakeRotation(angle);
    auto relative = [&](CGFloat x, CGFloat y) {
        const CGPoint p = CGPointApplyAffineTransform(CGPointMake(x, y), turn);
        return CGPointMake((p.x + cx) / width, (p.y + cy) / height);
    };
    const CGPoint p1 = relative(right, top), p2 = relative(left, top), p3 = relative(right, bottom),
                  p4 = relative(left, bottom);

    std::shared_ptr<QZResizeImageProcessor> resize = QZResizeImageProcessor::make();
    const int unmirrored = mirrored ? orientation_ - UIImageOrientationUpMirrored : orientation_;
    switch (unmirrored) {
    case UIImageOrientationDown:
        resize->setLowerLeft(p1), resize->setLowerRight(p2), resize->setUpperLeft(p3), resize->setUpperRight(p4);
        break;
    case UIImageOrientationLeft:
        resize->setLowerLeft(p3), resize->setLowerRight(p1), resize->setUpperLeft(p4), resize->setUpperRight(p2);
        break;
    case UIImageOrientationRight:
        resize->setLowerLeft(p2), resize->setLowerRight(p4), resize->setUpperLeft(p1), resize->setUpperRight(p3);
        break;
    default:
        resize->setLowerLeft(p4), resize->setLowerRight(p3), resize->setUpperLeft(p2), resize->setUpperRight(p1);
        break;
    }
    const bool turned = unmirrored == UIImageOrientationLeft || unmirrored == UIImageOrientationRight;
    resize->setNewImageSize(turned ? CGSizeMake(height / (scale * width), width / (scale * height))
                                   : CGSizeMake(1 / scale, 1 / scale));
    resize->setIsHires(true);
    processors.push_back(resize);
    if (isHiRes_) processors.push_back(QZIdentityEffectProcessor());
}
