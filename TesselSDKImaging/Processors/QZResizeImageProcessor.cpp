#include "TesselSDKImaging/Processors/QZResizeImageProcessor.h"

#include "QopLite/QopBitmap.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLData.h"

#include <cmath>

QZBitmapBlock QZResizeImageProcessor::bitmapBlock() const
{
    return [](CGContextRef, const std::atomic<bool>*) {};
}

QZQopBitmapBlock QZResizeImageProcessor::qopBitmapBlock() const
{
    const QopBitmapResizeRect_t corners{{lowerLeft_.x, lowerLeft_.y},
                                        {lowerRight_.x, lowerRight_.y},
                                        {upperRight_.x, upperRight_.y},
                                        {upperLeft_.x, upperLeft_.y}};
    const CGSize factors = newImageSize_;
    return [corners, factors](QopBitmap_t* bitmap, const std::atomic<bool>* stop) {
        if ((stop && stop->load()) || !bitmap->glData) return;
        const float width = std::round(float(bitmap->width) * factors.width);
        const float height = std::round(float(bitmap->height) * factors.height);
        // A zero (or NaN) factor would make an image of no pixels.
        if (!(width >= 1) || !(height >= 1)) return;
        QopGLData_t* record = bitmap->glData;
        const bool overwrite = record->renderingMode == QopGLRenderingModeOverwriteOriginal;
        if (overwrite) QopGLSetDestinationImageSizeAndClear(record, width, height);
        QopGLSetBitmapBilinearSampling(record, true);
        QopBitmapEffectBitmapResize(bitmap, &corners);
        if (overwrite)
            QopGLSetDestinationImageSizeAndClear(record, width, height);
        else
            QopGLSetOriginalImageSizeAndClear(record, float(bitmap->width), float(bitmap->height));
        QopGLSetBitmapBilinearSampling(record, false);
    };
}
