#include "TesselSDK/remote/QZMessageText.h"

#include <cstdio>

#include "Foundation/NSLog.h"
#include "TesselSDK/remote/QZMessageConversions.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIGeometry.h"

namespace {

class QZMessageTextClass : public QZManagedObjectClass {
public:
    using QZManagedObjectClass::QZManagedObjectClass;
    std::optional<std::string> uniqueKeyAttribute() const override { return std::nullopt; }
};

}  // namespace

std::shared_ptr<UIColor> QZMessageText::textColor()
{
    return valueForKey("textColor").object<UIColor>();
}

std::shared_ptr<UIColor> QZMessageText::textShadowColor()
{
    return valueForKey("textShadowColor").object<UIColor>();
}

CGSize QZMessageText::shadowOffset()
{
    const std::string stored = valueForKey("shadowOffset").stringValue();
    double width = 0, height = 0;
    if (std::sscanf(stored.c_str(), "{%lf, %lf}", &width, &height) != 2) return CGSizeMake(0, 1);
    return CGSizeMake(static_cast<CGFloat>(width), static_cast<CGFloat>(height));
}

void QZMessageText::setShadowOffset(CGSize offset)
{
    setValueForKey(NSStringFromCGSize(offset), "shadowOffset");
}

void QZMessageText::updateAttribute(const NSAttributeDescription& attribute, const Value& value)
{
    if (attribute.name() == "shadowOffset") {
        if (std::optional<CGSize> size = QZSizeFromDictionary(value)) {
            setShadowOffset(*size);
        } else {
            NSLog("%s %@", "-[QZMessageText updateAttribute:withValue:]", "Expected a dictionary for shadowOffset");
        }
        return;
    }
    if (attribute.attributeValueClassName() == "UIColor") {
        if (auto colour = QZColorFromDictionary(value)) {
            setValueForKey(Value(colour), attribute.name());
        } else {
            NSLog("%s %@", "-[QZMessageText updateAttribute:withValue:]",
                  NSStringWithFormat("Expected a dictionary for %@", attribute.name()));
        }
        return;
    }
    QZManagedObject::updateAttribute(attribute, value);
}

void QZMessageText::registerClass()
{
    QZManagedObjectClass::registerRecordClass<QZMessageText, QZMessageTextClass>("QZMessageText", "MessageText");
}
