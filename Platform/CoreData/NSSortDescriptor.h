#pragma once
// Orders fetched objects by a key path. Numbers compare by value, strings by their UTF-8 bytes,
// dates by time; nil sorts first (ascending).

#include "Foundation/NSObject.h"

#include <memory>
#include <string>

class NSManagedObject;

class NSSortDescriptor : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<NSSortDescriptor> sortDescriptorWithKey(std::string keyPath, bool ascending);

    const std::string& key() const { return keyPath_; }
    bool ascending() const { return ascending_; }
    // Negative, zero or positive as `a` sorts before, with or after `b`.
    int compareObject(NSManagedObject& a, NSManagedObject& b) const;

private:
    std::string keyPath_;
    bool ascending_ = true;
};
