#include "CoreText/CFBase.h"

#include "CTInternal.h"

namespace {

CFBoolean* makeBoolean(bool value)
{
    auto* b = new CFBoolean;
    b->value = value;
    return b;
}

}  // namespace

// Never released: like the platform's, they live as long as the process.
const CFBooleanRef kCFBooleanTrue = makeBoolean(true);
const CFBooleanRef kCFBooleanFalse = makeBoolean(false);

bool CFBooleanGetValue(CFBooleanRef boolean)
{
    return boolean && boolean->value;
}
