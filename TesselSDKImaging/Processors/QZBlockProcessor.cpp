#include "TesselSDKImaging/Processors/QZBlockProcessor.h"

void QZBlockProcessor::initWithBlock(QZBitmapBlock block)
{
    init();
    block_ = std::move(block);
}
