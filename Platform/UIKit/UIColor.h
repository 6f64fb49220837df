#pragma once
// Colours that keep their colour space: grey (white level and alpha), RGB, or a pattern image.
// The platform's named white, black, clear and greys are grey colours; the others are RGB.

#include <memory>
#include <string>

#include "CoreGraphics/CGColor.h"
#include "Foundation/NSObject.h"

class UIImage;

class UIColor : public NSObject {
public:
    using NSObject::NSObject;
    ~UIColor() override;

    static std::shared_ptr<UIColor> colorWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
    static std::shared_ptr<UIColor> colorWithWhite(CGFloat white, CGFloat alpha);
    // Null for a null colour.
    static std::shared_ptr<UIColor> colorWithCGColor(CGColorRef color);
    // Fills repeat the image from the origin of the context's default space; null for no image.
    static std::shared_ptr<UIColor> colorWithPatternImage(std::shared_ptr<UIImage> image);

    static std::shared_ptr<UIColor> blackColor();
    static std::shared_ptr<UIColor> darkGrayColor();
    static std::shared_ptr<UIColor> lightGrayColor();
    static std::shared_ptr<UIColor> whiteColor();
    static std::shared_ptr<UIColor> grayColor();
    static std::shared_ptr<UIColor> clearColor();
    static std::shared_ptr<UIColor> redColor();
    static std::shared_ptr<UIColor> greenColor();
    static std::shared_ptr<UIColor> blueColor();
    static std::shared_ptr<UIColor> cyanColor();
    static std::shared_ptr<UIColor> yellowColor();
    static std::shared_ptr<UIColor> magentaColor();
    static std::shared_ptr<UIColor> orangeColor();
    static std::shared_ptr<UIColor> purpleColor();
    static std::shared_ptr<UIColor> brownColor();

    // The same colour space and components with another alpha.
    std::shared_ptr<UIColor> colorWithAlphaComponent(CGFloat alpha) const;
    // Owned by the colour: valid while it lives.
    CGColorRef CGColor() const { return color_; }
    // RGB and grey colours answer their RGB (grey spread to all three); patterns answer false.
    bool getRed(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) const;
    // Grey colours only.
    bool getWhite(CGFloat* white, CGFloat* alpha) const;

    // Make this the fill and stroke colour (`set`), or one of them, of the current context.
    void set() const;
    void setFill() const;
    void setStroke() const;

    // Same colour space and components; a pattern colour equals only itself.
    bool isEqual(const NSObject& other) const override;
    std::size_t hash() const override;
    std::string description() const override;

private:
    friend class UIColorFactory;
    void initWithAdoptedColor(CGColorRef color, std::shared_ptr<UIImage> patternImage);

    CGColorRef color_ = nullptr;
    std::shared_ptr<UIImage> patternImage_;  // keeps the pattern's image alive
};
