#include "TesselSDK/remote/QZInterprocessLock.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

QZInterprocessLock::QZInterprocessLock(std::string path) : path_(std::move(path)) {}

QZInterprocessLock::~QZInterprocessLock()
{
    unlock();
}

bool QZInterprocessLock::lock(std::string* reason)
{
    std::lock_guard guard(mutex_);
    if (descriptor_ >= 0) return true;
    // Each lock opens the file afresh: flock locks belong to an open file, so two objects in one
    // process exclude each other as two processes do.
    const int descriptor = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0) {
        if (reason) *reason = path_ + ": " + std::strerror(errno);
        return false;
    }
    int result;
    do {
        result = flock(descriptor, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        if (reason) *reason = path_ + ": " + std::strerror(errno);
        close(descriptor);
        return false;
    }
    descriptor_ = descriptor;
    return true;
}

void QZInterprocessLock::unlock()
{
    std::lock_guard guard(mutex_);
    if (descriptor_ < 0) return;
    // Unlocked before closing: a forked child may hold the same open file, which would keep it.
    flock(descriptor_, LOCK_UN);
    close(descriptor_);
    descriptor_ = -1;
}
