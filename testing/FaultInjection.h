#pragma once
// Faults provoked for real. A full disk: runInChildWithFileSizeLimit forks, limits the size of
// files the child may write (RLIMIT_FSIZE, with SIGXFSZ ignored, so writes past the limit fail
// with EFBIG), runs `body` in the child and answers its exit status (128 + signal number when a
// signal ended it, -1 when the fork failed). The parent is untouched.

#include <cstdint>
#include <functional>

int runInChildWithFileSizeLimit(std::uint64_t bytes, const std::function<int()>& body);
