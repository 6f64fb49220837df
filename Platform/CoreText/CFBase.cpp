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

CFNumberRef CFNumberCreate(const void*, CFNumberType type, const void* value)
{
    if (!value) return nullptr;
    auto* number = new CFNumber;
    number->value = type == kCFNumberDoubleType ? *static_cast<const double*>(value)
                                                : double(*static_cast<const float*>(value));
    return number;
}

CFNumberRef CFRetain(CFNumberRef number)
{
    if (number) const_cast<CFNumber*>(number)->retain();
    return number;
}

void CFRelease(CFNumberRef number)
{
    if (number) const_cast<CFNumber*>(number)->release();
}

bool CFNumberGetValue(CFNumberRef number, CFNumberType type, void* value)
{
    if (!number || !value) return false;
    if (type == kCFNumberDoubleType)
        *static_cast<double*>(value) = number->value;
    else
        *static_cast<float*>(value) = float(number->value);
    return true;
}
