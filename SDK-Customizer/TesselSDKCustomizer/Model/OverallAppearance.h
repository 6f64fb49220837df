#pragma once
// The theme record: a value holding each attribute of QZAppearanceAttributes.h, set or unset.
// Copies are independent snapshots (the exporter takes one on the calling thread). Getters
// follow fallbacks; the primitive accessors do not.

#include <array>
#include <string_view>
#include <variant>

#include "Model/QZAppearanceAttributes.h"
#include "Render/NSColor.h"

namespace customizer {

// Unset, a colour (never a null one) or a flag.
using QZAttributeValue = std::variant<std::monostate, NSColorPtr, bool>;

// Equal kinds and equal contents: colours by their components.
bool QZAttributeValuesEqual(const QZAttributeValue& a, const QZAttributeValue& b);

class OverallAppearance {
public:
    // Every attribute unset.
    OverallAppearance() = default;

    // Key-value access by attribute name. valueForKey reads through the getter (fallbacks
    // followed); an unknown key reads as unset and logs. setValueForKey refuses (logs, false) an
    // unknown key or a value of the other kind; unset (or a null colour) clears the attribute.
    QZAttributeValue valueForKey(std::string_view key) const;
    bool setValueForKey(const QZAttributeValue& value, std::string_view key);
    // The stored value of the key or, when that is unset, the fallback key through its getter.
    QZAttributeValue accessValueForKey(std::string_view key, std::string_view fallbackKey) const;

    QZAttributeValue value(QZAttribute attribute) const;
    const QZAttributeValue& primitiveValue(QZAttribute attribute) const { return values_[size_t(attribute)]; }
    // False when the value's kind is not the attribute's.
    bool setValue(QZAttribute attribute, const QZAttributeValue& value);
    // A colour attribute through its getter; nil for a flag.
    NSColorPtr color(QZAttribute attribute) const;
    // A flag, unset read as NO.
    bool flag(QZAttribute attribute) const;

    NSColorPtr accentGradientTopColor() const { return color(QZAttribute::accentGradientTopColor); }
    NSColorPtr accentGradientBottomColor() const { return color(QZAttribute::accentGradientBottomColor); }
    NSColorPtr canvasColor() const { return color(QZAttribute::canvasColor); }
    NSColorPtr bottomBarColor() const { return color(QZAttribute::bottomBarColor); }
    NSColorPtr bottomBarInnerStrokeColor() const { return color(QZAttribute::bottomBarInnerStrokeColor); }
    NSColorPtr bottomBarOuterStrokeColor() const { return color(QZAttribute::bottomBarOuterStrokeColor); }
    NSColorPtr navBarColor() const { return color(QZAttribute::navBarColor); }
    NSColorPtr navBarInnerStrokeColor() const { return color(QZAttribute::navBarInnerStrokeColor); }
    NSColorPtr navBarOuterStrokeColor() const { return color(QZAttribute::navBarOuterStrokeColor); }
    NSColorPtr applyButtonGradientTopColor() const { return color(QZAttribute::applyButtonGradientTopColor); }
    NSColorPtr applyButtonGradientBottomColor() const { return color(QZAttribute::applyButtonGradientBottomColor); }
    NSColorPtr applyButtonStrokeColor() const { return color(QZAttribute::applyButtonStrokeColor); }
    NSColorPtr applyButtonInnerShadowColor() const { return color(QZAttribute::applyButtonInnerShadowColor); }
    NSColorPtr cancelButtonColor() const { return color(QZAttribute::cancelButtonColor); }
    NSColorPtr cancelButtonStrokeColor() const { return color(QZAttribute::cancelButtonStrokeColor); }
    NSColorPtr cancelButtonInnerShadowColor() const { return color(QZAttribute::cancelButtonInnerShadowColor); }
    NSColorPtr defaultIconStrokeColor() const { return color(QZAttribute::defaultIconStrokeColor); }
    NSColorPtr defaultIconInnerShadowColor() const { return color(QZAttribute::defaultIconInnerShadowColor); }
    NSColorPtr defaultIconDropShadowColor() const { return color(QZAttribute::defaultIconDropShadowColor); }
    NSColorPtr defaultIconGradientTopColor() const { return color(QZAttribute::defaultIconGradientTopColor); }
    NSColorPtr defaultIconGradientBottomColor() const { return color(QZAttribute::defaultIconGradientBottomColor); }
    NSColorPtr highlightedIconStrokeColor() const { return color(QZAttribute::highlightedIconStrokeColor); }
    NSColorPtr highlightedIconInnerShadowColor() const { return color(QZAttribute::highlightedIconInnerShadowColor); }
    NSColorPtr highlightedIconGlowColor() const { return color(QZAttribute::highlightedIconGlowColor); }
    NSColorPtr highlightedIconGradientTopColor() const { return color(QZAttribute::highlightedIconGradientTopColor); }
    NSColorPtr highlightedIconGradientBottomColor() const
    {
        return color(QZAttribute::highlightedIconGradientBottomColor);
    }
    NSColorPtr handleColor() const { return color(QZAttribute::handleColor); }
    NSColorPtr handleBezelGradientTopColor() const { return color(QZAttribute::handleBezelGradientTopColor); }
    NSColorPtr handleBezelGradientBottomColor() const { return color(QZAttribute::handleBezelGradientBottomColor); }
    NSColorPtr handleStrokeColor() const { return color(QZAttribute::handleStrokeColor); }
    NSColorPtr handleShadowColor() const { return color(QZAttribute::handleShadowColor); }
    NSColorPtr textColor() const { return color(QZAttribute::textColor); }
    NSColorPtr highlightedTextColor() const { return color(QZAttribute::highlightedTextColor); }
    NSColorPtr navigationBarTextColor() const { return color(QZAttribute::navigationBarTextColor); }
    NSColorPtr cancelButtonDefaultTextColor() const { return color(QZAttribute::cancelButtonDefaultTextColor); }
    NSColorPtr cancelButtonHighlightedTextColor() const { return color(QZAttribute::cancelButtonHighlightedTextColor); }
    NSColorPtr applyButtonDefaultTextColor() const { return color(QZAttribute::applyButtonDefaultTextColor); }
    NSColorPtr applyButtonHighlightedTextColor() const { return color(QZAttribute::applyButtonHighlightedTextColor); }
    NSColorPtr textShadowColor() const { return color(QZAttribute::textShadowColor); }
    NSColorPtr navigationBarTextShadowColor() const { return color(QZAttribute::navigationBarTextShadowColor); }
    NSColorPtr cancelButtonDefaultTextShadowColor() const
    {
        return color(QZAttribute::cancelButtonDefaultTextShadowColor);
    }
    NSColorPtr applyButtonDefaultTextShadowColor() const
    {
        return color(QZAttribute::applyButtonDefaultTextShadowColor);
    }
    NSColorPtr galleryListCore() const { return color(QZAttribute::galleryListCore); }
    NSColorPtr galleryListInnerStroke() const { return color(QZAttribute::galleryListInnerStroke); }
    NSColorPtr galleryListOuterStroke() const { return color(QZAttribute::galleryListOuterStroke); }
    NSColorPtr galleryListArrowCore() const { return color(QZAttribute::galleryListArrowCore); }
    NSColorPtr galleryListArrowInnerStroke() const { return color(QZAttribute::galleryListArrowInnerStroke); }
    NSColorPtr galleryListArrowOuterStroke() const { return color(QZAttribute::galleryListArrowOuterStroke); }
    NSColorPtr cameraIconGradientTopColor() const { return color(QZAttribute::cameraIconGradientTopColor); }
    NSColorPtr cameraIconGradientBottomColor() const { return color(QZAttribute::cameraIconGradientBottomColor); }
    NSColorPtr cameraIconInnerStrokeColor() const { return color(QZAttribute::cameraIconInnerStrokeColor); }
    NSColorPtr cameraIconOuterStrokeColor() const { return color(QZAttribute::cameraIconOuterStrokeColor); }
    NSColorPtr galleryAlbumNameTextColor() const { return color(QZAttribute::galleryAlbumNameTextColor); }
    NSColorPtr galleryAlbumNameTextShadowColor() const { return color(QZAttribute::galleryAlbumNameTextShadowColor); }
    bool useNoise() const { return flag(QZAttribute::useNoise); }
    bool usesBlackTesselLogo() const { return flag(QZAttribute::usesBlackTesselLogo); }
    // Not an attribute: always `textShadowColor` through its getter.
    NSColorPtr highlightedTextShadowColor() const { return textShadowColor(); }

    bool operator==(const OverallAppearance& other) const;

private:
    std::array<QZAttributeValue, kQZAttributeCount> values_;
};

}  // namespace customizer
