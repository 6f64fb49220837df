#include "Model/OverallAppearance.h"

#include <string>

#include "Render/NSLog.h"
#include "Render/QZColorHelpers.h"

namespace customizer {
namespace {

// The canvas sits 0.07 darker than the navigation bar until it is set.
constexpr CGFloat kCanvasBrightnessShift = -0.07;

bool fitsKind(const QZAttributeValue& value, QZAttributeKind kind)
{
    if (std::holds_alternative<std::monostate>(value)) return true;
    return kind == QZAttributeKind::Color ? std::holds_alternative<NSColorPtr>(value)
                                          : std::holds_alternative<bool>(value);
}

std::optional<QZAttribute> knownAttribute(std::string_view key, const char* method)
{
    std::optional<QZAttribute> attribute = QZAttributeNamed(key);
    if (!attribute) NSLog("%s: \"%.*s\" is no attribute of the theme", method, int(key.size()), key.data());
    return attribute;
}

}  // namespace

bool QZAttributeValuesEqual(const QZAttributeValue& a, const QZAttributeValue& b)
{
    if (a.index() != b.index()) return false;
    if (const auto* color = std::get_if<NSColorPtr>(&a)) return (*color)->isEqual(*std::get<NSColorPtr>(b));
    if (const auto* flag = std::get_if<bool>(&a)) return *flag == std::get<bool>(b);
    return true;
}

QZAttributeValue OverallAppearance::valueForKey(std::string_view key) const
{
    std::optional<QZAttribute> attribute = knownAttribute(key, "valueForKey");
    return attribute ? value(*attribute) : QZAttributeValue{};
}

bool OverallAppearance::setValueForKey(const QZAttributeValue& value, std::string_view key)
{
    std::optional<QZAttribute> attribute = knownAttribute(key, "setValueForKey");
    if (!attribute) return false;
    if (setValue(*attribute, value)) return true;
    NSLog("setValueForKey: \"%.*s\" takes a %s", int(key.size()), key.data(),
          QZDescriptionOf(*attribute).kind == QZAttributeKind::Color ? "colour" : "flag");
    return false;
}

QZAttributeValue OverallAppearance::accessValueForKey(std::string_view key, std::string_view fallbackKey) const
{
    if (std::optional<QZAttribute> attribute = QZAttributeNamed(key)) {
        const QZAttributeValue& stored = primitiveValue(*attribute);
        if (!std::holds_alternative<std::monostate>(stored)) return stored;
    }
    return valueForKey(fallbackKey);
}

QZAttributeValue OverallAppearance::value(QZAttribute attribute) const
{
    const QZAttributeDescription& description = QZDescriptionOf(attribute);
    if (description.kind == QZAttributeKind::Flag) return primitiveValue(attribute);
    NSColorPtr resolved = color(attribute);
    return resolved ? QZAttributeValue{resolved} : QZAttributeValue{};
}

bool OverallAppearance::setValue(QZAttribute attribute, const QZAttributeValue& value)
{
    if (!fitsKind(value, QZDescriptionOf(attribute).kind)) return false;
    const auto* color = std::get_if<NSColorPtr>(&value);
    values_[size_t(attribute)] = color && !*color ? QZAttributeValue{} : value;
    return true;
}

NSColorPtr OverallAppearance::color(QZAttribute attribute) const
{
    const QZAttributeDescription& description = QZDescriptionOf(attribute);
    if (description.kind != QZAttributeKind::Color) return nullptr;
    if (const auto* stored = std::get_if<NSColorPtr>(&primitiveValue(attribute))) return *stored;
    if (!description.fallback) return nullptr;
    NSColorPtr fallback = color(*description.fallback);
    if (attribute == QZAttribute::canvasColor) return QZNSColorByShiftingBrightness(fallback, kCanvasBrightnessShift);
    return fallback;
}

bool OverallAppearance::flag(QZAttribute attribute) const
{
    const auto* stored = std::get_if<bool>(&primitiveValue(attribute));
    return stored && *stored;
}

bool OverallAppearance::operator==(const OverallAppearance& other) const
{
    for (size_t i = 0; i < values_.size(); ++i)
        if (!QZAttributeValuesEqual(values_[i], other.values_[i])) return false;
    return true;
}

}  // namespace customizer
