// qz_compile_content_store [--rsvg-convert PATH] PACKS OUT
// Builds what the editor ships of its packs from their sources: for each folder PACKS/<id> holding
// a pack document pack.json (and the recipes and drawings its items name), OUT/<id> receives the
// pack's files, and OUT/TesselContentPackCompiledDatabase.sqlite becomes a content store holding
// every pack, which the content manager copies into a new content root.
//
//   effects   each item's "recipe" names a JSON recipe beside pack.json; its "processors" go into
//             the item, which becomes the stored effect recipe
//   frames    each item's <item>.svg is a square whose band is the outer sixth of each side: drawn
//             at 1200 and 300 pixels and cut into corner squares and the side strips between
//             them, "<item>_t.png" ... "<item>_tl.png" and the same with "-editing"; and
//             "<item>_thumbnail.png" (@2x too)
//   stickers  each item's <item>.svg gives "<item>_thumbnail.png" (@2x too), "<item>-small.png"
//             (160 pixels) and "<item>-large.png" (512 pixels)
//   every pack's iap_preview.svg gives "iap_preview.png" of 55 points (@2x too)
//
// Everything is checked before anything is written: a malformed source stops the build with a
// message naming the file (exit 1) and leaves OUT as it was. The results are made in a staging
// folder inside OUT and renamed into place. The store is written in journal mode DELETE, so it
// is one file. Exit 2 for a malformed command line.

#include "CoreData/NSManagedObjectContext.h"
#include "CoreData/NSPersistentStore.h"
#include "CoreData/NSPersistentStoreCoordinator.h"
#include "Foundation/Value.h"
#include "ImageIO/ImageIOCodec.h"
#include "TesselSDK/remote/QZContentPacksDataModel.h"
#include "TesselSDK/remote/QZContentUpdateDocuments.h"
#include "TesselSDK/remote/QZManagedObject.h"
#include "TesselSDK/remote/QZManagedObjectClass.h"
#include "TesselSDK/remote/QZRemoteRegisterClasses.h"
#include "TesselSDK/remote/QZSafePathName.h"
#include "TesselSDK/remote/QZTesselContentManager.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage = "usage: qz_compile_content_store [--rsvg-convert PATH] PACKS OUT\n";
constexpr const char* kStaging = ".qz_compile_content_store.building";
constexpr int kPreviewPoints = 55;
constexpr int kThumbnailPoints = 60;
constexpr int kFramePixels = 1200;
constexpr int kFrameEditingPixels = 300;
constexpr int kStickerSmallPixels = 160;
constexpr int kStickerLargePixels = 512;

// A source that cannot be built from; the message names the file.
struct SourceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Pack {
    fs::path folder;
    std::string identifier;
    std::string type;
    Value document;  // as stored: effect recipes taken in and formatted
    std::vector<std::string> items;
};

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw SourceError(path.string() + ": cannot be read");
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Value readJSONObject(const fs::path& path)
{
    std::shared_ptr<NSError> error;
    Value value = Value::fromJSON(readFile(path), &error);
    if (!value.isDictionary())
        throw SourceError(path.string() + ": not a JSON object" +
                          (error ? " (" + error->localizedDescription() + ")" : std::string()));
    return value;
}

void requireFile(const fs::path& path)
{
    if (!fs::is_regular_file(path)) throw SourceError(path.string() + ": missing");
}

// Checks the pack's document and its files; effect recipes are read into their items.
Pack readPack(const fs::path& folder)
{
    const fs::path documentPath = folder / "pack.json";
    Value document = readJSONObject(documentPath);
    const std::string identifier = folder.filename().string();
    const auto fail = [&](const std::string& why) { throw SourceError(documentPath.string() + ": " + why); };
    if (!QZIsSafeResourceIdentifier(identifier)) fail("the folder's name may not name a pack");
    std::string reason;
    if (!QZPackDocumentIsValid(document, identifier, &reason)) fail(reason);

    Pack pack{folder, identifier, document["packType"].stringValue(), Value(), {}};
    if (pack.type != "effect" && pack.type != "frame" && pack.type != "sticker")
        fail("\"packType\" is none of effect, frame, sticker");
    // A shipped pack has everything with it: nothing to download, nowhere to download from.
    if (!document["requiresDownload"].isNumber() || document["requiresDownload"].boolValue())
        fail("\"requiresDownload\" must be false");
    for (const char* key : {"highResURL", "thumbnailURL"})
        if (!document[key].isNil()) fail(std::string("\"") + key + "\" has no place in a shipped pack");
    const Value itemsValue = document["items"];
    const Value::Array* items = itemsValue.asArray();
    if (!items || items->empty()) fail("a shipped pack needs items");

    Value storedItems = Value::array();
    for (std::size_t i = 0; i < items->size(); ++i) {
        Value item = (*items)[i];
        const std::string name = item["identifier"].isString() ? item["identifier"].stringValue() : std::string();
        if (!QZIsSafeResourceIdentifier(name)) fail("item " + std::to_string(i) + "'s identifier may not name a file");
        if (std::find(pack.items.begin(), pack.items.end(), name) != pack.items.end())
            fail("item identifier \"" + name + "\" repeats");
        pack.items.push_back(name);
        if (pack.type == "frame" &&
            (!item["width"].isNumber() || item["width"].doubleValue() <= 0 || item["width"].doubleValue() >= 0.5))
            fail("frame item \"" + name + "\" needs a width between 0 and 0.5");
        if (pack.type == "effect") {
            const Value recipeName = item["recipe"];
            if (!recipeName.isString() || !QZIsSafeResourceIdentifier(recipeName.stringValue()))
                fail("effect item \"" + name + "\" names no recipe file");
            const fs::path recipePath = folder / recipeName.stringValue();
            requireFile(recipePath);
            const Value recipe = readJSONObject(recipePath);
            if (!recipe["processors"].isArray())
                throw SourceError(recipePath.string() + ": \"processors\" is no array");
            item.setObject(recipe["processors"], "processors");
            item.removeObjectForKey("recipe");
        } else {
            requireFile(folder / (name + ".svg"));
        }
        storedItems.addObject(item);
    }
    requireFile(folder / "iap_preview.svg");
    document.setObject(storedItems, "items");
    pack.document = pack.type == "effect" ? QZFormattedEffectPack(document) : document;
    return pack;
}

// ---- Drawing ----

struct Pixels {
    std::size_t width = 0;
    std::size_t height = 0;
    std::vector<std::uint8_t> rgba;
};

void render(const std::string& rsvgConvert, const fs::path& svg, int pixels, const fs::path& png)
{
    const std::string size = std::to_string(pixels);
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("cannot start " + rsvgConvert);
    if (child == 0) {
        execlp(rsvgConvert.c_str(), rsvgConvert.c_str(), "--width", size.c_str(), "--height", size.c_str(),
               "--keep-aspect-ratio", "--format=png", "--output", png.c_str(), svg.c_str(),
               static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        !fs::is_regular_file(png))
        throw SourceError(svg.string() + ": cannot be drawn at " + size + " pixels");
}

Pixels decode(const fs::path& png)
{
    Pixels pixels;
    std::string error;
    const bool decoded = ImageIODecodeFile(
        png.string(),
        [&](std::size_t width, std::size_t height) -> void* {
            pixels.width = width;
            pixels.height = height;
            pixels.rgba.resize(width * height * 4);
            return pixels.rgba.data();
        },
        &error);
    if (!decoded) throw std::runtime_error(png.string() + ": " + error);
    return pixels;
}

void writeCut(const Pixels& source, std::size_t x, std::size_t y, std::size_t width, std::size_t height,
              const fs::path& png)
{
    std::vector<std::uint8_t> cut(width * height * 4);
    for (std::size_t row = 0; row < height; ++row)
        std::copy_n(&source.rgba[((y + row) * source.width + x) * 4], width * 4, &cut[row * width * 4]);
    std::string error;
    if (!ImageIOWritePNGFile(png.string(), cut.data(), width, height, &error))
        throw std::runtime_error(png.string() + ": " + error);
}

// The band is the outer sixth of each side: four corner squares and the four strips between.
void cutFrame(const fs::path& drawing, const std::string& item, const std::string& suffix, const fs::path& out)
{
    const Pixels frame = decode(drawing);
    const std::size_t side = frame.width;
    const std::size_t band = side / 6;
    const std::size_t inner = side - 2 * band;
    struct Piece {
        const char* name;
        std::size_t x, y, width, height;
    };
    const Piece pieces[] = {
        {"_t", band, 0, inner, band},           {"_tr", side - band, 0, band, band},
        {"_r", side - band, band, band, inner}, {"_br", side - band, side - band, band, band},
        {"_b", band, side - band, inner, band}, {"_bl", 0, side - band, band, band},
        {"_l", 0, band, band, inner},           {"_tl", 0, 0, band, band},
    };
    for (const Piece& piece : pieces)
        writeCut(frame, piece.x, piece.y, piece.width, piece.height, out / (item + piece.name + suffix + ".png"));
}

// A drawing at 1x and @2x of `points`.
void renderPointSizes(const std::string& rsvgConvert, const fs::path& svg, int points, const fs::path& out,
                      const std::string& name)
{
    render(rsvgConvert, svg, points, out / (name + ".png"));
    render(rsvgConvert, svg, points * 2, out / (name + "@2x.png"));
}

void drawPack(const std::string& rsvgConvert, const Pack& pack, const fs::path& out, const fs::path& scratch)
{
    fs::create_directories(out);
    renderPointSizes(rsvgConvert, pack.folder / "iap_preview.svg", kPreviewPoints, out, "iap_preview");
    for (const std::string& item : pack.items) {
        const fs::path svg = pack.folder / (item + ".svg");
        if (pack.type == "frame") {
            renderPointSizes(rsvgConvert, svg, kThumbnailPoints, out, item + "_thumbnail");
            render(rsvgConvert, svg, kFramePixels, scratch / "frame.png");
            cutFrame(scratch / "frame.png", item, "", out);
            render(rsvgConvert, svg, kFrameEditingPixels, scratch / "frame-editing.png");
            cutFrame(scratch / "frame-editing.png", item, "-editing", out);
        } else if (pack.type == "sticker") {
            renderPointSizes(rsvgConvert, svg, kThumbnailPoints, out, item + "_thumbnail");
            render(rsvgConvert, svg, kStickerSmallPixels, out / (item + "-small.png"));
            render(rsvgConvert, svg, kStickerLargePixels, out / (item + "-large.png"));
        }
    }
}

// ---- The store ----

void writeStore(const std::vector<Pack>& packs, const fs::path& path)
{
    auto coordinator = NSPersistentStoreCoordinator::coordinator(QZContentPacksDataModel());
    std::shared_ptr<NSError> error;
    const Value options = Value::dictionary({{NSSQLitePragmasOption, Value::dictionary({{"journal_mode", "DELETE"}})}});
    if (!coordinator->addPersistentStoreWithType(NSSQLiteStoreType, path.string(), options, &error))
        throw std::runtime_error(path.string() + ": " + (error ? error->localizedDescription() : "cannot be made"));
    auto context = NSManagedObjectContext::context(NSPrivateQueueConcurrencyType);
    context->setPersistentStoreCoordinator(coordinator);
    std::string failure;
    context->performBlockAndWait([&] {
        auto packClass = QZManagedObjectClass::classNamed("QZContentPack");
        for (const Pack& pack : packs)
            if (!packClass || !packClass->updateOrCreateWithDictionary(pack.document, *context)) {
                failure = (pack.folder / "pack.json").string() + ": makes no pack record";
                return;
            }
        if (!context->save(&error)) failure = path.string() + ": " + (error ? error->localizedDescription() : "");
    });
    if (!failure.empty()) throw std::runtime_error(failure);
}

// ---- Putting the results in place ----

void build(const std::string& rsvgConvert, const fs::path& packsFolder, const fs::path& out)
{
    if (!fs::is_directory(packsFolder)) throw SourceError(packsFolder.string() + ": no folder");
    std::vector<fs::path> folders;
    for (const auto& entry : fs::directory_iterator(packsFolder))
        if (entry.is_directory()) folders.push_back(entry.path());
    std::sort(folders.begin(), folders.end());
    std::vector<Pack> packs;
    for (const fs::path& folder : folders) packs.push_back(readPack(folder));

    fs::create_directories(out);
    const fs::path staging = out / kStaging;
    fs::remove_all(staging);
    fs::create_directories(staging / "scratch");
    try {
        for (const Pack& pack : packs) drawPack(rsvgConvert, pack, staging / pack.identifier, staging / "scratch");
        const std::string storeName = std::string(kQZContentStorePrebuiltName) + ".sqlite";
        writeStore(packs, staging / storeName);
        for (const char* companion : {"-wal", "-shm", "-journal"})
            if (fs::exists(staging / (storeName + companion)))
                throw std::runtime_error(storeName + " left " + companion + " beside it");
        for (const Pack& pack : packs) {
            fs::remove_all(out / pack.identifier);
            fs::rename(staging / pack.identifier, out / pack.identifier);
        }
        for (const char* companion : {"-wal", "-shm", "-journal"}) fs::remove(out / (storeName + companion));
        fs::rename(staging / storeName, out / storeName);
    } catch (...) {
        std::error_code ignored;
        fs::remove_all(staging, ignored);
        throw;
    }
    fs::remove_all(staging);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string rsvgConvert = "rsvg-convert";
    std::vector<std::string> operands;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--rsvg-convert" && i + 1 < argc) {
            rsvgConvert = argv[++i];
        } else if (!arg.empty() && arg[0] != '-') {
            operands.push_back(arg);
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    if (operands.size() != 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    TesselSDKRemoteRegisterClasses();
    try {
        build(rsvgConvert, operands[0], operands[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qz_compile_content_store: %s\n", error.what());
        return 1;
    }
    return 0;
}
