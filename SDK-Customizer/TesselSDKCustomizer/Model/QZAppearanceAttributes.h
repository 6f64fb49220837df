#pragma once
// The attributes of the theme record, in declaration order: 54 colours and two flags. A colour
// with a fallback reads, while unset, as its fallback attribute read through that attribute's own
// getter (so fallbacks chain); `canvasColor` reads as `navBarColor` 0.07 darker in brightness.

#include <array>
#include <optional>
#include <string_view>

namespace customizer {

enum class QZAttribute {
    accentGradientTopColor,
    accentGradientBottomColor,
    canvasColor,
    bottomBarColor,
    bottomBarInnerStrokeColor,
    bottomBarOuterStrokeColor,
    navBarColor,
    navBarInnerStrokeColor,
    navBarOuterStrokeColor,
    applyButtonGradientTopColor,
    applyButtonGradientBottomColor,
    applyButtonStrokeColor,
    applyButtonInnerShadowColor,
    cancelButtonColor,
    cancelButtonStrokeColor,
    cancelButtonInnerShadowColor,
    defaultIconStrokeColor,
    defaultIconInnerShadowColor,
    defaultIconDropShadowColor,
    defaultIconGradientTopColor,
    defaultIconGradientBottomColor,
    highlightedIconStrokeColor,
    highlightedIconInnerShadowColor,
    highlightedIconGlowColor,
    highlightedIconGradientTopColor,
    highlightedIconGradientBottomColor,
    handleColor,
    handleBezelGradientTopColor,
    handleBezelGradientBottomColor,
    handleStrokeColor,
    handleShadowColor,
    textColor,
    highlightedTextColor,
    navigationBarTextColor,
    cancelButtonDefaultTextColor,
    cancelButtonHighlightedTextColor,
    applyButtonDefaultTextColor,
    applyButtonHighlightedTextColor,
    textShadowColor,
    navigationBarTextShadowColor,
    cancelButtonDefaultTextShadowColor,
    applyButtonDefaultTextShadowColor,
    galleryListCore,
    galleryListInnerStroke,
    galleryListOuterStroke,
    galleryListArrowCore,
    galleryListArrowInnerStroke,
    galleryListArrowOuterStroke,
    cameraIconGradientTopColor,
    cameraIconGradientBottomColor,
    cameraIconInnerStrokeColor,
    cameraIconOuterStrokeColor,
    galleryAlbumNameTextColor,
    galleryAlbumNameTextShadowColor,
    useNoise,
    usesBlackTesselLogo,
};

inline constexpr int kQZAttributeCount = 56;

enum class QZAttributeKind { Color, Flag };

struct QZAttributeDescription {
    QZAttribute attribute;
    const char* name;
    QZAttributeKind kind;
    std::optional<QZAttribute> fallback;
};

// All 56, indexed by the attribute's value.
const std::array<QZAttributeDescription, kQZAttributeCount>& QZAppearanceAttributes();
const QZAttributeDescription& QZDescriptionOf(QZAttribute attribute);
// Nullopt for a name that is no attribute.
std::optional<QZAttribute> QZAttributeNamed(std::string_view name);

}  // namespace customizer
