// What a person may name in place of a file: each is refused with its reason, at once.
#include "Files/FileContents.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class FileContentsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/file_contents_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path write(const std::string& name, std::size_t bytes)
    {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
        return path;
    }

    fs::path dir_;
};

TEST_F(FileContentsTest, OnlyARegularFileWithinTheLimitIsRead)
{
    const fs::path fifo = dir_ / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string path;
        std::size_t limit;
        const char* reason;  // null: read
    };
    const Case cases[] = {
        {write("ten", 10).string(), 10, nullptr},
        {write("empty", 0).string(), 10, nullptr},
        {write("eleven", 11).string(), 10, "is larger than 10 bytes"},
        {write("big", 5 << 20).string(), 4 << 20, "is larger than 4 MiB"},
        {dir_.string(), 1 << 20, "is a directory"},
        {"/dev/zero", 1 << 20, "is not a regular file (a device, a FIFO or a socket)"},
        {fifo.string(), 1 << 20, "is not a regular file (a device, a FIFO or a socket)"},
        {(dir_ / "missing").string(), 1 << 20, "No such file or directory"},
        // Reports no size and has more than that: the limit holds while reading.
        {"/proc/self/maps", 16, "is larger than 16 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::vector<std::uint8_t> bytes{1, 2, 3};
        std::string reason;
        const bool read = FileReadContents(c.path, c.limit, &bytes, &reason);
        if (!c.reason) {
            EXPECT_TRUE(read) << reason;
            EXPECT_EQ(bytes.size(), fs::file_size(c.path));
        } else {
            EXPECT_FALSE(read);
            EXPECT_EQ(reason, c.reason);
        }
    }
}

TEST_F(FileContentsTest, TextComesWholeAndLimitsReadAsPeopleWriteThem)
{
    const fs::path path = dir_ / "script.txt";
    std::ofstream(path) << "tap Crop\nwait 0.5\n";
    std::string text, reason;
    ASSERT_TRUE(FileReadText(path.string(), 1 << 20, &text, &reason)) << reason;
    EXPECT_EQ(text, "tap Crop\nwait 0.5\n");

    EXPECT_EQ(FileSizeDescription(12), "12 bytes");
    EXPECT_EQ(FileSizeDescription(1024), "1 KiB");
    EXPECT_EQ(FileSizeDescription(576u << 20), "576 MiB");
    EXPECT_EQ(FileSizeDescription(1536), "1536 bytes");
    EXPECT_EQ(FileSizeDescription(std::size_t{1} << 30), "1 GiB");
}

}  // namespace
