#pragma once
// Runs one effect function of QopLite (QopEffectOriginal, ...) with effect parameters. The block
// keeps one copy of the parameters for all its runs.

#include "TesselSDKImaging/Processors/QZProcessor.h"

#include "QopLite/QopTypes.h"

#include <mutex>

using QZQopEffectFunction = void (*)(QopBitmap_t* bitmap, QopEffectParams_t* params);

class QZQopEffectProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZQopEffectProcessor> make()
    {
        return NSObject::create<QZQopEffectProcessor>(&QZQopEffectProcessor::init);
    }
    // initWithEffectFunction:params:.
    static std::shared_ptr<QZQopEffectProcessor> make(QZQopEffectFunction function, QopEffectParams_t params)
    {
        return NSObject::create<QZQopEffectProcessor>(&QZQopEffectProcessor::initWithEffectFunction, function, params);
    }

    QZQopEffectFunction function() const;
    void setFunction(QZQopEffectFunction function);
    // Read and written whole.
    QopEffectParams_t params() const;
    void setParams(QopEffectParams_t params);

    // A missing function is logged here; the block then does nothing.
    QZQopBitmapBlock qopBitmapBlock() const override;

private:
    void initWithEffectFunction(QZQopEffectFunction function, QopEffectParams_t params);

    mutable std::mutex mutex_;
    QZQopEffectFunction function_ = nullptr;
    QopEffectParams_t params_{};
};
