#include "TesselSDK/tools/text/QZTextFieldCursorView.h"

#include "UIKit/UIGraphics.h"

#include <cmath>

void QZTextFieldCursorView::prepareView()
{
    QZView::prepareView();
    scale_ = 1;
    layer()->setOpacity(0);
    setBackgroundColor(nullptr);
    setOpaque(false);
}

void QZTextFieldCursorView::setBlinkEnabled(QZTextFieldCursorMode mode)
{
    if (mode == QZTextFieldCursorBlink) {
        auto blink = CAKeyframeAnimation::animationWithKeyPath("opacity");
        blink->setValues({Value(1.0), Value(0.0), Value(1.0)});
        blink->setKeyTimes({0.0, 0.5, 1.0});
        blink->setDuration(0.5);
        blink->setCalculationMode(kCAAnimationDiscrete);
        blink->setAutoreverses(true);
        blink->setRepeatCount(HUGE_VALF);
        layer()->addAnimation(blink, "opacity");
        return;
    }
    layer()->removeAllAnimations();
    layer()->setOpacity(mode == QZTextFieldCursorSteady ? 1 : 0);
}

void QZTextFieldCursorView::drawRect(CGRect rect)
{
    QZView::drawRect(rect);
    CGContextRef context = UIGraphicsGetCurrentContext();
    const CGRect b = bounds();
    CGContextSaveGState(context);
    CGContextTranslateCTM(context, CGRectGetMidX(b), CGRectGetMidY(b));
    CGContextScaleCTM(context, scale_, scale_);
    CGContextTranslateCTM(context, -CGRectGetMidX(b), -CGRectGetMidY(b));
    CGContextSetRGBFillColor(context, 0, 0, 1, 0.75f);
    CGContextFillRect(context, cursorBounds_);
    CGContextRestoreGState(context);
}
