#pragma once
// What attributes and relationships share: a name, whether nil is allowed, and the entity that
// declares them.

#include "Foundation/NSObject.h"

#include <memory>
#include <string>

class NSEntityDescription;

class NSPropertyDescription : public NSObject {
public:
    using NSObject::NSObject;

    const std::string& name() const { return name_; }
    bool isOptional() const { return optional_; }
    void setOptional(bool optional) { optional_ = optional; }
    std::shared_ptr<NSEntityDescription> entity() const { return entity_.lock(); }

protected:
    friend class NSEntityDescription;
    std::string name_;
    bool optional_ = true;
    std::weak_ptr<NSEntityDescription> entity_;
};
