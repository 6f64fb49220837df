#include "TesselSDKImaging/Modules/QZToolModule.h"

void QZToolModule::addProcessor(std::shared_ptr<QZProcessor> processor)
{
    if (toolProcessors_ && processor) toolProcessors_->push_back(std::move(processor));
}

void QZToolModule::createProcessors(QZProcessorList& processors)
{
    QZModule::createProcessors(processors);
    if (toolProcessors_) processors.insert(processors.end(), toolProcessors_->begin(), toolProcessors_->end());
}
