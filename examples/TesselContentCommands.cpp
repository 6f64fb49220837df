#include "TesselContentCommands.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/PlatformSettings.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackUpdate.h"
#include "TesselSDK/remote/QZMessage.h"
#include "TesselSDK/remote/QZMessageUpdate.h"
#include "TesselSDK/remote/QZTesselContentManager.h"

namespace tessel_content {

namespace {

// Long enough for every request's own time-out (idle limits of 15 and 60 seconds) to end it first.
constexpr double kWaitLimit = 900;

bool anyThumbnailDownloading()
{
    for (const auto& pack : QZTesselContentManager::sharedManager()->contentPacks())
        if (pack->thumbnailResourceProvider()->isDownloading()) return true;
    return false;
}

}  // namespace

void printInstalledPacks()
{
    std::vector<std::shared_ptr<QZContentPack>> packs;
    for (const auto& pack : QZTesselContentManager::sharedManager()->contentPacks())
        if (!pack->valueForKey("shouldDelete").boolValue()) packs.push_back(pack);
    std::sort(packs.begin(), packs.end(),
              [](const auto& a, const auto& b) { return a->identifier() < b->identifier(); });
    for (const auto& pack : packs) {
        const std::string version = pack->packVersion();
        std::printf("%s %s %d\n", pack->identifier().c_str(), version.empty() ? "-" : version.c_str(),
                    static_cast<int>(pack->highResolutionResourceProvider()->state()));
    }
    std::fflush(stdout);
}

int runUpdate(const Options&, const std::vector<std::string>&)
{
    auto update = QZContentPackUpdate::sharedUpdate();
    const std::uint64_t before = update->lastResult().sequence;
    update->updateContentPacks();
    if (!DispatchRunLoop::runUntil([&] { return update->lastResult().sequence != before; }, kWaitLimit)) {
        std::fprintf(stderr, "tessel_content: the update did not end\n");
        return kExitFailure;
    }
    // The thumbnail downloads the update started end before the packs are listed.
    DispatchRunLoop::runUntil([] { return !anyThumbnailDownloading(); }, kWaitLimit);
    const QZContentUpdateResult result = update->lastResult();
    printInstalledPacks();
    if (result.outcome == QZContentUpdateOutcome::Failed) {
        std::fprintf(stderr, "tessel_content: update failed: %s\n", result.reason.c_str());
        return kExitFailure;
    }
    return kExitSuccess;
}

int runList(const Options&, const std::vector<std::string>&)
{
    printInstalledPacks();
    return kExitSuccess;
}

int runMessages(const Options&, const std::vector<std::string>&)
{
    // The editor's screen scale: the banner stored is the "@2x" file its card loads.
    PlatformSettings::setScreenScale(2);
    auto update = QZMessageUpdate::sharedUpdate();
    const std::uint64_t before = update->lastResult().sequence;
    QZTesselContentManager::sharedManager()->updateMessages();
    if (!DispatchRunLoop::runUntil([&] { return update->lastResult().sequence != before && update->isIdle(); },
                                   kWaitLimit)) {
        std::fprintf(stderr, "tessel_content: the message update did not end\n");
        return kExitFailure;
    }
    const QZMessageUpdateResult result = update->lastResult();
    if (result.outcome == QZMessageUpdateOutcome::Failed || result.outcome == QZMessageUpdateOutcome::Aborted) {
        std::fprintf(stderr, "tessel_content: message update failed: %s\n", result.reason.c_str());
        return kExitFailure;
    }
    if (auto message = QZMessage::messageToDisplay()) std::printf("%s\n", message->identifier().c_str());
    std::fflush(stdout);
    return kExitSuccess;
}

}  // namespace tessel_content
