#include "TesselSDKImaging/Modules/QZCropModule.h"

#include "TesselSDKImaging/Modules/QZIdentityEffect.h"
#include "TesselSDKImaging/Processors/QZResizeImageProcessor.h"
#include "TesselSDKImaging/QZImageServer.h"

void QZCropModule::init()
{
    QZModule::init();
    rect_ = CGRectMake(0, 0, 1, 1);
    scaledSize_ = CGSizeMake(1, 1);
    isHiRes_ = false;
}

void QZCropModule::preprocess(const std::shared_ptr<QZImageServer>& server)
{
    QZModule::preprocess(server);
    server->cropImageToRect(rect_);
}

void QZCropModule::createProcessors(QZProcessorList& processors)
{
    const CGFloat x = rect_.origin.x, y = rect_.origin.y, w = rect_.size.width, h = rect_.size.height;
    std::shared_ptr<QZResizeImageProcessor> resize = QZResizeImageProcessor::make();
    resize->setLowerLeft(CGPointMake(x, y));
    resize->setLowerRight(CGPointMake(x + w, y));
    resize->setUpperLeft(CGPointMake(x, y + h));
    resize->setUpperRight(CGPointMake(x + w, y + h));
    resize->setNewImageSize(scaledSize_);
    resize->setIsHires(isHiRes_);
    processors.push_back(resize);
    if (isHiRes_) processors.push_back(QZIdentityEffectProcessor());
}
