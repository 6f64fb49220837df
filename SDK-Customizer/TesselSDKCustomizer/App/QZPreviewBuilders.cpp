#include "App/QZPreviewBuilders.h"

#include "Generators/QZBarImages.h"
#include "Generators/QZButtonImages.h"
#include "Generators/QZIconImages.h"
#include "Generators/QZKnobImages.h"
#include "Generators/QZSliderImages.h"

namespace customizer {

namespace {

NSImagePtr stretched(const NSImagePtr& image, CGSize size) { return image ? image->imageByStretchingToSize(size) : nullptr; }

NSImagePtr resized(const NSImagePtr& image, CGSize size, CGFloat capInset)
{
    return image ? image->imageByResizingToSize(size, capInset, 0) : nullptr;
}

NSImagePtr bigButton(const NSImagePtr& image) { return resized(stretched(image, {60, 60}), {112, 60}, 12); }

NSImagePtr smallButton(const NSImagePtr& image) { return stretched(resized(stretched(image, {30, 30}), {56, 30}, 5), {42, 23}); }

NSImagePtr applyButton(const OverallAppearance& r, bool highlighted)
{
    if (highlighted)
        return stretchableActiveApplyButtonWithColorsSizeAndScale(r.applyButtonGradientTopColor(),
                                                                  r.applyButtonGradientBottomColor(), r.applyButtonStrokeColor());
    return stretchableApplyButtonWithColorsSizeAndScale(r.applyButtonGradientTopColor(), r.applyButtonGradientBottomColor(),
                                                        r.applyButtonStrokeColor(), r.applyButtonInnerShadowColor());
}

NSImagePtr cancelButton(const OverallAppearance& r, bool highlighted)
{
    if (highlighted)
        return stretchableActiveCancelButtonWithColorsSizeAndScale(r.cancelButtonColor(), r.cancelButtonStrokeColor(),
                                                                   r.cancelButtonInnerShadowColor());
    return stretchableCancelButtonWithColorsSizeAndScale(r.cancelButtonColor(), r.cancelButtonStrokeColor(),
                                                         r.cancelButtonInnerShadowColor());
}

NSImagePtr unselectedIcon(const OverallAppearance& r, const std::string& name)
{
    return iconWithNameColorsAndState(name, r.defaultIconDropShadowColor(), r.defaultIconStrokeColor(),
                                      r.defaultIconGradientTopColor(), r.defaultIconGradientBottomColor(),
                                      r.defaultIconInnerShadowColor(), false);
}

NSImagePtr selectedIcon(const OverallAppearance& r, const std::string& name)
{
    return iconWithNameColorsAndState(name, r.highlightedIconGlowColor(), r.highlightedIconStrokeColor(),
                                      r.highlightedIconGradientTopColor(), r.highlightedIconGradientBottomColor(),
                                      r.highlightedIconInnerShadowColor(), true);
}

}  // namespace

NSImagePtr bigNavBarImageAtSize(const OverallAppearance& r, CGSize size)
{
    return resized(stretchableNavigationBarImageWithColorAndScale(r.navBarColor(), r.navBarOuterStrokeColor(),
                                                                  r.navBarInnerStrokeColor(), r.useNoise(), 1.0),
                   size, 2);
}

NSImagePtr bigBottomBarImageAtSize(const OverallAppearance& r, CGSize size)
{
    return stretched(stretchableToolBarWithMidColorAndSize(r.bottomBarColor(), r.bottomBarOuterStrokeColor(),
                                                           r.bottomBarInnerStrokeColor(), r.useNoise(), 2.0),
                     size);
}

NSImagePtr bigHomeBarAtSize(const OverallAppearance& r, CGSize size)
{
    return stretched(stretchableHomeBottomBarWithMidColorStrokesSizeAndScale(
                         r.bottomBarColor(), r.bottomBarOuterStrokeColor(), r.bottomBarInnerStrokeColor(), r.useNoise(), 2.0),
                     size);
}

NSImagePtr bigApplyButtonImage(const OverallAppearance& r, bool highlighted) { return bigButton(applyButton(r, highlighted)); }
NSImagePtr bigCancelButtonImage(const OverallAppearance& r, bool highlighted) { return bigButton(cancelButton(r, highlighted)); }
NSImagePtr smallApplyButtonImage(const OverallAppearance& r) { return smallButton(applyButton(r, false)); }
NSImagePtr smallCancelButtonImage(const OverallAppearance& r) { return smallButton(cancelButton(r, false)); }
NSImagePtr bigUnselectedIconImage(const OverallAppearance& r) { return unselectedIcon(r, "enhance"); }
NSImagePtr bigSelectedIconImage(const OverallAppearance& r) { return selectedIcon(r, "enhance"); }

NSImagePtr smallUnselectedIconImageWithName(const OverallAppearance& r, const std::string& name)
{
    return stretched(unselectedIcon(r, name), {37, 37});
}

NSImagePtr smallSelectedIconImageWithName(const OverallAppearance& r, const std::string& name)
{
    return stretched(selectedIcon(r, name), {37, 37});
}

NSImagePtr bigKnobImage(const OverallAppearance& r)
{
    return sliderKnobWithColors(r.handleColor(), r.handleBezelGradientTopColor(), r.handleBezelGradientBottomColor(),
                                r.handleStrokeColor(), r.handleShadowColor());
}

NSImagePtr bigSliderConnectorImage(const OverallAppearance& r, CGSize size)
{
    return stretched(sliderStretchableImageWithColors(r.bottomBarColor(), r.bottomBarOuterStrokeColor()), size);
}

NSImagePtr bigSliderLeftCap(const OverallAppearance& r) { return sliderLeftCapWithColors(r.bottomBarColor(), r.bottomBarOuterStrokeColor()); }
NSImagePtr bigSliderRightCap(const OverallAppearance& r) { return sliderRightCapWithColors(r.bottomBarColor(), r.bottomBarOuterStrokeColor()); }
NSImagePtr bigSliderCenter(const OverallAppearance& r) { return sliderCenterWithColors(r.bottomBarColor(), r.bottomBarOuterStrokeColor()); }

}  // namespace customizer
