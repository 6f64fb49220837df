#include "TesselSDKImaging/Processors/QZProcessor.h"

#include "TesselSDKImaging/Processors/QZBlockProcessor.h"

std::shared_ptr<QZProcessor> QZProcessor::processorWithBitmapBlock(QZBitmapBlock block)
{
    return QZBlockProcessor::blockProcessorWithBlock(std::move(block));
}

void QZProcessor::init()
{
    scaleFactor_ = 1.0f;
    setDefaults();
}
