#pragma once
// What the analytics facade sends to the analytics session object. The session class itself,
// "QZMetricsSession", is not part of the editor: a host links one in and registers it by name
// (NSClass), with the class method "sharedMetricsSession" answering its session object, which
// implements this protocol.

#include <string>

#include "Foundation/Value.h"

class QZMetricsSessionProtocol {
public:
    virtual ~QZMetricsSessionProtocol() = default;

    // Begins the session for the application with that key.
    virtual void MetricsSession(const std::string& applicationKey) = 0;
    virtual void setCustomDimension(int index, const std::string& value) = 0;
    virtual void open() = 0;
    virtual void upload() = 0;
    virtual void close() = 0;
    // Records an event with its attributes (string keys).
    virtual void tagEvent(const std::string& eventName, const Value& attributes) = 0;
    virtual void tagScreen(const std::string& screenName) = 0;
};
