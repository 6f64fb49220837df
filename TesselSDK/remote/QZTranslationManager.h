#pragma once
// What an English pack text reads in the user's language. The editor's own string tables answer
// first; the translations the content service sends arrive with the translation store, until
// then a text without a table entry reads as itself.

#include <memory>
#include <string>

#include "Foundation/NSObject.h"

class QZTranslationManager : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<QZTranslationManager> sharedManager();

    // The key on an English device; else the editor's translation when it has one; else the key.
    std::string translationForKey(const std::string& key) const;
};
