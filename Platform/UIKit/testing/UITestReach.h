#pragma once
// Whether a person's touch at a view would reach it: what a tap or a look by label needs beyond
// the view being visible (UITestDriver::visibleViewWithLabel).

#include "UIKit/UIView.h"

// The middle of the visible part of the view, in window points: where a tap by label lands.
CGPoint UITestReachablePoint(const UIView& view);

// A touch at UITestReachablePoint goes to the view or a view inside it; for a view that takes no
// touches itself and is no control (a label), to a view it lies in. False when another view
// covers it there (one in front that takes touches, or one sliding over it), or it is not visible.
bool UITestIsReachable(const UIView& view);
