#include "TesselSDKImaging/Processors/QZQopEffectProcessor.h"

#include "Foundation/NSLog.h"

#include <memory>

void QZQopEffectProcessor::initWithEffectFunction(QZQopEffectFunction function, QopEffectParams_t params)
{
    init();
    setFunction(function);
    setParams(params);
}

QZQopEffectFunction QZQopEffectProcessor::function() const
{
    std::lock_guard lock(mutex_);
    return function_;
}

void QZQopEffectProcessor::setFunction(QZQopEffectFunction function)
{
    std::lock_guard lock(mutex_);
    function_ = function;
}

QopEffectParams_t QZQopEffectProcessor::params() const
{
    std::lock_guard lock(mutex_);
    return params_;
}

void QZQopEffectProcessor::setParams(QopEffectParams_t params)
{
    std::lock_guard lock(mutex_);
    params_ = params;
}

QZQopBitmapBlock QZQopEffectProcessor::qopBitmapBlock() const
{
    const QZQopEffectFunction effect = function();
    if (!effect) NSLog("%s %@", "-[QZQopEffectProcessor qopBitmapBlock]", "Expected non-nil effect function");
    // One copy for every run of the block: an effect may change what it is given.
    auto copy = std::make_shared<QopEffectParams_t>(params());
    return [effect, copy](QopBitmap_t* bitmap, const std::atomic<bool>* stop) {
        if ((stop && stop->load()) || !effect) return;
        effect(bitmap, copy.get());
    };
}
