#pragma once
// "CustomizationDefaults.plist": attribute name -> default. A colour's default is {"hex": string,
// "alpha": number} (the hex read as QZNSColorWithHexString reads it, the alpha taken as a float
// replacing the colour's), a flag's the boolean to store. An attribute without an entry has no
// default. Entries of the wrong form are skipped with a log line, names that are no attribute
// ignored.

#include <optional>
#include <string>

#include "Model/OverallAppearance.h"

namespace customizer {

inline constexpr const char* kQZCustomizationDefaultsFileName = "CustomizationDefaults.plist";

class QZCustomizationDefaults {
public:
    // Nullopt (with the reason in `error`) when the file cannot be read or its root is no
    // dictionary.
    static std::optional<QZCustomizationDefaults> readFromFile(const std::string& path, std::string* error);

    // Unset for an attribute without a default.
    const QZAttributeValue& defaultFor(QZAttribute attribute) const { return defaults_.primitiveValue(attribute); }
    // Every attribute at its default, the others unset.
    const OverallAppearance& appearance() const { return defaults_; }

private:
    OverallAppearance defaults_;
};

}  // namespace customizer
