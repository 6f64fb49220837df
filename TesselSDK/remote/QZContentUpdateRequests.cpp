#include "TesselSDK/remote/QZContentUpdateRequests.h"

#include "TesselSDK/remote/QZAssetManager.h"

std::shared_ptr<NSOperationQueue> QZContentUpdateRequestQueue()
{
    return QZAssetManager::sharedManager()->downloadQueue();
}
