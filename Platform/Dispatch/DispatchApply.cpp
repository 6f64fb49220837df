#include "Dispatch/DispatchApply.h"

#include "Dispatch/DispatchGlobalQueue.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// Shared by the caller and the helpers; a helper that starts after the last index was taken
// finds nothing to do, so the block is never called once dispatch_apply has returned.
struct Applying {
    Applying(std::size_t count, const std::function<void(std::size_t)>& work) : iterations(count), block(&work) {}

    // Takes indices until none is left.
    void run()
    {
        for (std::size_t index = next.fetch_add(1); index < iterations; index = next.fetch_add(1)) {
            (*block)(index);
            std::lock_guard lock(mutex);
            if (++finished == iterations) allDone.notify_all();
        }
    }

    void waitForAll()
    {
        std::unique_lock lock(mutex);
        allDone.wait(lock, [this] { return finished == iterations; });
    }

    const std::size_t iterations;
    const std::function<void(std::size_t)>* block;
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::condition_variable allDone;
    std::size_t finished = 0;  // guarded by mutex
};

}  // namespace

void dispatch_apply(std::size_t iterations, const dispatch_queue_t& queue, const std::function<void(std::size_t)>& block)
{
    if (!queue || !block || iterations == 0) return;
    if (!std::dynamic_pointer_cast<DispatchGlobalQueue>(queue)) {
        queue->sync([&] {
            for (std::size_t index = 0; index < iterations; ++index) block(index);
        });
        return;
    }
    auto applying = std::make_shared<Applying>(iterations, block);
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t helpers = std::min(iterations, cores) - 1;
    for (std::size_t i = 0; i < helpers; ++i) queue->async([applying] { applying->run(); });
    applying->run();
    applying->waitForAll();
}
