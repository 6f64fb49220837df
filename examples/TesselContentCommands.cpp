#include "TesselContentCommands.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Dispatch/DispatchClock.h"
#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/PlatformSettings.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackUpdate.h"
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
