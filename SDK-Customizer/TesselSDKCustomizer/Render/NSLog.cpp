#include "Render/NSLog.h"

#include <cstdarg>
#include <cstdio>

namespace customizer {
namespace {

std::mutex& sinkMutex()
{
    static std::mutex m;
    return m;
}
NSLogCapture* currentCapture = nullptr;  // guarded by sinkMutex()

}  // namespace

void NSLog(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string line(length > 0 ? size_t(length) : 0, '\0');
    if (length > 0) std::vsnprintf(line.data(), line.size() + 1, format, args);
    va_end(args);

    std::lock_guard lock(sinkMutex());
    if (currentCapture) {
        currentCapture->append(line);
        return;
    }
    std::fprintf(stderr, "TesselSDKCustomizer: %s\n", line.c_str());
}

NSLogCapture::NSLogCapture()
{
    std::lock_guard lock(sinkMutex());
    outer_ = currentCapture;
    currentCapture = this;
}

NSLogCapture::~NSLogCapture()
{
    std::lock_guard lock(sinkMutex());
    if (currentCapture == this) {
        currentCapture = outer_;
        return;
    }
    for (NSLogCapture* c = currentCapture; c; c = c->outer_)
        if (c->outer_ == this) c->outer_ = outer_;
}

std::vector<std::string> NSLogCapture::lines() const
{
    std::lock_guard lock(mutex_);
    return lines_;
}

bool NSLogCapture::contains(std::string_view text) const
{
    std::lock_guard lock(mutex_);
    for (const std::string& line : lines_)
        if (line.find(text) != std::string::npos) return true;
    return false;
}

void NSLogCapture::append(const std::string& line)
{
    std::lock_guard lock(mutex_);
    lines_.push_back(line);
}

}  // namespace customizer
