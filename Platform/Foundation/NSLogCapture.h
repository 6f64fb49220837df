#pragma once
// Test support: while an NSLogCapture lives, every NSLog line from any thread is kept here
// instead of going to stderr. Captures nest; the innermost one receives.

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class NSLogCapture {
public:
    NSLogCapture();
    ~NSLogCapture();
    NSLogCapture(const NSLogCapture&) = delete;
    NSLogCapture& operator=(const NSLogCapture&) = delete;

    std::vector<std::string> lines() const;
    bool contains(std::string_view text) const;  // some line contains text
    void clear();

private:
    friend void NSLogMessage(const std::string& line);
    void append(const std::string& line);

    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    NSLogCapture* outer_ = nullptr;
};
