#include "UIKit/UIActivityIndicatorView.h"

#include "CoreGraphics/CGContext.h"
#include "UIKit/UIGraphics.h"

#include <cmath>

std::shared_ptr<UIActivityIndicatorView> UIActivityIndicatorView::indicatorWithStyle(UIActivityIndicatorViewStyle style)
{
    return NSObject::create<UIActivityIndicatorView>(&UIActivityIndicatorView::initWithStyle, style);
}

bool UIActivityIndicatorView::initWithStyle(UIActivityIndicatorViewStyle style)
{
    if (!initWithFrame(CGRectZero)) return false;
    setUserInteractionEnabled(false);
    setActivityIndicatorViewStyle(style);
    setHidden(true);
    return true;
}

void UIActivityIndicatorView::setActivityIndicatorViewStyle(UIActivityIndicatorViewStyle style)
{
    style_ = style;
    CGSize size = sizeThatFits(CGSizeZero);
    CGPoint c = center();
    setBounds(CGRectMake(0, 0, size.width, size.height));
    setCenter(c);
    setNeedsDisplay();
}

CGSize UIActivityIndicatorView::sizeThatFits(CGSize) const
{
    return style_ == UIActivityIndicatorViewStyleWhiteLarge ? CGSizeMake(37, 37) : CGSizeMake(20, 20);
}

void UIActivityIndicatorView::startAnimating()
{
    animating_ = true;
    setHidden(false);
}

void UIActivityIndicatorView::stopAnimating()
{
    animating_ = false;
    if (hidesWhenStopped_) setHidden(true);
}

void UIActivityIndicatorView::setHidesWhenStopped(bool hides)
{
    hidesWhenStopped_ = hides;
    if (!animating_) setHidden(hides);
}

void UIActivityIndicatorView::drawRect(CGRect rect)
{
    CGContextRef c = UIGraphicsGetCurrentContext();
    CGFloat side = std::min(rect.size.width, rect.size.height);
    CGFloat grey = style_ == UIActivityIndicatorViewStyleGray ? 0.5f : 1.0f;
    CGContextSaveGState(c);
    CGContextTranslateCTM(c, CGRectGetMidX(rect), CGRectGetMidY(rect));
    CGContextSetLineCap(c, kCGLineCapRound);
    CGContextSetLineWidth(c, side / 10);
    for (int i = 0; i < 12; ++i) {
        CGContextSetGrayStrokeColor(c, grey, 0.25f + 0.75f * CGFloat(i) / 11);
        CGPoint spoke[2] = {CGPointMake(0, -side * 0.25f), CGPointMake(0, -side * 0.45f)};
        CGContextStrokeLineSegments(c, spoke, 2);
        CGContextRotateCTM(c, static_cast<CGFloat>(M_PI / 6));
    }
    CGContextRestoreGState(c);
}
