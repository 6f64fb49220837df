#include "TesselContentCommands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "Dispatch/DispatchClock.h"
#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/PlatformSettings.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackResourceProvider.h"
#include "TesselSDK/remote/QZContentPackUpdate.h"
#include "TesselSDK/remote/QZDownloadOperation.h"
#include "TesselSDK/remote/QZMessage.h"
#include "TesselSDK/remote/QZMessageUpdate.h"
#include "TesselSDK/remote/QZAtomicFile.h"
#include "TesselSDK/remote/QZMessageView.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIImage.h"
#include "UIKit/UIWindow.h"
#include "TesselSDK/remote/QZTesselContentManager.h"

namespace tessel_content {

namespace {

// Long enough for every request's own limits to end it first (a thumbnail archive may take up to
// 1800 s in all, documents 300 s).
constexpr double kWaitLimit = 1900;

// The thumbnail downloads running now; the update starts its own before it ends.
std::vector<std::shared_ptr<QZContentPackResourceProvider>> thumbnailDownloads()
{
    std::vector<std::shared_ptr<QZContentPackResourceProvider>> downloading;
    for (const auto& pack : QZTesselContentManager::sharedManager()->contentPacks())
        if (pack->thumbnailResourceProvider()->isDownloading())
            downloading.push_back(pack->thumbnailResourceProvider());
    return downloading;
}

// Whether any of them still runs, dropping those that ended: a few checks per pumped event,
// however many packs there are.
bool anyStillDownloading(std::vector<std::shared_ptr<QZContentPackResourceProvider>>& downloads)
{
    while (!downloads.empty() && !downloads.back()->isDownloading()) downloads.pop_back();
    return !downloads.empty();
}

// "2027-01-15 08:20:00 UTC"
std::string utcDate(double secondsSince1970)
{
    const std::time_t seconds = static_cast<std::time_t>(secondsSince1970);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &parts);
    return text;
}

// Thumbnails do not decide an update (the pack screens ask for them again), but a person running
// one hears of each that failed.
std::shared_ptr<NSObject> warnOfFailedThumbnails()
{
    return NSNotificationCenter::defaultCenter()->addObserverForName(
        kQZResourceProviderDidFail, nullptr, [](const std::shared_ptr<NSNotification>& notification) {
            auto provider = std::dynamic_pointer_cast<QZContentPackResourceProvider>(notification->object());
            if (!provider || provider->resourceProviderType() != QZContentPackResourceProviderTypeThumbnail) return;
            std::fprintf(stderr, "tessel_content: warning: the thumbnails of %s were not downloaded: %s\n",
                         provider->contentPackIdentifier().c_str(),
                         describeDownloadError(provider->lastDownloadError()).c_str());
        });
}

}  // namespace

std::string describeDownloadError(const std::shared_ptr<NSError>& error)
{
    if (!error) return "unknown error";
    if (error->domain() == kQZDownloadValidationErrorDomain)
        return "the archive is incomplete or damaged (no \"status\": \"OK\", a bad entry, or too large)";
    return error->localizedDescription();
}

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
    std::shared_ptr<NSObject> thumbnailWarnings = warnOfFailedThumbnails();
    update->updateContentPacks();
    if (!DispatchRunLoop::runUntil([&] { return update->lastResult().sequence != before; }, kWaitLimit)) {
        std::fprintf(stderr, "tessel_content: the update did not end\n");
        return kExitFailure;
    }
    // The thumbnail downloads the update started end before the packs are listed; the failure
    // notices of the last ones are queued behind their ends.
    std::vector<std::shared_ptr<QZContentPackResourceProvider>> downloads = thumbnailDownloads();
    DispatchRunLoop::runUntil([&] { return !anyStillDownloading(downloads); }, kWaitLimit);
    DispatchRunLoop::drain();
    NSNotificationCenter::defaultCenter()->removeObserver(thumbnailWarnings);
    const QZContentUpdateResult result = update->lastResult();
    if (result.outcome == QZContentUpdateOutcome::HeldBack) {
        const double now = DispatchClock::secondsSince1970();
        std::fprintf(stderr,
                     "tessel_content: the last update was %.0f s ago and updates are %.0f s apart: nothing was "
                     "asked; the next is due at %s (in %.0f s)\n",
                     now - result.lastUpdate, kQZContentUpdateSpacing, utcDate(result.nextUpdateDue).c_str(),
                     std::ceil(result.nextUpdateDue - now));
    }
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

namespace {

// The card presented in a phone window after its entrance, as a PNG at `path` (written whole).
bool writeCard(const std::shared_ptr<QZMessage>& message, const std::string& path)
{
    auto card = QZMessageView::messageViewWithMessage(message);
    if (!card) {
        std::fprintf(stderr, "tessel_content: no card can be made for message %s\n", message->identifier().c_str());
        return false;
    }
    auto window = UIWindow::window();
    window->setBackgroundColor(UIColor::colorWithWhite(0.5f, 1));
    window->makeKeyAndVisible();
    card->presentInView(window);
    const double start = DispatchClock::nowSeconds();
    DispatchRunLoop::runUntil([&] { return DispatchClock::nowSeconds() - start > 0.3; }, 5);
    auto image = UIViewSnapshot(*window);
    auto bytes = image ? UIImagePNGRepresentation(image) : std::nullopt;
    std::string reason = "the card could not be drawn";
    if (!bytes || !QZWriteFileAtomically(path, *bytes, &reason)) {
        std::fprintf(stderr, "tessel_content: cannot write %s: %s\n", path.c_str(), reason.c_str());
        return false;
    }
    return true;
}

}  // namespace

int runMessages(const Options&, const std::vector<std::string>& arguments)
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
    auto message = QZMessage::messageToDisplay();
    if (message) std::printf("%s\n", message->identifier().c_str());
    std::fflush(stdout);
    if (message && arguments.size() == 2 && !writeCard(message, arguments[1])) return kExitFailure;
    return kExitSuccess;
}

}  // namespace tessel_content
