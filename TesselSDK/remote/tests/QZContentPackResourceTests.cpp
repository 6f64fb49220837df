#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CoreGraphics/CGImage.h"
#include "QZContentStoreFixture.h"
#include "TesselSDKFoundation/QZFileSystemUtils.h"
#include "TesselSDK/remote/QZContentPackItem.h"
#include "TesselSDK/remote/QZFrameContentPackItem.h"
#include "TesselSDK/remote/QZStickerContentPackItem.h"
#include "UIKit/UIImage.h"

namespace {

class QZContentPackResourceTest : public QZContentStoreFixture {
protected:
    std::filesystem::path bundle() const
    {
        return std::filesystem::path(sandbox.mainBundlePath()) / "TesselSDKResources.bundle";
    }
    static std::filesystem::path contentDirectory() { return QZFileSystemUtils::resourcesDirectoryURL().value(); }

    static void write(const std::filesystem::path& path, const std::string& contents)
    {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << contents;
    }
    // A square PNG whose side tells the images apart.
    static void writePNG(const std::filesystem::path& path, std::size_t side)
    {
        std::vector<std::uint8_t> pixels(side * side * 4, 255);
        CGImageRef image = CGImageCreateWithRGBABytes(side, side, side * 4, pixels.data());
        auto png = UIImagePNGRepresentation(UIImage::imageWithCGImage(image));
        CGImageRelease(image);
        ASSERT_TRUE(png);
        write(path, std::string(png->begin(), png->end()));
    }
    static float sideOf(const std::shared_ptr<UIImage>& image) { return image ? image->size().width : 0; }

    void SetUp() override
    {
        QZContentStoreFixture::SetUp();
        std::filesystem::create_directories(bundle());
    }
};

TEST_F(QZContentPackResourceTest, ThumbnailsOnTheDeviceMakeAPackAvailableAndAnnouncedOncePerRecordObject)
{
    struct Case {
        const char* name;
        std::string identifier;
        std::vector<std::filesystem::path> files;  // relative to the content directory or the bundle
        int thumbnailState;
        int highResolutionState;
    };
    const std::vector<Case> cases = {
        {"thumbnail archive", "archived", {contentDirectory() / "archived_thumbnail.zip"}, 3, 1},
        {"preview in the bundle folder", "bundled", {bundle() / "bundled" / "iap_preview.png"}, 3, 1},
        {"high-resolution archive only", "highres", {contentDirectory() / "highres.zip"}, 1, 3},
        {"nothing", "absent", {}, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& file : c.files) write(file, "bytes");
        auto pack = mapPack(R"({"identifier": ")" + c.identifier + R"(", "packType": "effect"})");
        EXPECT_EQ(pack->thumbnailResourceProvider()->state(), c.thumbnailState);
        EXPECT_EQ(pack->highResolutionResourceProvider()->state(), c.highResolutionState);
        const bool available = c.thumbnailState == 3;
        EXPECT_EQ(pack->availableForDisplay(), available);
        EXPECT_EQ(pack->shouldNotifyForAvailability(), available);
        EXPECT_FALSE(pack->shouldNotifyForAvailability());

        // The same pack read in another context is another record object: it starts again.
        ASSERT_TRUE(save());
        auto other = newContext();
        auto again = std::dynamic_pointer_cast<QZContentPack>(
            packClass()->findObjectWithIdentifier(Value(c.identifier), *other));
        ASSERT_TRUE(again);
        EXPECT_NE(again, pack);
        EXPECT_EQ(again->shouldNotifyForAvailability(), available);
        EXPECT_FALSE(again->shouldNotifyForAvailability());
    }
}

TEST_F(QZContentPackResourceTest, HighResolutionUseNeedsADownloadOnlyWhenThePackSaysSo)
{
    struct Case {
        const char* requiresDownload;
        bool available;
    };
    const Case cases[] = {{"false", true}, {"null", true}, {"true", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.requiresDownload);
        auto pack = mapPack(R"({"identifier": "p", "packType": "effect", "requiresDownload": )" +
                            std::string(c.requiresDownload) + "}");
        EXPECT_EQ(pack->highResolutionResourceProvider()->state(), 1);
        EXPECT_EQ(pack->assetsAvailableForHighResUse(), c.available);
    }
}

TEST_F(QZContentPackResourceTest, FrameThumbnailsComeFromTheBundleThenThePackThenTheDefault)
{
    writePNG(bundle() / "inBundle_thumbnail.png", 2);
    writePNG(bundle() / "frames" / "inBundle_thumbnail.png", 3);
    writePNG(bundle() / "frames" / "inPack_thumbnail.png", 3);
    writePNG(bundle() / "frame_thumbnail_default.png", 4);
    auto pack = mapPack(R"({"identifier": "frames", "packType": "frame",
                            "items": [{"identifier": "inBundle"}, {"identifier": "inPack"}, {"identifier": "none"}]})");
    auto items = pack->orderedItems();
    NSLogCapture log;
    EXPECT_EQ(sideOf(items[0]->thumbnailImage()), 2);
    EXPECT_EQ(sideOf(items[1]->thumbnailImage()), 3);
    EXPECT_EQ(sideOf(items[2]->thumbnailImage()), 4);
    EXPECT_TRUE(log.lines().empty());

    std::filesystem::remove(bundle() / "frame_thumbnail_default.png");
    QZSDKResources::unloadResources();
    EXPECT_EQ(items[2]->thumbnailImage(), nullptr);
    EXPECT_EQ(log.lines(),
              std::vector<std::string>{"-[QZFrameContentPackItem thumbnailImage] expected non-null thumbnail"});
}

TEST_F(QZContentPackResourceTest, StickerThumbnailsAreReadOnEachCallAndAMissingOneIsLogged)
{
    writePNG(bundle() / "stickers" / "present_thumbnail.png", 3);
    auto pack = mapPack(R"({"identifier": "stickers", "packType": "sticker",
                            "items": [{"identifier": "present"}, {"identifier": "missing"}]})");
    auto items = pack->orderedItems();
    NSLogCapture log;
    EXPECT_EQ(sideOf(items[0]->thumbnailImage()), 3);
    EXPECT_EQ(items[1]->thumbnailImage(), nullptr);
    EXPECT_EQ(items[1]->thumbnailImage(), nullptr);
    const std::string line =
        "-[QZStickerContentPackItem thumbnailImage] expected non-null thumbnail for identifier missing";
    EXPECT_EQ(log.lines(), (std::vector<std::string>{line, line}));
}

TEST_F(QZContentPackResourceTest, ARefreshOfThePackEmptiesTheByteCachesAndDropsItemImages)
{
    write(bundle() / "cached" / "recipe.json", "first");
    writePNG(bundle() / "cached" / "s-small.png", 3);
    auto pack = mapPack(R"({"identifier": "cached", "packType": "sticker", "items": [{"identifier": "s"}]})");
    auto sticker = std::dynamic_pointer_cast<QZStickerContentPackItem>(pack->orderedItems().at(0));
    ASSERT_TRUE(sticker);
    ASSERT_TRUE(save());
    EXPECT_EQ(pack->loadDataForResourceNamed("recipe.json"), Value(Value::Data{'f', 'i', 'r', 's', 't'}));
    auto small = sticker->smallImage();
    ASSERT_TRUE(small);

    write(bundle() / "cached" / "recipe.json", "second");
    QZSDKResources::unloadResources();  // only the item still holds the image
    EXPECT_EQ(pack->loadDataForResourceNamed("recipe.json"), Value(Value::Data{'f', 'i', 'r', 's', 't'}));
    EXPECT_EQ(sticker->smallImage(), small);

    context->refreshObject(pack, false);
    EXPECT_EQ(pack->loadDataForResourceNamed("recipe.json"), Value(Value::Data{'s', 'e', 'c', 'o', 'n', 'd'}));
    auto reread = sticker->smallImage();
    ASSERT_TRUE(reread);
    EXPECT_NE(reread, small);
}

TEST_F(QZContentPackResourceTest, IdentifiersThatWouldLeaveTheirFolderFormNoPath)
{
    // Files where a path built from "../x" would land.
    write(contentDirectory().parent_path() / "x_thumbnail.zip", "bytes");
    write(contentDirectory().parent_path() / "x.zip", "bytes");
    write(bundle().parent_path() / "x" / "iap_preview.png", "bytes");
    write(bundle().parent_path() / "x" / "data.bin", "bytes");
    writePNG(bundle().parent_path() / "f_thumbnail.png", 2);
    for (const std::string& identifier : std::vector<std::string>{"../x", "..", ".", "", "a/b", "a\\b",
                                                                  std::string("x\0/../y", 7), std::string(201, 'x')}) {
        SCOPED_TRACE(identifier);
        auto pack = std::dynamic_pointer_cast<QZContentPack>(packClass()->createInManagedObjectContext(*context));
        pack->updateWithDictionary(Value::dictionary({{"identifier", identifier}, {"packType", "frame"}}));
        EXPECT_EQ(pack->thumbnailResourceProvider()->state(), 1);
        EXPECT_EQ(pack->highResolutionResourceProvider()->state(), 1);
        EXPECT_EQ(pack->thumbnailResourceProvider()->archivePath(), std::nullopt);
        EXPECT_EQ(pack->packPreviewImage(), nullptr);
        EXPECT_TRUE(pack->loadDataForResourceNamed("data.bin").isNil());
    }
    // The longest name that may form one still does, with room for the thumbnail suffix.
    auto longest = mapPack(R"({"identifier": ")" + std::string(200, 'x') + R"(", "packType": "frame"})");
    EXPECT_EQ(longest->thumbnailResourceProvider()->archivePath(),
              (contentDirectory() / (std::string(200, 'x') + "_thumbnail.zip")).string());
    auto frames = mapPack(R"({"identifier": "frames", "packType": "frame", "items": [{"identifier": "../f"}]})");
    NSLogCapture log;
    EXPECT_EQ(frames->orderedItems().at(0)->thumbnailImage(), nullptr);
}

}  // namespace
