#include "QuartzCore/CABase.h"

#include "Dispatch/DispatchClock.h"

CFTimeInterval CACurrentMediaTime()
{
    return DispatchClock::nowSeconds();
}
