#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Foundation/NSLogCapture.h"
#include "Foundation/PlatformSettings.h"
#include "ImageIO/ImageIOCodec.h"
#include "QZResourceArchiveSupport.h"
#include "TesselSDK/remote/QZContentPackResourceArchive.h"
#include "testing/TestSandbox.h"
#include "testing/ZipBuilder.h"

namespace {

using qz_archive_test::blackBitmapPNG;
using qz_archive_test::squarePNG;

class QZContentPackResourceArchiveTest : public ::testing::Test {
protected:
    void TearDown() override { PlatformSettings::reset(); }

    std::shared_ptr<QZContentPackResourceArchive> archive(const ZipBuilder& builder)
    {
        std::string error;
        EXPECT_TRUE(builder.writeTo(path, &error)) << error;
        return QZContentPackResourceArchive::make(path);
    }

    TestSandbox sandbox;
    std::string path = sandbox.path("pack.zip");
    const std::string ok = R"({"status": "OK"})";
};

TEST_F(QZContentPackResourceArchiveTest, OnlyAWholeArchiveSayingOKIsValid)
{
    struct Case {
        const char* name;
        std::function<void(ZipBuilder&)> build;
        bool valid;
        const char* logged = nullptr;  // a log line holding this
    };
    const std::string image = squarePNG(4);
    const std::vector<Case> cases = {
        {"OK, stored and deflated entries",
         [&](ZipBuilder& b) { b.addStored("status.json", ok).addDeflated("a.png", image).addStored("empty", ""); },
         true},
        {"lower-case ok", [](ZipBuilder& b) { b.addStored("status.json", R"({"status": "ok"})"); }, false},
        {"FAIL", [](ZipBuilder& b) { b.addStored("status.json", R"({"status": "FAIL"})"); }, false},
        {"status not a string", [](ZipBuilder& b) { b.addStored("status.json", R"({"status": true})"); }, false},
        {"an array", [](ZipBuilder& b) { b.addStored("status.json", R"(["OK"])"); }, false},
        {"not JSON", [](ZipBuilder& b) { b.addStored("status.json", "status: OK"); }, false,
         "Status file deserialization failed"},
        {"no status.json", [&](ZipBuilder& b) { b.addStored("a.png", image); }, false},
        {"status.json past 64 KiB",
         [](ZipBuilder& b) {
             b.addDeflated("status.json", R"({"status": "OK", "pad": ")" + std::string(64 << 10, ' ') + "\"}");
         },
         false, "larger than"},
        {"truncated",
         [&](ZipBuilder& b) { b.addStored("status.json", ok).addDeflated("a.png", image).truncateAt(100); }, false,
         "Zip exception encountered"},
        {"a flipped byte inside an image entry",
         [&](ZipBuilder& b) {
             b.addStored("status.json", ok).addStored("a.png", image).flipByteInStoredEntry("a.png", 30);
         },
         false, "Zip exception encountered"},
        {"an entry past 64 MiB",
         [&](ZipBuilder& b) { b.addStored("status.json", ok).addZeros("huge.bin", (64ull << 20) + 1); }, false,
         "larger than"},
        {"an entry of exactly 64 MiB",
         [&](ZipBuilder& b) { b.addStored("status.json", ok).addZeros("big.bin", 64ull << 20); }, true},
        {"five entries of 60 MiB, each within the limit, 300 MiB in all",
         [&](ZipBuilder& b) {
             b.addStored("status.json", ok);
             for (const char* name : {"1.bin", "2.bin", "3.bin", "4.bin", "5.bin"}) b.addZeros(name, 60ull << 20);
         },
         false, "more than the 268435456 bytes allowed in all"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ZipBuilder builder;
        c.build(builder);
        auto zip = archive(builder);
        NSLogCapture log;
        EXPECT_EQ(zip->validate(), c.valid);
        if (c.logged) {
            EXPECT_TRUE(log.contains(c.logged)) << (log.lines().empty() ? "" : log.lines().front());
        }
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "these bytes are no zip archive";
    NSLogCapture log;
    EXPECT_FALSE(QZContentPackResourceArchive::make(path)->validate()) << "not a zip";
    EXPECT_FALSE(QZContentPackResourceArchive::make(sandbox.path("absent.zip"))->validate()) << "no file";
}

TEST_F(QZContentPackResourceArchiveTest, EntriesReadWholeOrNotAtAll)
{
    const std::string large = std::string(10000, 'x') + "tail";
    auto zip = archive(ZipBuilder()
                           .addStored("status.json", ok)
                           .addDeflated("large.txt", large)
                           .addStored("damaged.txt", large)
                           .flipByteInStoredEntry("damaged.txt", 9000)
                           .addZeros("huge.bin", (64ull << 20) + 1)
                           .addStored("empty", ""));
    NSLogCapture log;
    EXPECT_EQ(zip->dataForResourceNamed("large.txt"), Value(Value::Data(large.begin(), large.end())));
    EXPECT_EQ(zip->dataForResourceNamed("empty"), Value(Value::Data{})) << "an empty entry is data, not nil";
    EXPECT_TRUE(zip->dataForResourceNamed("missing.txt").isNil());
    EXPECT_TRUE(log.lines().empty()) << "a missing entry logs nothing";
    // The bytes before the damage are no answer: the caller would cache and use them.
    EXPECT_TRUE(zip->dataForResourceNamed("damaged.txt").isNil());
    EXPECT_TRUE(
        log.contains("-[QZContentPackResourceArchive readDataFromFilenameInZipFile:] Zip exception encountered"));
    EXPECT_TRUE(zip->dataForResourceNamed("huge.bin").isNil());
    EXPECT_EQ(zip->dataForResourceNamed("large.txt"), Value(Value::Data(large.begin(), large.end())))
        << "the archive stays usable after a damaged entry";
}

TEST_F(QZContentPackResourceArchiveTest, ImagesPreferTheScreenScaleVariant)
{
    struct Case {
        float screenScale;
        std::vector<int> variants;  // 1 is "x.png", N is "x@Nx.png" (each image N pixels wide)
        int expectedWidth;          // 0: no image
    };
    const std::vector<Case> cases = {
        {1, {1, 2}, 1}, {1, {2}, 0},       {2, {1, 2}, 2}, {2, {1}, 1},
        {2, {3}, 0},    {3, {1, 2, 3}, 3}, {3, {1, 2}, 1}, {2.5f, {1, 2, 3}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "scale " << c.screenScale << ", " << c.variants.size() << " variants");
        PlatformSettings::setScreenScale(c.screenScale);
        ZipBuilder builder;
        builder.addStored("status.json", ok);
        for (int variant : c.variants)
            builder.addStored(variant == 1 ? "x.png" : "x@" + std::to_string(variant) + "x.png", squarePNG(variant));
        auto image = archive(builder)->imageNamed("x.png");
        EXPECT_EQ(image ? static_cast<int>(image->size().width) : 0, c.expectedWidth);
        if (image) {
            EXPECT_EQ(image->scale(), 1) << "made at scale 1";
        }
    }
}

TEST_F(QZContentPackResourceArchiveTest, AnImageOfMoreThan64MegapixelsIsRefusedBeforeDecoding)
{
    // Whole, valid PNGs of a few kilobytes: one pixel past 64 megapixels, and a small one.
    const std::string huge = blackBitmapPNG(8193, 8192), small = blackBitmapPNG(64, 64);
    std::size_t claimedWidth = 0, claimedHeight = 0;
    ImageIODecode(huge.data(), huge.size(), [&](std::size_t w, std::size_t h) -> void* {
        claimedWidth = w;
        claimedHeight = h;
        return nullptr;
    });
    ASSERT_EQ(claimedWidth * claimedHeight, (64u << 20) + 8192) << "the decoder reads the header";
    PlatformSettings::setScreenScale(1);
    auto zip = archive(
        ZipBuilder().addStored("status.json", ok).addDeflated("huge.png", huge).addDeflated("small.png", small));
    EXPECT_EQ(zip->imageNamed("huge.png"), nullptr);
    auto image = zip->imageNamed("small.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size().width, 64);
}

}  // namespace
