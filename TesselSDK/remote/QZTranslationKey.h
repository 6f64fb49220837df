#pragma once
// An English pack text as the content service sends it, with its translations. Its class object
// matches records by "value".

#include <memory>
#include <string>

#include "TesselSDK/remote/QZManagedObject.h"

class QZTranslationKey : public QZManagedObject {
public:
    using QZManagedObject::QZManagedObject;

    std::string value() { return valueForKey("value").stringValue(); }

    // Registers the record class "QZTranslationKey" (entity "TranslationKey").
    static void registerClass();
};
