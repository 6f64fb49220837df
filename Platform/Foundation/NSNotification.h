#pragma once
// One posted notification: its name, the posting object (may be null) and a userInfo value.

#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

#include <memory>
#include <string>

class NSNotification : public NSObject {
public:
    static std::shared_ptr<NSNotification> make(std::string name, std::shared_ptr<NSObject> object, Value userInfo)
    {
        auto n = std::make_shared<NSNotification>();
        n->name_ = std::move(name);
        n->object_ = std::move(object);
        n->userInfo_ = std::move(userInfo);
        return n;
    }

    const std::string& name() const { return name_; }
    const std::shared_ptr<NSObject>& object() const { return object_; }
    const Value& userInfo() const { return userInfo_; }

private:
    std::string name_;
    std::shared_ptr<NSObject> object_;
    Value userInfo_;
};
