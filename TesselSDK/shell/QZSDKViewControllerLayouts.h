#pragma once
// The root screen's eight layouts (phone 3.5 and 4 inch, tablet portrait and landscape, each with
// and without the status band of newer systems), registered under their nib names. Each fills
// the nine outlets: the bar inside its container at the top, the strip inside its container at
// the bottom, the canvas between with the shadows at its edges, the status band and the wheel.

#include "CoreGraphics/CGGeometry.h"

#include <string>

// A 44-point bar container (under a 20-point band with it), a 113-point strip container whose
// table keeps 70 points after the strip's 43-point reduction.
inline constexpr float kQZSDKLayoutBarHeight = 44;
inline constexpr float kQZSDKLayoutStatusBandHeight = 20;
inline constexpr float kQZSDKLayoutStripHeight = 113;

void QZSDKViewControllerRegisterLayouts();
// The root view's size for a nib name; zero for names that are not the root screen's.
CGSize QZSDKViewControllerLayoutSize(const std::string& nibName);
