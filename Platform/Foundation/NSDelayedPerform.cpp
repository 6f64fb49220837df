#include "Foundation/NSDelayedPerform.h"

#include "Dispatch/Dispatch.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

namespace {

struct Request {
    std::function<void()> call;  // holds the target
};

struct Pending {
    std::mutex mutex;
    std::multimap<const void*, std::shared_ptr<Request>> byTarget;
};

Pending& pending()
{
    static auto* p = new Pending;  // lives as long as the process, like the main queue
    return *p;
}

void perform(const void* key, const std::shared_ptr<Request>& request)
{
    std::function<void()> call;
    {
        auto& p = pending();
        std::lock_guard lock(p.mutex);
        auto [first, last] = p.byTarget.equal_range(key);
        for (auto it = first; it != last; ++it) {
            if (it->second != request) continue;
            call = std::move(request->call);
            p.byTarget.erase(it);
            break;
        }
    }
    if (call) call();  // absent: cancelled
}

}  // namespace

void NSDelayedPerform::schedule(const void* key, std::function<void()> call, NSTimeInterval delay)
{
    auto request = std::make_shared<Request>(Request{std::move(call)});
    {
        auto& p = pending();
        std::lock_guard lock(p.mutex);
        p.byTarget.emplace(key, request);
    }
    auto nanoseconds = static_cast<std::int64_t>(std::max(0.0, delay) * NSEC_PER_SEC + 0.5);
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, nanoseconds), dispatch_get_main_queue(),
                   [key, request] { perform(key, request); });
}

void NSDelayedPerform::cancel(const void* key)
{
    std::vector<std::function<void()>> cancelled;  // targets are let go outside the lock
    auto& p = pending();
    {
        std::lock_guard lock(p.mutex);
        auto [first, last] = p.byTarget.equal_range(key);
        for (auto it = first; it != last; ++it) cancelled.push_back(std::move(it->second->call));
        p.byTarget.erase(first, last);
    }
}
