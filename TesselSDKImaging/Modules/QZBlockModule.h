#pragma once
// A module whose processors come from a block: a tool screen hands its configured processor out as
// its output module this way.

#include "TesselSDKImaging/Modules/QZModule.h"

#include <functional>

class QZBlockModule : public QZModule {
public:
    // Appends one or more configured processors.
    using ProcessorsBlock = std::function<void(QZProcessorList& processors)>;

    using QZModule::QZModule;
    // +moduleWithBlock:.
    static std::shared_ptr<QZBlockModule> moduleWithBlock(ProcessorsBlock block)
    {
        return NSObject::create<QZBlockModule>(&QZBlockModule::initWithBlock, std::move(block));
    }
    static std::string name() { return "QZBlockModule"; }

    // Runs the block with the list, at every ask.
    void createProcessors(QZProcessorList& processors) override;

private:
    void initWithBlock(ProcessorsBlock block);

    ProcessorsBlock block_;
};
