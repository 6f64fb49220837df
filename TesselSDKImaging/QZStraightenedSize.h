#pragma once
// The one size a straightened image has, whichever path makes it: the orientation screen's
// destination, the GPU resize and the CPU redraw all round the kept W / scale x H / scale region
// the same way, so the picture a person saw and every replay of it agree to the pixel.

#include "CoreGraphics/CGGeometry.h"

#include <algorithm>
#include <cmath>

// A zoom below 1 would reach outside the image, and one that is not a number means none.
inline CGFloat QZStraightenUsableScale(CGFloat scale)
{
    return scale >= 1 && std::isfinite(scale) ? scale : 1;
}

// round(W / scale) x round(H / scale), at least 1 x 1; a side with no pixels stays 0. The sides
// are those of the image the edit runs on, in the orientation it ends in.
inline CGSize QZStraightenedSize(CGSize size, CGFloat scale)
{
    const CGFloat usable = QZStraightenUsableScale(scale);
    const auto side = [usable](CGFloat length) -> CGFloat {
        if (!(length > 0) || !std::isfinite(length)) return 0;
        return std::max<CGFloat>(1, std::round(length / usable));
    };
    return CGSizeMake(side(size.width), side(size.height));
}
