#include "QuartzCore/CATransaction.h"

#include <vector>

namespace {

std::vector<bool>& stack()
{
    thread_local std::vector<bool> s;  // the disable flag of each open transaction
    return s;
}

}  // namespace

void CATransaction::begin()
{
    stack().push_back(disableActions());
}

void CATransaction::commit()
{
    if (!stack().empty()) stack().pop_back();
}

bool CATransaction::disableActions()
{
    return !stack().empty() && stack().back();
}

void CATransaction::setDisableActions(bool disable)
{
    if (stack().empty()) return;  // outside a transaction there is nothing to hold the flag
    stack().back() = disable;
}

int CATransaction::depth()
{
    return static_cast<int>(stack().size());
}
