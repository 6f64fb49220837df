#pragma once
// An exclusive advisory lock (flock) on a file, seen by every process and by every other lock on
// the same file in this process. Processes that share a content root take one around the work
// that must not interleave: the store's first set-up, and each content update from its first
// request to its end. A process that dies lets go of its lock with it.

#include <mutex>
#include <string>

class QZInterprocessLock {
public:
    // Opens nothing yet.
    explicit QZInterprocessLock(std::string path);
    ~QZInterprocessLock();
    QZInterprocessLock(const QZInterprocessLock&) = delete;
    QZInterprocessLock& operator=(const QZInterprocessLock&) = delete;

    // Waits until the lock is held (the file is made when missing); true at once when this object
    // already holds it. False with the reason when the file cannot be opened or locked.
    bool lock(std::string* reason = nullptr);
    // Any thread; nothing when not held.
    void unlock();

    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::mutex mutex_;
    int descriptor_ = -1;  // open while held
};
