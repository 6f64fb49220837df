#pragma once
// The class object of the translation records: the base class side with the unique key the
// record class names at registration.

#include <optional>
#include <string>

#include "TesselSDK/remote/QZManagedObjectClass.h"

class QZTranslationRecordClass : public QZManagedObjectClass {
public:
    using QZManagedObjectClass::QZManagedObjectClass;

    // Called once at registration.
    void setUniqueKeyAttribute(std::string attribute) { uniqueKeyAttribute_ = std::move(attribute); }
    std::optional<std::string> uniqueKeyAttribute() const override { return uniqueKeyAttribute_; }

private:
    std::string uniqueKeyAttribute_;
};
