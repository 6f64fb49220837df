#pragma once
// Test support: an analytics session class registered under the name the facade looks up,
// recording every event it is sent and, in `calls`, every message in order.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Foundation/NSClass.h"
#include "TesselSDK/remote/QZAnalytics.h"
#include "TesselSDK/remote/QZMetricsSessionProtocol.h"

class QZTestMetricsSession : public NSObject, public QZMetricsSessionProtocol {
public:
    using NSObject::NSObject;
    void tagEvent(const std::string& eventName, const Value& attributes) override
    {
        events.emplace_back(eventName, attributes);
        calls.push_back("tagEvent " + eventName);
    }
    void tagScreen(const std::string& screenName) override { calls.push_back("tagScreen " + screenName); }
    void MetricsSession(const std::string& applicationKey) override { calls.push_back("MetricsSession " + applicationKey); }
    void setCustomDimension(int index, const std::string& value) override
    {
        calls.push_back("setCustomDimension " + std::to_string(index) + " " + value);
    }
    void open() override { calls.push_back("open"); }
    void upload() override { calls.push_back("upload"); }
    void close() override { calls.push_back("close"); }

    std::vector<std::pair<std::string, Value>> events;
    std::vector<std::string> calls;

    // Registers "QZMetricsSession" answering `session` (which may be null) as its shared session.
    static void registerClass(std::shared_ptr<QZTestMetricsSession> session)
    {
        NSClass::registerClass(std::make_shared<NSClass>(
            kQZMetricsSessionClassName, [] { return NSObject::create<QZTestMetricsSession>(); },
            std::map<std::string, NSClass::ClassMethod, std::less<>>{
                {"sharedMetricsSession", [session] { return Value(session); }}}));
    }
    static void unregisterClass() { NSClass::unregisterClass(kQZMetricsSessionClassName); }
};
