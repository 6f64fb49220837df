#include "TesselSDKImaging/QZAppBackgroundStateManager.h"

#include "TesselSDKImaging/QZOpenGLManager.h"

#include "Foundation/NSNotificationCenter.h"
#include "GLES/EAGLContext.h"
#include "UIKit/UIApplication.h"

#include <GLES2/gl2.h>
#include <unistd.h>

#include <atomic>

namespace {

// The pause flags are single bytes shared with the GL thread: every access is an atomic load or
// store, and no lock is taken.
bool load(bool& flag)
{
    return std::atomic_ref<bool>(flag).load();
}

void store(bool& flag, bool value)
{
    std::atomic_ref<bool>(flag).store(value);
}

// At most about 0.3 s for running GL work to reach a pause point.
constexpr int kMaximumWaits = 10000;
constexpr useconds_t kWaitMicroseconds = 30;

void applicationDidEnterBackground()
{
    std::shared_ptr<QZOpenGLManager> manager = QZOpenGLManager::existingOpenGLManager();
    if (!manager) return;
    manager->withGLData([](QopGLData_t* record) {
        if (!record) return;
        store(record->shouldPauseGLRendering, true);
        for (int waits = 0;
             load(record->isMakingGLCalls) && !load(record->hasPausedGLRendering) && waits < kMaximumWaits; ++waits)
            usleep(kWaitMicroseconds);
        // The context is current on the GL thread, whose passes end with glFinish before their
        // pause point; a GL call here without a current context would be undefined.
        if (EAGLContext::currentContext()) glFinish();
    });
}

void applicationWillEnterForeground()
{
    std::shared_ptr<QZOpenGLManager> manager = QZOpenGLManager::existingOpenGLManager();
    if (!manager) return;
    manager->withGLData([](QopGLData_t* record) {
        if (record) store(record->shouldPauseGLRendering, false);
    });
}

}  // namespace

std::shared_ptr<QZAppBackgroundStateManager> QZAppBackgroundStateManager::make()
{
    return NSObject::create<QZAppBackgroundStateManager>(&QZAppBackgroundStateManager::init);
}

QZAppBackgroundStateManager::~QZAppBackgroundStateManager()
{
    std::shared_ptr<NSNotificationCenter> center = NSNotificationCenter::defaultCenter();
    if (willResignActiveObserver_) center->removeObserver(willResignActiveObserver_);
    if (willEnterForegroundObserver_) center->removeObserver(willEnterForegroundObserver_);
}

void QZAppBackgroundStateManager::registerForAppLevelNotifications()
{
    std::shared_ptr<NSNotificationCenter> center = NSNotificationCenter::defaultCenter();
    // Registering again replaces the registrations rather than doubling them.
    if (willResignActiveObserver_) center->removeObserver(willResignActiveObserver_);
    if (willEnterForegroundObserver_) center->removeObserver(willEnterForegroundObserver_);
    willResignActiveObserver_ = center->addObserverForName(UIApplicationDidEnterBackgroundNotification, nullptr,
                                                           [](const auto&) { applicationDidEnterBackground(); });
    willEnterForegroundObserver_ = center->addObserverForName(UIApplicationWillEnterForegroundNotification, nullptr,
                                                              [](const auto&) { applicationWillEnterForeground(); });
}
