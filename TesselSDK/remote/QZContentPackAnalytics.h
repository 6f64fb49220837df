#pragma once
// The analytics records of packs and items: plain managed objects, outside the JSON mapping (a
// pack document's "analytics" key is refused by the mapping, never followed). A pack's counters
// start at 0; the pack screens raise them.

#include <memory>

#include "CoreData/NSManagedObject.h"

class QZContentPackAnalytics : public NSManagedObject {
public:
    using NSManagedObject::NSManagedObject;
};

class QZContentPackItemAnalytics : public NSManagedObject {
public:
    using NSManagedObject::NSManagedObject;
    void setPackItem(const std::shared_ptr<NSManagedObject>& item) { setValueForKey(Value(item), "packItem"); }
};
