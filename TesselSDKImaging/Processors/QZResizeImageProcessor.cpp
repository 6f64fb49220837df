#include "TesselSDKImaging/Processors/QZResizeImageProcessor.h"

#include "QopLite/QopBitmap.h"
#include "QopLite/QopGL.h"
#include "QopLite/QopGLData.h"

#include <algorithm>
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
        // A factor of zero or less (or NaN) names no image: nothing changes. A positive one keeps
        // at least a pixel, as the CPU straightening does for the same edit.
        if (!(factors.width > 0) || !(factors.height > 0)) return;
        const float width = std::max(1.0f, std::round(float(bitmap->width) * factors.width));
        const float height = std::max(1.0f, std::round(float(bitmap->height) * factors.height));
        if (!std::isfinite(width) || !std::isfinite(height)) return;
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
