#pragma once
// A processor whose bitmap block is given, not built: tool screens wrap one-off drawing this way.

#include "TesselSDKImaging/Processors/QZProcessor.h"

class QZBlockProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    // alloc + initWithBlock:.
    static std::shared_ptr<QZBlockProcessor> blockProcessorWithBlock(QZBitmapBlock block)
    {
        return NSObject::create<QZBlockProcessor>(&QZBlockProcessor::initWithBlock, std::move(block));
    }

    const QZBitmapBlock& block() const { return block_; }
    QZBitmapBlock bitmapBlock() const override { return block_; }

protected:
    void initWithBlock(QZBitmapBlock block);

private:
    QZBitmapBlock block_;
};
