#include "CoreData/NSSortDescriptor.h"

#include "CoreData/NSManagedObject.h"
#include "CoreData/ValueComparison.h"

std::shared_ptr<NSSortDescriptor> NSSortDescriptor::sortDescriptorWithKey(std::string keyPath, bool ascending)
{
    return NSObject::create<NSSortDescriptor>([&](NSSortDescriptor& d) {
        d.keyPath_ = std::move(keyPath);
        d.ascending_ = ascending;
    });
}

int NSSortDescriptor::compareObject(NSManagedObject& a, NSManagedObject& b) const
{
    Value x = a.valueForKeyPath(keyPath_);
    Value y = b.valueForKeyPath(keyPath_);
    int result;
    if (x.isNil() || y.isNil()) {
        result = x.isNil() == y.isNil() ? 0 : (x.isNil() ? -1 : 1);
    } else if (auto c = storeValuesCompare(x, y)) {
        result = *c;
    } else {
        // Unlike kinds: a fixed order by kind keeps the sort consistent.
        int kx = static_cast<int>(x.kind()), ky = static_cast<int>(y.kind());
        result = kx < ky ? -1 : (kx > ky ? 1 : 0);
    }
    return ascending_ ? result : -result;
}
