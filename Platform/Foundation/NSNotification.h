#pragma once
// One posted notification: its name, the posting object (may be null) and a userInfo value.

#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

#include <memory>
#include <string>

class NSNotification : public NSObject {
public:
    using NSObject::NSObject;

    static std::shared_ptr<NSNotification> make(std::string name, std::shared_ptr<NSObject> object, Value userInfo)
    {
        return NSObject::create<NSNotification>(&NSNotification::initWithName, std::move(name), std::move(object),
                                                 std::move(userInfo));
    }

    const std::string& name() const { return name_; }
    const std::shared_ptr<NSObject>& object() const { return object_; }
    const Value& userInfo() const { return userInfo_; }

private:
    void initWithName(std::string name, std::shared_ptr<NSObject> object, Value userInfo)
    {
        name_ = std::move(name);
        object_ = std::move(object);
        userInfo_ = std::move(userInfo);
    }

    std::string name_;
    std::shared_ptr<NSObject> object_;
    Value userInfo_;
};
