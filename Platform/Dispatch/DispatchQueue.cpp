#include "Dispatch/DispatchQueue.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
thread_local std::vector<const DispatchQueue*> runningQueues;
}

bool DispatchQueue::isCurrent() const
{
    return std::find(runningQueues.begin(), runningQueues.end(), this) != runningQueues.end();
}

std::vector<const DispatchQueue*> DispatchQueue::currentQueues()
{
    return runningQueues;
}

DispatchQueue::CurrentScope::CurrentScope(const DispatchQueue* q)
{
    runningQueues.push_back(q);
}
DispatchQueue::CurrentScope::~CurrentScope()
{
    runningQueues.pop_back();
}

void DispatchQueue::checkNotCurrentForSync() const
{
    if (isCurrent()) {
        std::fprintf(stderr, "dispatch_sync called on queue \"%s\" already owned by the current thread\n",
                     label_.c_str());
        std::abort();
    }
}
