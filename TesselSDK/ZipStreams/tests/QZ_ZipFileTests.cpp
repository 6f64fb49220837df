#include "TesselSDK/ZipStreams/QZ_ZipException.h"
#include "TesselSDK/ZipStreams/QZ_ZipFile.h"

#include "testing/TestSandbox.h"
#include "testing/ZipBuilder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

// Reads the current entry in 4096-byte blocks, as the archive reader does.
std::string readEntry(QZ_ZipFile& zip, const std::string& name)
{
    EXPECT_TRUE(zip.locateFileInZip(name));
    auto stream = zip.readCurrentFileInZip();
    std::string bytes;
    for (;;) {
        auto block = stream->readDataOfLength(4096);
        if (block.empty()) break;
        bytes.append(block.begin(), block.end());
    }
    stream->finishedReading();
    return bytes;
}

class QZ_ZipFileTest : public ::testing::Test {
protected:
    TestSandbox sandbox;
    std::string path = sandbox.path("pack.zip");
    const std::string json = "{\"status\": \"OK\"}";
    const std::string large = std::string(10000, 'x') + "tail";
};

TEST_F(QZ_ZipFileTest, StoredAndDeflatedEntriesReadBack)
{
    ZipBuilder()
        .addStored("status.json", json)
        .addDeflated("items/big.txt", large)
        .addStored("empty", "")
        .writeTo(path);
    auto zip = QZ_ZipFile::zipFileWithFileName(path, ZipFileModeUnzip);
    EXPECT_EQ(readEntry(*zip, "status.json"), json);
    EXPECT_EQ(readEntry(*zip, "items/big.txt"), large);
    EXPECT_EQ(readEntry(*zip, "empty"), "");
    EXPECT_FALSE(zip->locateFileInZip("missing.png"));
    std::vector<std::string> walked;
    for (bool more = zip->goToFirstFileInZip(); more; more = zip->goToNextFileInZip())
        walked.push_back(zip->getCurrentFileInZipInfo()->name());
    EXPECT_EQ(walked, (std::vector<std::string>{"status.json", "items/big.txt", "empty"}));
    ASSERT_TRUE(zip->locateFileInZip("items/big.txt"));
    auto info = zip->getCurrentFileInZipInfo();
    EXPECT_EQ(info->name(), "items/big.txt");
    EXPECT_EQ(info->length(), large.size());
    EXPECT_LT(info->size(), large.size());
    EXPECT_NE(info->level(), ZipCompressionLevelNone);
    EXPECT_FALSE(info->crypted());
}

TEST_F(QZ_ZipFileTest, AHugeEntryShowsItsSizeBeforeAnyOfItIsRead)
{
    ZipBuilder().addZeros("huge.bin", 64ull << 20).writeTo(path);
    auto zip = QZ_ZipFile::zipFileWithFileName(path, ZipFileModeUnzip);
    ASSERT_TRUE(zip->locateFileInZip("huge.bin"));
    auto info = zip->getCurrentFileInZipInfo();
    EXPECT_EQ(info->length(), 64ull << 20);
    EXPECT_LT(info->size(), 1u << 20);
}

TEST_F(QZ_ZipFileTest, AFlippedByteRaisesWhenTheEntryIsClosed)
{
    ZipBuilder().addStored("status.json", json).flipByteInStoredEntry("status.json", 3).writeTo(path);
    auto zip = QZ_ZipFile::zipFileWithFileName(path, ZipFileModeUnzip);
    ASSERT_TRUE(zip->locateFileInZip("status.json"));
    auto stream = zip->readCurrentFileInZip();
    auto bytes = stream->readDataOfLength(4096);
    EXPECT_EQ(bytes.size(), json.size());
    EXPECT_TRUE(stream->readDataOfLength(4096).empty());
    try {
        stream->finishedReading();
        ADD_FAILURE() << "a damaged entry closed cleanly";
    } catch (const QZ_ZipException& e) {
        EXPECT_EQ(e.reason(), "Error in closing 'status.json' in the zipfile");
        EXPECT_NE(e.error(), 0);
    }
}

TEST_F(QZ_ZipFileTest, TruncatedMissingAndNonZipFilesFailToOpen)
{
    ZipBuilder().addStored("status.json", json).addDeflated("a.txt", large).truncateAt(200).writeTo(path);
    std::ofstream(sandbox.path("text.zip")) << "this is no zip archive at all, just text";
    for (const std::string& file : {path, sandbox.path("text.zip"), sandbox.path("missing.zip")}) {
        SCOPED_TRACE(file);
        EXPECT_THROW(QZ_ZipFile::zipFileWithFileName(file, ZipFileModeUnzip), QZ_ZipException);
    }
    EXPECT_THROW(QZ_ZipFile::zipFileWithFileName(path, ZipFileModeCreate), QZ_ZipException);
}

}  // namespace
