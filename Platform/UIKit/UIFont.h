#pragma once
// Fonts: a Core Text font of a name and size. The system fonts are Helvetica and Helvetica-Bold;
// names go through Core Text's mapping table.

#include <memory>
#include <string>
#include <string_view>

#include "CoreText/CTFont.h"
#include "Foundation/NSObject.h"

class UIFont : public NSObject {
public:
    using NSObject::NSObject;
    ~UIFont() override;

    // Null for a size that is not above 0.
    static std::shared_ptr<UIFont> systemFontOfSize(CGFloat size);
    static std::shared_ptr<UIFont> boldSystemFontOfSize(CGFloat size);
    // Null for a name outside the mapping table, or a size that is not above 0.
    static std::shared_ptr<UIFont> fontWithName(std::string_view name, CGFloat size);
    // The same face at another size; null for a size that is not above 0.
    std::shared_ptr<UIFont> fontWithSize(CGFloat size) const;

    std::string fontName() const;
    CGFloat pointSize() const;
    // Above the baseline; below it (negative, as UIKit gives it).
    CGFloat ascender() const;
    CGFloat descender() const;
    // From one baseline to the next: ascender, descent and leading.
    CGFloat lineHeight() const;
    CGFloat capHeight() const;
    CGFloat xHeight() const;

    // Owned by the font: valid while it lives.
    CTFontRef CTFont() const { return font_; }

private:
    bool initWithName(std::string_view name, CGFloat size);

    CTFontRef font_ = nullptr;
};
