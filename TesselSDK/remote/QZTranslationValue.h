#pragma once
// One translation of an English text. Its class object matches records by "language": a key
// holds one translation per language, and equal texts of two keys or two languages stay apart.

#include <memory>
#include <string>

#include "TesselSDK/remote/QZManagedObject.h"

class QZTranslationValue : public QZManagedObject {
public:
    using QZManagedObject::QZManagedObject;

    std::string value() { return valueForKey("value").stringValue(); }
    std::string language() { return valueForKey("language").stringValue(); }

    // Registers the record class "QZTranslationValue" (entity "TranslationValue").
    static void registerClass();
};
