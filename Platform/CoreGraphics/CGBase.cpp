#include "CoreGraphics/CGBase.h"

// Images and colours travel between the queues, so counts change from several threads.
void CGObject::retain() { refs_.fetch_add(1, std::memory_order_relaxed); }

void CGObject::release()
{
    if (refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
}
