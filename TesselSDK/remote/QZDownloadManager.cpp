#include "TesselSDK/remote/QZDownloadManager.h"

#include "Foundation/NSNotificationCenter.h"
#include "TesselSDK/remote/QZDownloadOperation.h"

namespace {

std::mutex sharedMutex;
std::shared_ptr<QZDownloadManager> sharedInstance;

}  // namespace

std::shared_ptr<QZDownloadManager> QZDownloadManager::sharedManager()
{
    std::lock_guard lock(sharedMutex);
    if (!sharedInstance) sharedInstance = NSObject::create<QZDownloadManager>(&QZDownloadManager::init);
    return sharedInstance;
}

void QZDownloadManager::unload()
{
    std::lock_guard lock(sharedMutex);
    sharedInstance.reset();
}

void QZDownloadManager::init()
{
    operationQueue_ = NSOperationQueue::queue();
}

void QZDownloadManager::startDownload(const std::shared_ptr<QZDownload>& download, Value userInfo)
{
    auto operation = QZDownloadOperation::make(download->request(), download->destinationPath());
    // The blocks hold the manager: an unloaded manager still ends what it started.
    std::shared_ptr<QZDownloadManager> manager = self<QZDownloadManager>();
    operation->setSuccessBlock([manager, download, userInfo](QZDownloadOperation&) {
        NSNotificationCenter::defaultCenter()->postNotificationName(QZDownloadManagerDownloadFinishedNotification,
                                                                    download, userInfo);
        manager->forget(download);
    });
    operation->setFailureBlock([manager, download, userInfo](QZDownloadOperation&, const std::shared_ptr<NSError>&) {
        NSNotificationCenter::defaultCenter()->postNotificationName(QZDownloadManagerDownloadFailedNotification,
                                                                    download, userInfo);
        manager->forget(download);
    });
    {
        std::lock_guard lock(mutex_);
        activeDownloads_.insert(download);
    }
    operationQueue_->addOperation(operation);
}

void QZDownloadManager::forget(const std::shared_ptr<QZDownload>& download)
{
    std::lock_guard lock(mutex_);
    activeDownloads_.erase(download);
}

std::shared_ptr<QZDownload> QZDownloadManager::activeDownloadWithIdentifier(const std::string& uniqueIdentifier) const
{
    std::lock_guard lock(mutex_);
    for (const auto& download : activeDownloads_)
        if (download->uniqueIdentifier() == uniqueIdentifier) return download;
    return nullptr;
}
