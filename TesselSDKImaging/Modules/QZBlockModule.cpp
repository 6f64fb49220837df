#include "TesselSDKImaging/Modules/QZBlockModule.h"

void QZBlockModule::initWithBlock(ProcessorsBlock block)
{
    init();
    block_ = std::move(block);
}

void QZBlockModule::createProcessors(QZProcessorList& processors)
{
    QZModule::createProcessors(processors);
    if (block_) block_(processors);
}
