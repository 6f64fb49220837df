#pragma once
// Runs QZDownloads through download operations on a queue of its own and posts
// "QZDownloadManager_DownloadFinished" or "QZDownloadManager_DownloadFailed" (the download as
// object, the userInfo given at the start) when each ends, then forgets it. Any thread.

#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "Foundation/NSObject.h"
#include "Foundation/NSOperationQueue.h"
#include "Foundation/Value.h"
#include "TesselSDK/remote/QZDownload.h"

inline constexpr const char* QZDownloadManagerDownloadFinishedNotification = "QZDownloadManager_DownloadFinished";
inline constexpr const char* QZDownloadManagerDownloadFailedNotification = "QZDownloadManager_DownloadFailed";

class QZDownloadManager : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<QZDownloadManager> sharedManager();
    // Drops the shared instance; the next sharedManager makes a new one. Running downloads go on.
    static void unload();

    void startDownload(const std::shared_ptr<QZDownload>& download, Value userInfo);
    std::shared_ptr<QZDownload> activeDownloadWithIdentifier(const std::string& uniqueIdentifier) const;

    const std::shared_ptr<NSOperationQueue>& operationQueue() const { return operationQueue_; }

private:
    void init();
    void forget(const std::shared_ptr<QZDownload>& download);

    std::shared_ptr<NSOperationQueue> operationQueue_;
    mutable std::mutex mutex_;  // activeDownloads_
    std::set<std::shared_ptr<QZDownload>> activeDownloads_;
};
