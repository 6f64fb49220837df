#include "TesselSDKFoundation/QZCountFromQuotient.h"

NSInteger QZCountFromQuotient(CGFloat quotient, NSInteger limit)
{
    if (!(quotient > 0)) return 0;
    if (quotient >= CGFloat(limit)) return limit;
    return NSInteger(quotient);
}
