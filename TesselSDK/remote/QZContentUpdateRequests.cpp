#include "TesselSDK/remote/QZContentUpdateRequests.h"

std::shared_ptr<NSOperationQueue> QZContentUpdateRequestQueue()
{
    // DOWNLOAD QUEUE: the asset manager's download queue once it has one.
    static const std::shared_ptr<NSOperationQueue> queue = [] {
        auto made = NSOperationQueue::queue();
        made->setMaxConcurrentOperationCount(3);
        return made;
    }();
    return queue;
}
