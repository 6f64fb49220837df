// A pack's images checked when its archive is installed, against the fixture server: broken or
// oversized images refuse the download with a reason naming the file, an installed archive stays
// byte for byte and nothing is left behind; images at the limits install; a broken thumbnail
// costs only its thumbnail.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "Foundation/NSError.h"
#include "TesselSDK/remote/QZContentPackResourceArchive.h"
#include "TesselSDK/remote/QZDownloadOperation.h"
#include "TesselSDK/remote/QZFrameContentPackItem.h"
#include "TesselSDK/remote/tests/QZContentPackDownloadSupport.h"

namespace {

namespace fs = std::filesystem;
using Archive = QZContentPackResourceArchive;

const std::string kOK = R"({"status": "OK"})";

std::string randomBytes(std::size_t length)
{
    std::string bytes(length, '\0');
    for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>((i * 2654435761u + 12345) >> 13);
    return bytes;
}

const std::string kSVG = R"(<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64"><rect width="64" height="64"/></svg>)";
// A whole 1 x 1 GIF.
const std::string kGIF("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff!\xf9\x04\x01\x00\x00\x00\x00,"
                       "\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02D\x01\x00;",
                       43);

class QZContentPackImageCheckTest : public QZContentPackDownloadFixture {
protected:
    // A sticker pack's full-size set: one sticker, its large image given.
    ZipBuilder stickerArchive(const std::string& large)
    {
        ZipBuilder builder;
        builder.addStored("status.json", kOK)
            .addStored("s1-small.png", qz_archive_test::squarePNG(8))
            .addStored("s1-large.png", large);
        return builder;
    }
    // A frame pack's full-size set: sixteen pieces of frame "f1", the top one given.
    ZipBuilder frameArchive(const std::string& top)
    {
        ZipBuilder builder;
        builder.addStored("status.json", kOK);
        for (std::size_t piece = 0; piece < kQZFramePieceCount; ++piece) {
            const std::string suffix = QZFrameContentPackItem::suffixForPiece(static_cast<QZFramePiece>(piece));
            builder.addStored("f1" + suffix + ".png", suffix == "_t" ? top : qz_archive_test::squarePNG(4));
        }
        return builder;
    }
    // A fresh pack whose archive (or thumbnails) the server answers with these bytes.
    std::shared_ptr<QZContentPackResourceProvider> provider(const std::string& identifier, const std::string& bytes,
                                                            bool thumbnails = false)
    {
        const std::string suffix = thumbnails ? "_thumbnail.zip" : ".zip";
        server.setRoute("/" + identifier + suffix, binary(bytes));
        auto stored = pack(identifier);
        return thumbnails ? stored->thumbnailResourceProvider() : stored->highResolutionResourceProvider();
    }
    // Downloads and waits until the provider has reset.
    void download(QZContentPackResourceProvider& provider)
    {
        events.clear();
        provider.downloadResources();
        EXPECT_TRUE(provider.isDownloading());
        EXPECT_TRUE(DispatchRunLoop::runUntil([&] { return !provider.isDownloading(); }, 30));
        settle();
    }
    std::shared_ptr<QZContentPackResourceProvider> download(const std::string& identifier, const std::string& bytes,
                                                            bool thumbnails = false)
    {
        auto made = provider(identifier, bytes, thumbnails);
        EXPECT_EQ(made->state(), 1);
        download(*made);
        return made;
    }
    std::set<std::string> sandboxTree() const
    {
        std::set<std::string> paths;
        for (const std::string& path : tree(sandbox->root()))
            if (path.find(kQZContentStoreFileName) == std::string::npos) paths.insert(path);
        return paths;
    }
};

TEST_F(QZContentPackImageCheckTest, APackWithABrokenOrOversizedImageIsRefusedAndTheInstalledOneKept)
{
    using qz_archive_test::blackBitmapPNG;
    struct Case {
        const char* name;
        ZipBuilder archive;
        std::string refusedEntry;
    };
    const std::vector<Case> cases = {
        {"sticker: random bytes", stickerArchive(randomBytes(3000)), "s1-large.png"},
        {"sticker: 0 bytes", stickerArchive(""), "s1-large.png"},
        {"sticker: SVG", stickerArchive(kSVG), "s1-large.png"},
        {"sticker: GIF", stickerArchive(kGIF), "s1-large.png"},
        {"sticker: a PNG cut short", stickerArchive(qz_archive_test::squarePNG(64).substr(0, 60)), "s1-large.png"},
        {"sticker: one past the longer side", stickerArchive(blackBitmapPNG(Archive::kMaximumStickerImageSide + 1, 4)),
         "s1-large.png"},
        {"sticker: 30000 x 4", stickerArchive(blackBitmapPNG(30000, 4)), "s1-large.png"},
        {"sticker: one row past the pixel cap", stickerArchive(blackBitmapPNG(2048, 2049)), "s1-large.png"},
        {"frame: random bytes", frameArchive(randomBytes(3000)), "f1_t.png"},
        {"frame: 0 bytes", frameArchive(""), "f1_t.png"},
        {"frame: SVG", frameArchive(kSVG), "f1_t.png"},
        {"frame: GIF", frameArchive(kGIF), "f1_t.png"},
        {"frame: one past the piece's side", frameArchive(blackBitmapPNG(4, Archive::kMaximumFramePieceSide + 1)),
         "f1_t.png"},
        {"frame: 8000 x 8000 piece", frameArchive(blackBitmapPNG(8000, 8000)), "f1_t.png"},
        {"any image over the archive's pixel cap",
         ZipBuilder().addStored("status.json", kOK).addStored("texture.png", blackBitmapPNG(8193, 8192)),
         "texture.png"},
    };
    // The download's own folder, empty once it is over: what else appears is what it left.
    fs::create_directories(temporaryDirectory());
    int number = 0;
    for (const Case& c : cases) {
        for (bool installedFirst : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (installedFirst ? ", over an installed archive" : ""));
            const std::string identifier = std::string("img") + std::to_string(++number);
            const fs::path installed = contentDirectory() / (identifier + ".zip");
            const std::string before = archiveBytes(stickerArchive(qz_archive_test::squarePNG(16)));
            auto provider = this->provider(identifier, archiveBytes(c.archive));
            ASSERT_EQ(provider->state(), 1);  // read before the archive appears: state 3 downloads nothing
            if (installedFirst) write(installed, before);
            const std::set<std::string> sandboxBefore = sandboxTree();
            download(*provider);
            ASSERT_NE(provider->lastDownloadError(), nullptr);
            EXPECT_EQ(provider->lastDownloadError()->domain(), kQZDownloadValidationErrorDomain);
            EXPECT_NE(provider->lastDownloadError()->localizedDescription().find(c.refusedEntry), std::string::npos)
                << provider->lastDownloadError()->localizedDescription();
            bool failed = false;
            for (const auto& event : events) failed = failed || event.name == "fail";
            EXPECT_TRUE(failed);
            EXPECT_EQ(provider->state(), installedFirst ? 3 : 1);
            if (installedFirst) {
                EXPECT_EQ(readFile(installed), before) << "byte-identical";
            }
            EXPECT_EQ(sandboxTree(), sandboxBefore) << "nothing new anywhere under the sandbox root";
            EXPECT_TRUE(tree(temporaryDirectory()).empty());
        }
    }
}

TEST_F(QZContentPackImageCheckTest, ImagesAtTheLimitsInstallAndOnePastTheTotalDoesNot)
{
    using qz_archive_test::blackBitmapPNG;
    // Sixteen pieces of 4096 x 1024 decode to exactly the total allowed; one row more is past it.
    auto pieces = [](std::uint32_t lastHeight) {
        ZipBuilder builder;
        builder.addStored("status.json", kOK);
        for (std::size_t piece = 0; piece < kQZFramePieceCount; ++piece)
            builder.addStored(std::string("f1") + QZFrameContentPackItem::suffixForPiece(static_cast<QZFramePiece>(piece)) + ".png",
                              blackBitmapPNG(4096, piece + 1 == kQZFramePieceCount ? lastHeight : 1024));
        return builder;
    };
    static_assert(16ull * 4096 * 1024 * 4 == Archive::kMaximumDecodedImageLength);
    struct Case {
        const char* name;
        ZipBuilder archive;
        bool installs;
    };
    const std::vector<Case> cases = {
        {"sticker at its longer side", stickerArchive(blackBitmapPNG(Archive::kMaximumStickerImageSide, 4)), true},
        {"sticker at its pixel cap", stickerArchive(blackBitmapPNG(2048, 2048)), true},
        {"frame piece at its side", frameArchive(blackBitmapPNG(4, Archive::kMaximumFramePieceSide)), true},
        {"the pack's images at the total", pieces(1024), true},
        {"one row past the total", pieces(1025), false},
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string identifier = std::string("limit") + std::to_string(++number);
        auto provider = download(identifier, archiveBytes(c.archive));
        EXPECT_EQ(provider->state(), c.installs ? 3 : 1);
        EXPECT_EQ(provider->lastDownloadError() == nullptr, c.installs);
        if (!c.installs) {
            EXPECT_NE(provider->lastDownloadError()->localizedDescription().find("in all"), std::string::npos);
        }
    }
}

TEST_F(QZContentPackImageCheckTest, ABrokenThumbnailCostsOnlyItsThumbnail)
{
    const std::string archive = archiveBytes(ZipBuilder()
                                                 .addStored("status.json", kOK)
                                                 .addStored("good_thumbnail.png", qz_archive_test::squarePNG(8))
                                                 .addStored("broken_thumbnail.png", randomBytes(500))
                                                 .addStored("huge_thumbnail.png",
                                                            qz_archive_test::blackBitmapPNG(9000, 9000)));
    auto provider = download("thumbs", archive, true);
    EXPECT_EQ(provider->state(), 3);
    EXPECT_EQ(provider->lastDownloadError(), nullptr);
    EXPECT_NE(provider->imageNamed("good_thumbnail.png"), nullptr);
    EXPECT_EQ(provider->imageNamed("broken_thumbnail.png"), nullptr);
    EXPECT_EQ(provider->imageNamed("huge_thumbnail.png"), nullptr);
}

// An archive installed before its images were checked still answers no image past its entry's
// limits: a 30000 x 4 large image is refused where the same picture as a small one is not.
TEST_F(QZContentPackImageCheckTest, AnArchiveAnswersNoImagePastItsEntrysLimits)
{
    const std::string path = sandbox->path("unchecked.zip");
    const std::string strip = qz_archive_test::blackBitmapPNG(30000, 4);
    ASSERT_TRUE(ZipBuilder().addStored("status.json", kOK).addStored("s1-large.png", strip).addStored("s1-small.png", strip).writeTo(path));
    auto archive = Archive::make(path);
    EXPECT_EQ(archive->imageNamed("s1-large.png"), nullptr);
    EXPECT_NE(archive->imageNamed("s1-small.png"), nullptr);
}

}  // namespace
