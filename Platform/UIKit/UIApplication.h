#pragma once
// The application's notifications. The application object posts them on the main thread; until
// it exists, hosts and tests post them there themselves.

inline constexpr const char* UIApplicationDidEnterBackgroundNotification =
    "UIApplicationDidEnterBackgroundNotification";
inline constexpr const char* UIApplicationWillEnterForegroundNotification =
    "UIApplicationWillEnterForegroundNotification";
