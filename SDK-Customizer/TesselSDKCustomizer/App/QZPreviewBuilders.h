#pragma once
// The panels' preview images, drawn afresh from the record's current colours (read through the
// getters, so unset colours show their fallbacks) with the export's own generators. Null where
// the generator or the resize refuses (shown as no image).

#include <string>

#include "Model/OverallAppearance.h"
#include "Render/CGGeometry.h"
#include "Render/NSImage.h"

namespace customizer {

NSImagePtr bigNavBarImageAtSize(const OverallAppearance& record, CGSize size);
NSImagePtr bigBottomBarImageAtSize(const OverallAppearance& record, CGSize size);
NSImagePtr bigHomeBarAtSize(const OverallAppearance& record, CGSize size);
NSImagePtr bigApplyButtonImage(const OverallAppearance& record, bool highlighted);
NSImagePtr bigCancelButtonImage(const OverallAppearance& record, bool highlighted);
NSImagePtr smallApplyButtonImage(const OverallAppearance& record);
NSImagePtr smallCancelButtonImage(const OverallAppearance& record);
NSImagePtr bigUnselectedIconImage(const OverallAppearance& record);
NSImagePtr bigSelectedIconImage(const OverallAppearance& record);
NSImagePtr smallUnselectedIconImageWithName(const OverallAppearance& record, const std::string& name);
NSImagePtr smallSelectedIconImageWithName(const OverallAppearance& record, const std::string& name);
NSImagePtr bigKnobImage(const OverallAppearance& record);
NSImagePtr bigSliderConnectorImage(const OverallAppearance& record, CGSize size);
NSImagePtr bigSliderLeftCap(const OverallAppearance& record);
NSImagePtr bigSliderRightCap(const OverallAppearance& record);
NSImagePtr bigSliderCenter(const OverallAppearance& record);

}  // namespace customizer
