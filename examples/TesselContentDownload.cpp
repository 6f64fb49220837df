#include "TesselContentCommands.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/NSNotificationCenter.h"
#include "TesselSDK/remote/QZAssetManager.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZDownloadOperation.h"
#include "TesselSDK/remote/QZTesselContentManager.h"

namespace tessel_content {

namespace {

// Long enough for the request's own limits (idle 60 s, 1800 s in all) to end a stalled or
// trickling download first.
constexpr double kWaitLimit = 1900;

// "ID NN%" at each whole percent reached, or "ID size unknown" once.
class ProgressLines {
public:
    explicit ProgressLines(std::string identifier) : identifier_(std::move(identifier)) {}

    void report(float fraction)
    {
        if (fraction < 0) {
            sizeUnknown();
            return;
        }
        const int percent = std::min(100, static_cast<int>(fraction * 100));
        for (int shown = printed_ + 1; shown <= percent; ++shown)
            std::fprintf(stderr, "%s %d%%\n", identifier_.c_str(), shown);
        printed_ = std::max(printed_, percent);
    }
    void sizeUnknown()
    {
        if (printed_ >= 0 || unknownPrinted_) return;
        std::fprintf(stderr, "%s size unknown\n", identifier_.c_str());
        unknownPrinted_ = true;
    }
    bool reportedAny() const { return printed_ >= 0 || unknownPrinted_; }

private:
    std::string identifier_;
    int printed_ = -1;
    bool unknownPrinted_ = false;
};

// An archive not installed yet: the provider downloads it; its notifications tell the progress.
// A failure leaves its cause in `cause`.
bool downloadThroughProvider(const std::shared_ptr<QZContentPackResourceProvider>& provider, ProgressLines& lines,
                             std::string* cause)
{
    bool failed = false;
    auto center = NSNotificationCenter::defaultCenter();
    auto updates = center->addObserverForName(QZTesselContentManagerResourcesUpdatedNotification, provider,
                                              [&](const std::shared_ptr<NSNotification>&) {
                                                  if (provider->downloadProgress() > 0)
                                                      lines.report(provider->downloadProgress());
                                              });
    auto failures =
        center->addObserverForName(kQZResourceProviderDidFail, provider, [&](const std::shared_ptr<NSNotification>&) {
            failed = true;
            *cause = describeDownloadError(provider->lastDownloadError());
        });
    provider->downloadResources();
    // The reset reports come after the download ends: wait for the state to leave 2.
    DispatchRunLoop::runUntil([&] { return provider->state() != QZContentPackResourceProviderStateDownloading; },
                              kWaitLimit);
    DispatchRunLoop::runUntil([] { return false; }, 0.05);
    center->removeObserver(updates);
    center->removeObserver(failures);
    // The provider reports no progress for a body of unknown length.
    if (!failed && !lines.reportedAny()) lines.sizeUnknown();
    if (failed) return false;
    if (provider->state() == QZContentPackResourceProviderStateDownloaded) return true;
    *cause = "the download did not end";
    return false;
}

// An installed archive: downloaded again by the provider's own operation, to the same place, with
// the same validation, so a failure leaves the installed file as it was.
bool downloadAgain(const std::shared_ptr<QZContentPackResourceProvider>& provider, ProgressLines& lines,
                   std::string* cause)
{
    const std::optional<std::string> path = provider->archivePath();
    if (!path) {
        *cause = "the pack's identifier forms no file name";
        return false;
    }
    auto operation = QZContentPackResourceProvider::makeArchiveDownloadOperation(provider->remoteURL(), *path);
    bool ended = false;
    bool succeeded = false;
    operation->setProgressBlock([&](QZDownloadOperation&, float fraction) { lines.report(fraction); });
    operation->setSuccessBlock([&](QZDownloadOperation&) { succeeded = ended = true; });
    operation->setFailureBlock([&](QZDownloadOperation&, const std::shared_ptr<NSError>& error) {
        *cause = describeDownloadError(error);
        ended = true;
    });
    QZAssetManager::sharedManager()->startDownload(operation);
    if (!DispatchRunLoop::runUntil([&] { return ended; }, kWaitLimit)) *cause = "the download did not end";
    return succeeded;
}

}  // namespace

int runDownload(const Options&, const std::vector<std::string>& arguments)
{
    const std::string& identifier = arguments.at(0);
    auto pack = QZTesselContentManager::sharedManager()->packWithIdentifier(identifier);
    if (!pack || pack->valueForKey("shouldDelete").boolValue()) {
        std::fprintf(stderr, "tessel_content: no pack %s is installed\n", identifier.c_str());
        return kExitFailure;
    }
    auto provider = pack->highResolutionResourceProvider();
    ProgressLines lines(identifier);
    const bool installed = provider->state() == QZContentPackResourceProviderStateDownloaded;
    std::string cause;
    if (!(installed ? downloadAgain(provider, lines, &cause) : downloadThroughProvider(provider, lines, &cause))) {
        std::fprintf(stderr, "tessel_content: the download of %s failed: %s\n", identifier.c_str(), cause.c_str());
        return kExitFailure;
    }
    const std::string version = pack->packVersion();
    std::printf("%s %s %d\n", identifier.c_str(), version.empty() ? "-" : version.c_str(),
                static_cast<int>(provider->state()));
    return kExitSuccess;
}

}  // namespace tessel_content
