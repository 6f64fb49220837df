#pragma once
// Keeps GL work out of the background. On entering the background it asks the shared record's
// running GL work to stop at its next pause point and waits (at most about 0.3 s) until it has;
// on returning to the foreground it lifts the request. Created by the GL manager's set-up and kept
// until its tear-down.
//
// The observers run on the posting thread (the main thread) and take no lock of the GL manager: a
// release elsewhere holds that lock while this object is destroyed, and removing an observer waits
// for a call of it that is running. A notification never starts a GL set-up.

#include "Foundation/NSObject.h"

#include <memory>

class QZAppBackgroundStateManager : public NSObject {
public:
    using NSObject::NSObject;
    // init: registers for the two application notifications.
    static std::shared_ptr<QZAppBackgroundStateManager> make();
    // Removes both observers from the default center.
    ~QZAppBackgroundStateManager() override;

    // Adds the did-enter-background and will-enter-foreground block observers (any sender,
    // delivered on the posting thread) to the default center and keeps their tokens.
    void registerForAppLevelNotifications();

    // The token of the did-enter-background registration: callers know it by this name, although it
    // observes entering the background, not resigning active.
    const std::shared_ptr<NSObject>& willResignActiveObserver() const { return willResignActiveObserver_; }
    const std::shared_ptr<NSObject>& willEnterForegroundObserver() const { return willEnterForegroundObserver_; }

private:
    void init() { registerForAppLevelNotifications(); }

    std::shared_ptr<NSObject> willResignActiveObserver_;
    std::shared_ptr<NSObject> willEnterForegroundObserver_;
};
