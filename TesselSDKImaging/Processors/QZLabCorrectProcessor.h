#pragma once
// The Color Fix enhance: the colour correction in L*a*b*.

#include "TesselSDKImaging/Processors/QZProcessor.h"

class QZLabCorrectProcessor : public QZProcessor {
public:
    using QZProcessor::QZProcessor;
    static std::shared_ptr<QZLabCorrectProcessor> make()
    {
        return NSObject::create<QZLabCorrectProcessor>(&QZLabCorrectProcessor::init);
    }

    QZQopBitmapBlock qopBitmapBlock() const override;
};
