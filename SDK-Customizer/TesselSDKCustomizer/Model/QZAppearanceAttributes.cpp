#include "Model/QZAppearanceAttributes.h"

namespace customizer {
namespace {

using A = QZAttribute;
constexpr QZAttributeKind C = QZAttributeKind::Color;
constexpr QZAttributeKind F = QZAttributeKind::Flag;
constexpr std::optional<QZAttribute> none = std::nullopt;

constexpr std::array<QZAttributeDescription, kQZAttributeCount> kAttributes = {{
    {A::accentGradientTopColor, "accentGradientTopColor", C, none},
    {A::accentGradientBottomColor, "accentGradientBottomColor", C, none},
    {A::canvasColor, "canvasColor", C, A::navBarColor},  // shifted by -0.07 in brightness
    {A::bottomBarColor, "bottomBarColor", C, none},
    {A::bottomBarInnerStrokeColor, "bottomBarInnerStrokeColor", C, none},
    {A::bottomBarOuterStrokeColor, "bottomBarOuterStrokeColor", C, none},
    {A::navBarColor, "navBarColor", C, A::bottomBarColor},
    {A::navBarInnerStrokeColor, "navBarInnerStrokeColor", C, A::bottomBarInnerStrokeColor},
    {A::navBarOuterStrokeColor, "navBarOuterStrokeColor", C, A::bottomBarOuterStrokeColor},
    {A::applyButtonGradientTopColor, "applyButtonGradientTopColor", C, A::accentGradientTopColor},
    {A::applyButtonGradientBottomColor, "applyButtonGradientBottomColor", C, A::accentGradientBottomColor},
    {A::applyButtonStrokeColor, "applyButtonStrokeColor", C, none},
    {A::applyButtonInnerShadowColor, "applyButtonInnerShadowColor", C, none},
    {A::cancelButtonColor, "cancelButtonColor", C, A::navBarColor},
    {A::cancelButtonStrokeColor, "cancelButtonStrokeColor", C, none},
    {A::cancelButtonInnerShadowColor, "cancelButtonInnerShadowColor", C, none},
    {A::defaultIconStrokeColor, "defaultIconStrokeColor", C, none},
    {A::defaultIconInnerShadowColor, "defaultIconInnerShadowColor", C, none},
    {A::defaultIconDropShadowColor, "defaultIconDropShadowColor", C, none},
    {A::defaultIconGradientTopColor, "defaultIconGradientTopColor", C, none},
    {A::defaultIconGradientBottomColor, "defaultIconGradientBottomColor", C, none},
    {A::highlightedIconStrokeColor, "highlightedIconStrokeColor", C, none},
    {A::highlightedIconInnerShadowColor, "highlightedIconInnerShadowColor", C, none},
    {A::highlightedIconGlowColor, "highlightedIconGlowColor", C, A::accentGradientTopColor},
    {A::highlightedIconGradientTopColor, "highlightedIconGradientTopColor", C, A::accentGradientTopColor},
    {A::highlightedIconGradientBottomColor, "highlightedIconGradientBottomColor", C, A::accentGradientBottomColor},
    {A::handleColor, "handleColor", C, none},
    {A::handleBezelGradientTopColor, "handleBezelGradientTopColor", C, none},
    {A::handleBezelGradientBottomColor, "handleBezelGradientBottomColor", C, none},
    {A::handleStrokeColor, "handleStrokeColor", C, none},
    {A::handleShadowColor, "handleShadowColor", C, none},
    {A::textColor, "textColor", C, none},
    {A::highlightedTextColor, "highlightedTextColor", C, A::highlightedIconGradientTopColor},
    {A::navigationBarTextColor, "navigationBarTextColor", C, A::textColor},
    {A::cancelButtonDefaultTextColor, "cancelButtonDefaultTextColor", C, A::textColor},
    {A::cancelButtonHighlightedTextColor, "cancelButtonHighlightedTextColor", C, A::textColor},
    {A::applyButtonDefaultTextColor, "applyButtonDefaultTextColor", C, A::textColor},
    {A::applyButtonHighlightedTextColor, "applyButtonHighlightedTextColor", C, A::textColor},
    {A::textShadowColor, "textShadowColor", C, A::defaultIconDropShadowColor},
    {A::navigationBarTextShadowColor, "navigationBarTextShadowColor", C, A::textShadowColor},
    {A::cancelButtonDefaultTextShadowColor, "cancelButtonDefaultTextShadowColor", C, A::textShadowColor},
    {A::applyButtonDefaultTextShadowColor, "applyButtonDefaultTextShadowColor", C, A::textShadowColor},
    {A::galleryListCore, "galleryListCore", C, none},
    {A::galleryListInnerStroke, "galleryListInnerStroke", C, none},
    {A::galleryListOuterStroke, "galleryListOuterStroke", C, none},
    {A::galleryListArrowCore, "galleryListArrowCore", C, none},
    {A::galleryListArrowInnerStroke, "galleryListArrowInnerStroke", C, none},
    {A::galleryListArrowOuterStroke, "galleryListArrowOuterStroke", C, none},
    {A::cameraIconGradientTopColor, "cameraIconGradientTopColor", C, A::defaultIconGradientTopColor},
    {A::cameraIconGradientBottomColor, "cameraIconGradientBottomColor", C, A::defaultIconGradientBottomColor},
    {A::cameraIconInnerStrokeColor, "cameraIconInnerStrokeColor", C, A::defaultIconInnerShadowColor},
    {A::cameraIconOuterStrokeColor, "cameraIconOuterStrokeColor", C, A::defaultIconStrokeColor},
    {A::galleryAlbumNameTextColor, "galleryAlbumNameTextColor", C, A::textColor},
    {A::galleryAlbumNameTextShadowColor, "galleryAlbumNameTextShadowColor", C, A::textShadowColor},
    {A::useNoise, "useNoise", F, none},
    {A::usesBlackTesselLogo, "usesBlackTesselLogo", F, none},
}};

// The table is indexed by the enumeration: each row must sit at its own attribute's place.
constexpr bool tableInOrder()
{
    for (int i = 0; i < kQZAttributeCount; ++i)
        if (int(kAttributes[size_t(i)].attribute) != i) return false;
    return true;
}
static_assert(tableInOrder());
static_assert(int(QZAttribute::usesBlackTesselLogo) + 1 == kQZAttributeCount);

}  // namespace

const std::array<QZAttributeDescription, kQZAttributeCount>& QZAppearanceAttributes()
{
    return kAttributes;
}

const QZAttributeDescription& QZDescriptionOf(QZAttribute attribute)
{
    return kAttributes[size_t(attribute)];
}

std::optional<QZAttribute> QZAttributeNamed(std::string_view name)
{
    for (const QZAttributeDescription& d : kAttributes)
        if (name == d.name) return d.attribute;
    return std::nullopt;
}

}  // namespace customizer
