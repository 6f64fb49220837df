#include "testing/FaultInjection.h"

#include "testing/TestSandbox.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

namespace {

// Writes 1 MiB; answers 0 when every byte was written, else the errno of the failing write.
int writeOneMebibyte(const std::string& path)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return errno;
    std::vector<char> block(64 << 10, 'x');
    int result = 0;
    for (int i = 0; i < 16 && result == 0; ++i)
        if (write(fd, block.data(), block.size()) != static_cast<ssize_t>(block.size())) result = errno;
    close(fd);
    return result;
}

TEST(FaultInjectionTest, AChildWithAFileSizeLimitFailsWithEFBIGWhileTheParentWritesFreely)
{
    TestSandbox sandbox;
    int status = runInChildWithFileSizeLimit(64 << 10, [&] { return writeOneMebibyte(sandbox.path("child.bin")); });
    EXPECT_EQ(status, EFBIG);
    EXPECT_EQ(writeOneMebibyte(sandbox.path("parent.bin")), 0);
    EXPECT_EQ(runInChildWithFileSizeLimit(64 << 10, [] { return 7; }), 7);
}

}  // namespace
