#pragma once
// A module holding an explicit list of processors, run in the list's order. The creator supplies
// the list; without one, the module adds and yields nothing.

#include "TesselSDKImaging/Modules/QZModule.h"

class QZToolModule : public QZModule {
public:
    using QZModule::QZModule;
    static std::shared_ptr<QZToolModule> make() { return NSObject::create<QZToolModule>(&QZToolModule::init); }

    const std::shared_ptr<QZProcessorList>& toolProcessors() const { return toolProcessors_; }
    void setToolProcessors(std::shared_ptr<QZProcessorList> processors) { toolProcessors_ = std::move(processors); }
    // Appends to the list; nothing without a list or for a null processor.
    void addProcessor(std::shared_ptr<QZProcessor> processor);

    void createProcessors(QZProcessorList& processors) override;

private:
    std::shared_ptr<QZProcessorList> toolProcessors_;
};
