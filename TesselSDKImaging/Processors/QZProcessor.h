#pragma once
// The base of every image operation: an object holding one operation's parameters that hands out,
// on request, a block performing it on pixels. A subclass supplies at least one of the two blocks;
// an image server picks between them.
//
// Each getter builds a new block that captures the parameter values of that moment (copies, never
// the processor), so a later change to the processor does not reach a block already handed out.
// The getters run on the thread queueing the work; the blocks run on the server's queue.

#include "TesselSDKImaging/QZBitmap.h"

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSObject.h"

#include <memory>
#include <vector>

class QZProcessor;
// A module's processors, in run order.
using QZProcessorList = std::vector<std::shared_ptr<QZProcessor>>;

class QZProcessor : public NSObject {
public:
    using NSObject::NSObject;
    // alloc + init.
    static std::shared_ptr<QZProcessor> make() { return NSObject::create<QZProcessor>(&QZProcessor::init); }
    // A QZBlockProcessor running the block.
    static std::shared_ptr<QZProcessor> processorWithBitmapBlock(QZBitmapBlock block);

    // From the coordinates the parameters were chosen in (the preview) to those of the image the
    // processor runs on. Processors with positions or sizes scale by it; subclasses may override the
    // setter to rescale what they hold.
    CGFloat scaleFactor() const { return scaleFactor_; }
    virtual void setScaleFactor(CGFloat scaleFactor) { scaleFactor_ = scaleFactor; }

    // The bitmap additions; nil in the base.
    virtual QZBitmapBlock bitmapBlock() const { return nullptr; }
    virtual QZQopBitmapBlock qopBitmapBlock() const { return nullptr; }
    virtual CGSize outputSizeForInputSize(CGSize size) const { return size; }

protected:
    // Sets scaleFactor to 1, then sends setDefaults. Subclass initialisers call it first.
    void init();
    // Hook for parameter defaults; nothing in the base.
    virtual void setDefaults() {}

private:
    CGFloat scaleFactor_ = 0;
};
