#include "CoreData/NSAttributeDescription.h"

std::shared_ptr<NSAttributeDescription> NSAttributeDescription::attribute(std::string name, NSAttributeType type)
{
    return NSObject::create<NSAttributeDescription>([&](NSAttributeDescription& a) {
        a.name_ = std::move(name);
        a.type_ = type;
    });
}

std::shared_ptr<NSAttributeDescription>
NSAttributeDescription::transformable(std::string name, std::shared_ptr<NSValueTransformer> transformer,
                                      std::string valueClassName)
{
    auto a = attribute(std::move(name), NSAttributeType::Transformable);
    a->transformer_ = std::move(transformer);
    a->valueClassName_ = std::move(valueClassName);
    return a;
}

std::string NSAttributeDescription::attributeValueClassName() const
{
    switch (type_) {
    case NSAttributeType::String: return "NSString";
    case NSAttributeType::Integer64:
    case NSAttributeType::Double:
    case NSAttributeType::Boolean: return "NSNumber";
    case NSAttributeType::Date: return "NSDate";
    case NSAttributeType::BinaryData: return "NSData";
    case NSAttributeType::Transformable: return valueClassName_;
    }
    return {};
}
