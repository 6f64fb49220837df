#include "TesselSDKFoundation/QZValueClass.h"

QZValueClass QZValueClass::classOf(const Value& value)
{
    if (value.isNumber()) return NSNumber();
    if (value.isString()) return NSString();
    if (value.isArray()) return NSArray();
    if (value.isDictionary()) return NSDictionary();
    if (std::shared_ptr<NSObject> object = value.object()) {
        NSObject& instance = *object;
        std::type_index type = typeid(instance);
        return QZValueClass(object->className(), [type](const Value& v) {
            std::shared_ptr<NSObject> candidate = v.object();
            if (!candidate) return false;
            NSObject& other = *candidate;
            return std::type_index(typeid(other)) == type;
        });
    }
    Value::Kind kind = value.kind();
    return QZValueClass("", [kind](const Value& v) { return kind != Value::Kind::Nil && v.kind() == kind; });
}
