// Must not compile: no code but NSObject can make the key every constructor takes, so an object
// cannot be made outside NSObject::create (where self() would throw). A test compiles this file
// and expects the compiler to refuse it.
#include "Foundation/NSObject.h"

class Loose : public NSObject {
public:
    Loose() : NSObject(NSObject::Key()) {}
};

int main()
{
    Loose loose;
    return 0;
}
