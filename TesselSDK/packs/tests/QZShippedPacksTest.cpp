// The packs the editor ships: a new content root starts from the prebuilt store, whose packs read
// their files from the resource bundle with nothing downloaded; and the build tool that makes them
// refuses broken sources without writing anything.

#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackItem.h"
#include "TesselSDK/remote/QZEffectContentPackItem.h"
#include "TesselSDK/remote/QZFrameContentPackItem.h"
#include "TesselSDK/remote/QZRemoteRegisterClasses.h"
#include "TesselSDK/remote/QZStickerContentPackItem.h"
#include "TesselSDK/remote/QZTesselContentManager.h"

#include "TesselSDKFoundation/QZSDKResources.h"

#include "Foundation/NSUserDefaults.h"
#include "Foundation/PlatformSettings.h"
#include "UIKit/UIImage.h"
#include "testing/TestSandbox.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>

namespace fs = std::filesystem;

namespace {

class QZShippedPacksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TesselSDKRemoteRegisterClasses();
        fs::create_directories(sandbox_.mainBundlePath());
        fs::create_directory_symlink(TESSEL_SDK_RESOURCES_BUNDLE_DIR,
                                     sandbox_.mainBundlePath() + "/TesselSDKResources.bundle");
        QZTesselContentManager::resetSharedManagerForTesting();
    }
    void TearDown() override
    {
        QZTesselContentManager::resetSharedManagerForTesting();
        QZSDKResources::unloadResources();
    }

    std::map<std::string, std::shared_ptr<QZContentPack>> packs()
    {
        std::map<std::string, std::shared_ptr<QZContentPack>> byIdentifier;
        for (const auto& pack : QZTesselContentManager::sharedManager()->contentPacks())
            byIdentifier[pack->identifier()] = pack;
        return byIdentifier;
    }

    TestSandbox sandbox_;
};

std::vector<std::string> itemIdentifiers(QZContentPack& pack)
{
    std::vector<std::string> identifiers;
    for (const auto& item : pack.orderedItems()) identifiers.push_back(item->identifier());
    return identifiers;
}

Value jsonFile(const fs::path& path)
{
    std::ifstream in(path);
    return Value::fromJSON(std::string(std::istreambuf_iterator<char>(in), {}));
}

TEST_F(QZShippedPacksTest, ANewRootStartsWithTheShippedPacksReadyToUse)
{
    auto all = packs();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(NSUserDefaults::standardUserDefaults()->objectForKey(kQZContentManagerCurrentContentManifestVerion),
              Value("1.0.0"));
    const struct {
        const char* identifier;
        const char* type;
        const char* name;
        std::vector<std::string> items;
    } rows[] = {
        {"classic_effects", "effect", "Classics", {"tintype", "warm_film"}},
        {"classic_frames", "frame", "Classic Frames", {"oak", "slate"}},
        {"doodle_stickers", "sticker", "Doodles", {"star", "heart", "sun", "cloud", "smile", "bolt"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.identifier);
        auto pack = all[row.identifier];
        ASSERT_TRUE(pack);
        EXPECT_EQ(pack->packType(), row.type);
        EXPECT_EQ(pack->localizedDisplayName(), row.name);
        EXPECT_EQ(itemIdentifiers(*pack), row.items);
        EXPECT_TRUE(pack->availableForDisplay());
        EXPECT_TRUE(pack->assetsAvailableForHighResUse());
        // The thumbnails are in the bundle; the high-resolution provider still counts only an archive.
        EXPECT_EQ(pack->thumbnailResourceProvider()->state(), QZContentPackResourceProviderStateDownloaded);
        EXPECT_EQ(pack->highResolutionResourceProvider()->state(), QZContentPackResourceProviderStateNotDownloaded);
        auto preview = pack->packPreviewImage();
        ASSERT_TRUE(preview);
        EXPECT_FLOAT_EQ(preview->size().width, 55);
    }
    EXPECT_EQ(all["classic_frames"]->orderedItems()[0]->localizedDisplayName(), "Oak");
    EXPECT_EQ(all["doodle_stickers"]->orderedItems()[2]->localizedDisplayName(), "Sun");
}

TEST_F(QZShippedPacksTest, EveryItemsImagesComeThroughThePacksProviders)
{
    auto all = packs();
    for (const auto& item : all["classic_frames"]->orderedItems()) {
        SCOPED_TRACE(item->identifier());
        auto frame = std::dynamic_pointer_cast<QZFrameContentPackItem>(item);
        ASSERT_TRUE(frame);
        EXPECT_TRUE(frame->thumbnailImage());
        for (std::size_t i = 0; i < kQZFramePieceCount; ++i) {
            const auto piece = static_cast<QZFramePiece>(i);
            auto image = frame->pieceImage(piece);
            ASSERT_TRUE(image) << QZFrameContentPackItem::suffixForPiece(piece);
            if (i >= kQZFramePieceCount / 2) {
                // The editing pieces are a quarter the size of the picture's.
                auto full = frame->pieceImage(static_cast<QZFramePiece>(i - kQZFramePieceCount / 2));
                EXPECT_FLOAT_EQ(image->size().width * 4, full->size().width);
                EXPECT_FLOAT_EQ(image->size().height * 4, full->size().height);
            }
        }
        // Corners are squares of the band, a sixth of the side; sides run between them.
        EXPECT_FLOAT_EQ(frame->pieceImage(QZFramePiece::TopLeft)->size().width, 200);
        EXPECT_FLOAT_EQ(frame->pieceImage(QZFramePiece::Top)->size().width, 800);
        EXPECT_FLOAT_EQ(frame->pieceImage(QZFramePiece::Left)->size().height, 800);
    }
    for (const auto& item : all["doodle_stickers"]->orderedItems()) {
        SCOPED_TRACE(item->identifier());
        auto sticker = std::dynamic_pointer_cast<QZStickerContentPackItem>(item);
        ASSERT_TRUE(sticker);
        EXPECT_TRUE(sticker->thumbnailImage());
        ASSERT_TRUE(sticker->smallImage());
        ASSERT_TRUE(sticker->largeImage());
        EXPECT_FLOAT_EQ(sticker->smallImage()->size().width, 160);
        EXPECT_FLOAT_EQ(sticker->largeImage()->size().width, 512);
    }
    // Each effect's recipe is its source file's processors.
    const fs::path sources = TESSEL_SHIPPED_PACK_SOURCES_DIR;
    for (const auto& item : all["classic_effects"]->orderedItems()) {
        SCOPED_TRACE(item->identifier());
        auto effect = std::dynamic_pointer_cast<QZEffectContentPackItem>(item);
        ASSERT_TRUE(effect);
        const Value recipe = Value::fromJSON(effect->effectJSON());
        EXPECT_EQ(recipe["identifier"], Value(item->identifier()));
        EXPECT_EQ(recipe["processors"],
                  jsonFile(sources / "classic_effects" / (item->identifier() + ".json"))["processors"]);
        EXPECT_TRUE(recipe["recipe"].isNil());
    }
}

TEST_F(QZShippedPacksTest, TheBundleHoldsOneStoreFileAndTheFolders)
{
    const fs::path bundle = TESSEL_SDK_RESOURCES_BUNDLE_DIR;
    EXPECT_TRUE(fs::is_regular_file(bundle / "TesselContentPackCompiledDatabase.sqlite"));
    for (const char* companion : {"-wal", "-shm", "-journal"})
        EXPECT_FALSE(fs::exists(bundle / (std::string("TesselContentPackCompiledDatabase.sqlite") + companion)));
    for (const char* folder : {"classic_effects", "classic_frames", "doodle_stickers"})
        for (const char* preview : {"iap_preview.png", "iap_preview@2x.png"})
            EXPECT_TRUE(fs::is_regular_file(bundle / folder / preview)) << folder << "/" << preview;
}

// ---- The build tool ----

class QZCompileContentStoreTest : public ::testing::Test {
protected:
    struct Run {
        int status = -1;
        std::string output;
    };
    Run compile(const fs::path& sources, const fs::path& out)
    {
        const std::string command = std::string(QZ_COMPILE_CONTENT_STORE_PATH) + " --rsvg-convert " +
                                    RSVG_CONVERT_PATH + " '" + sources.string() + "' '" + out.string() + "' 2>&1";
        Run run;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return run;
        char buffer[512];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, n);
        const int status = pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }
    // A copy of the shipped sources, changed by `edit`.
    fs::path sources(const std::function<void(const fs::path&)>& edit)
    {
        const fs::path copy = sandbox_.path("sources");
        fs::remove_all(copy);
        fs::create_directories(copy);
        for (const auto& entry : fs::directory_iterator(TESSEL_SHIPPED_PACK_SOURCES_DIR))
            if (entry.is_directory())
                fs::copy(entry.path(), copy / entry.path().filename(), fs::copy_options::recursive);
        edit(copy);
        return copy;
    }
    static void write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::trunc) << text; }
    static std::string read(const fs::path& path)
    {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static std::vector<std::string> listing(const fs::path& folder)
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) names.push_back(entry.path().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TestSandbox sandbox_;
};

TEST_F(QZCompileContentStoreTest, BrokenSourcesStopTheBuildNamingTheFileAndWriteNothing)
{
    const struct {
        const char* name;
        const char* file;  // named in the message
        std::function<void(const fs::path&)> edit;
    } rows[] = {
        {"frame item without width", "classic_frames/pack.json",
         [](const fs::path& s) {
             std::string text = read(s / "classic_frames/pack.json");
             text.replace(text.find(", \"width\": 0.08"), std::strlen(", \"width\": 0.08"), "");
             write(s / "classic_frames/pack.json", text);
         }},
        {"unsafe item identifier", "doodle_stickers/pack.json",
         [](const fs::path& s) {
             std::string text = read(s / "doodle_stickers/pack.json");
             text.replace(text.find("\"star\""), std::strlen("\"star\""), "\"../star\"");
             write(s / "doodle_stickers/pack.json", text);
         }},
        {"missing recipe", "classic_effects/warm_film.json",
         [](const fs::path& s) { fs::remove(s / "classic_effects/warm_film.json"); }},
        {"not JSON", "classic_frames/pack.json",
         [](const fs::path& s) { write(s / "classic_frames/pack.json", "{\"identifier\": "); }},
        {"missing drawing", "doodle_stickers/bolt.svg",
         [](const fs::path& s) { fs::remove(s / "doodle_stickers/bolt.svg"); }},
    };
    const fs::path out = sandbox_.path("bundle");
    fs::create_directories(out);
    write(out / "kept.txt", "a bundle's own file");
    const std::vector<std::string> before = listing(out);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Run run = compile(sources(row.edit), out);
        EXPECT_EQ(run.status, 1) << run.output;
        EXPECT_NE(run.output.find(row.file), std::string::npos) << run.output;
        EXPECT_EQ(listing(out), before);
    }
    // The same sources unbroken build.
    const Run run = compile(sources([](const fs::path&) {}), out);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(fs::is_regular_file(out / "TesselContentPackCompiledDatabase.sqlite"));
    EXPECT_TRUE(fs::is_regular_file(out / "classic_frames/oak_tl-editing.png"));
    EXPECT_EQ(read(out / "kept.txt"), "a bundle's own file");
    // A command line without the folders is malformed.
    const std::string usage = std::string(QZ_COMPILE_CONTENT_STORE_PATH) + " " + out.string() + " 2>/dev/null";
    const int status = std::system(usage.c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 2);
}

}  // namespace
