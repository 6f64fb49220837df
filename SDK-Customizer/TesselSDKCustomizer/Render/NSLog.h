#pragma once
// The customizer's log sink: one line per call to stderr, or to the innermost NSLogCapture
// alive (tests). printf formats; safe from any thread.

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace customizer {

void NSLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

class NSLogCapture {
public:
    NSLogCapture();
    ~NSLogCapture();
    NSLogCapture(const NSLogCapture&) = delete;
    NSLogCapture& operator=(const NSLogCapture&) = delete;

    std::vector<std::string> lines() const;
    bool contains(std::string_view text) const;

private:
    friend void NSLog(const char* format, ...);
    void append(const std::string& line);

    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    NSLogCapture* outer_ = nullptr;
};

}  // namespace customizer
