#include "TesselContentCommands.h"

#include <cstdio>
#include <memory>

#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/NSNotificationCenter.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZTesselContentManager.h"

namespace tessel_content {

namespace {

constexpr double kWaitLimit = 900;

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
    bool failed = false;
    int printedPercent = -1;
    auto center = NSNotificationCenter::defaultCenter();
    auto progressObserver = center->addObserverForName(
        QZTesselContentManagerResourcesUpdatedNotification, provider, [&](const std::shared_ptr<NSNotification>&) {
            const float progress = provider->downloadProgress();
            if (progress <= 0) return;
            const int percent = static_cast<int>(progress * 100);
            for (int shown = printedPercent + 1; shown <= percent && shown <= 100; ++shown)
                std::fprintf(stderr, "%s %d%%\n", identifier.c_str(), shown);
            printedPercent = std::max(printedPercent, percent);
        });
    auto failureObserver = center->addObserverForName("kQZResourceProviderDidFail", provider,
                                                      [&](const std::shared_ptr<NSNotification>&) { failed = true; });
    provider->downloadResources();
    DispatchRunLoop::runUntil([&] { return !provider->isDownloading(); }, kWaitLimit);
    center->removeObserver(progressObserver);
    center->removeObserver(failureObserver);
    if (failed) {
        std::fprintf(stderr, "tessel_content: the download of %s failed\n", identifier.c_str());
        return kExitFailure;
    }
    const std::string version = pack->packVersion();
    std::printf("%s %s %d\n", identifier.c_str(), version.empty() ? "-" : version.c_str(),
                static_cast<int>(provider->state()));
    return kExitSuccess;
}

}  // namespace tessel_content
