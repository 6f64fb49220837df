#pragma once
// Test support: an analytics session class registered under the name the facade looks up,
// recording every call it is sent.

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "Foundation/NSClass.h"
#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDKFoundation/QZMetricsSessionProtocol.h"

class QZTestMetricsSession : public NSObject, public QZMetricsSessionProtocol {
public:
    using NSObject::NSObject;
    void MetricsSession(const std::string& applicationKey) override { note("MetricsSession: " + applicationKey); }
    void setCustomDimension(int index, const std::string& value) override
    {
        note("setCustomDimension: " + std::to_string(index) + " " + value);
    }
    void open() override { note("open"); }
    void upload() override { note("upload"); }
    void close() override { note("close"); }
    void tagEvent(const std::string& eventName, const Value& attributes) override
    {
        std::lock_guard lock(mutex_);
        events.emplace_back(eventName, attributes);
    }
    void tagScreen(const std::string& screenName) override { note("tagScreen: " + screenName); }

    std::vector<std::pair<std::string, Value>> events;
    std::vector<std::string> calls;  // everything but events, in order

    // Registers "QZMetricsSession" answering `session` (which may be null) as its shared session.
    static void registerClass(std::shared_ptr<QZTestMetricsSession> session)
    {
        NSClass::registerClass(std::make_shared<NSClass>(
            kQZMetricsSessionClassName, [] { return NSObject::create<QZTestMetricsSession>(); },
            std::map<std::string, NSClass::ClassMethod, std::less<>>{
                {"sharedMetricsSession", [session] { return Value(session); }}}));
    }
    static void unregisterClass() { NSClass::unregisterClass(kQZMetricsSessionClassName); }

private:
    void note(std::string call)
    {
        std::lock_guard lock(mutex_);
        calls.push_back(std::move(call));
    }
    std::mutex mutex_;
};
