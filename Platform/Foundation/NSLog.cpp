#include "Foundation/NSLog.h"

#include "Foundation/NSLogCapture.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

std::mutex& sinkMutex()
{
    static std::mutex m;
    return m;
}
NSLogCapture* currentCapture = nullptr;  // guarded by sinkMutex()

}  // namespace

void NSLogMessage(const std::string& line)
{
    std::lock_guard lock(sinkMutex());
    if (currentCapture) {
        currentCapture->append(line);
        return;
    }
    auto now = std::chrono::system_clock::now();
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    int millis =
        static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::fprintf(stderr, "%s.%03d Tessel[%d:%ld] %s\n", stamp, millis, static_cast<int>(getpid()),
                 static_cast<long>(syscall(SYS_gettid)), line.c_str());
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
    // Captures end in reverse order of creation; tolerate a misordered end by unlinking wherever
    // this one sits.
    if (currentCapture == this) {
        currentCapture = outer_;
    } else {
        for (NSLogCapture* c = currentCapture; c; c = c->outer_)
            if (c->outer_ == this) c->outer_ = outer_;
    }
}

std::vector<std::string> NSLogCapture::lines() const
{
    std::lock_guard lock(mutex_);
    return lines_;
}

bool NSLogCapture::contains(std::string_view text) const
{
    std::lock_guard lock(mutex_);
    for (const auto& l : lines_)
        if (l.find(text) != std::string::npos) return true;
    return false;
}

void NSLogCapture::clear()
{
    std::lock_guard lock(mutex_);
    lines_.clear();
}

void NSLogCapture::append(const std::string& line)
{
    std::lock_guard lock(mutex_);
    lines_.push_back(line);
}
