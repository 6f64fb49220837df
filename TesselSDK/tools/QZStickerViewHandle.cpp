#include "TesselSDK/tools/QZStickerViewHandle.h"

#include "TesselSDK/tools/QZStickerView.h"

#include "UIKit/UITouch.h"

void QZStickerViewHandle::prepareView()
{
    QZScalableViewHandle::prepareView();
    setHandleType(QZScalableViewHandleTypeResize);
}

void QZStickerViewHandle::touchesMoved(const UITouchSet& touches, UIEvent*)
{
    auto sticker = std::dynamic_pointer_cast<QZStickerView>(superview());
    if (!sticker || !sticker->isScalingEnabled()) return;
    for (const auto& touch : touches)
        if (touch->phase() == UITouchPhaseMoved) {
            sticker->transformWithHandlePoint(touch->locationInView(sticker.get()));
            return;
        }
}
