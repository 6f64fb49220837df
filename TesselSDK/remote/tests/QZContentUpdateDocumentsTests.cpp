#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Foundation/NSLogCapture.h"
#include "TesselSDK/remote/QZContentUpdateDocuments.h"

namespace {

Value::Data bytes(const std::string& text)
{
    return Value::Data(text.begin(), text.end());
}

std::string packDocument(const std::string& type, const std::string& items, const std::string& extra = "")
{
    return R"({"identifier": "p1", "packType": ")" + type +
           R"(", "displayName": "P", "displayDescription": "D", "codeName": "c", "assetVersion": "1",
              "requiresDownload": true)" +
           extra + (items.empty() ? "" : ", \"items\": " + items) + "}";
}

}  // namespace

TEST(QZContentUpdateDocumentsTest, VersionDocumentsNeedBothStrings)
{
    struct Case {
        const char* body;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {R"({"manifestVersion": "1.1", "manifestURL": "http://h/m.json"})", true},
        {R"({"manifestVersion": 1.1, "manifestURL": "http://h/m.json"})", false},
        {R"({"manifestURL": "http://h/m.json"})", false},
        {R"({"manifestVersion": "1.1", "manifestURL": null})", false},
        {R"({"manifestVersion": "1.1", "manifestURL": "http://h/m.j)", false},
        {R"(["1.1"])", false},
        {"<html><body>500 Internal Server Error</body></html>", false},
        {R"({"error": "internal"})", false},
        {"", false},
    };
    for (const Case& c : cases) {
        std::string reason;
        auto read = QZReadVersionDocument(bytes(c.body), &reason);
        EXPECT_EQ(read.has_value(), c.accepted) << c.body;
        if (!read) {
            EXPECT_FALSE(reason.empty()) << c.body;
        }
    }
    std::string reason;
    auto read = QZReadVersionDocument(bytes(cases[0].body), &reason);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->manifestVersion, "1.1");
    EXPECT_EQ(read->manifestURL, "http://h/m.json");
}

TEST(QZContentUpdateDocumentsTest, ManifestShapesAbortOrRefuseSingleEntries)
{
    struct Case {
        const char* body;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {R"({"sdkVersion": "3.3", "manifestVersion": "1", "packs": []})", true},
        {R"({"sdkVersion": "3.3", "manifestVersion": "1", "packs": {}})", false},
        {R"({"sdkVersion": "3.3", "manifestVersion": "1"})", false},
        {R"({"sdkVersion": 3.3, "manifestVersion": "1", "packs": []})", false},
        {R"({"sdkVersion": "3.3", "manifestVersion": null, "packs": []})", false},
        {R"({"sdkVersion": "3.3", "manifestVersion": "1", "packs": [], "deletedPacks": "all"})", true},
    };
    for (const Case& c : cases) {
        std::string reason;
        EXPECT_EQ(QZReadManifest(bytes(c.body), &reason).has_value(), c.accepted) << c.body;
    }

    NSLogCapture log;
    std::string reason;
    auto manifest = QZReadManifest(bytes(R"({"sdkVersion": "3.3", "manifestVersion": "1.1",
        "deletedPacks": ["gone", 4, null],
        "packs": [{"identifier": "a", "packVersion": "1.0", "manifestURL": "http://h/a.json"},
                  "b",
                  {"identifier": "../evil", "packVersion": "1.0", "manifestURL": "http://h/e.json"},
                  {"identifier": "c", "manifestURL": "http://h/c.json"},
                  {"identifier": "a", "packVersion": "2.0", "manifestURL": "http://h/a2.json"},
                  {"identifier": "d", "packVersion": "1.0"},
                  {"identifier": 5, "manifestURL": "http://h/5.json"},
                  {"identifier": "..", "manifestURL": "http://h/dots.json"},
                  {"identifier": "e", "packVersion": 2, "manifestURL": "http://h/e.json"}]})"),
                                   &reason);
    ASSERT_TRUE(manifest) << reason;
    EXPECT_EQ(manifest->sdkVersion, "3.3");
    EXPECT_EQ(manifest->manifestVersion, "1.1");
    EXPECT_EQ(manifest->deletedPacks, (std::set<std::string>{"gone"}));
    ASSERT_EQ(manifest->packs.size(), 3u);
    // The first entry of an identifier wins; positions are those of the array.
    EXPECT_EQ(manifest->packs[0].identifier, "a");
    EXPECT_EQ(manifest->packs[0].manifestURL, "http://h/a.json");
    EXPECT_EQ(manifest->packs[0].index, 0);
    EXPECT_EQ(manifest->packs[1].identifier, "c");
    EXPECT_EQ(manifest->packs[1].packVersion, "");
    EXPECT_EQ(manifest->packs[1].index, 3);
    EXPECT_EQ(manifest->packs[2].identifier, "e");
    EXPECT_EQ(manifest->packs[2].packVersion, "") << "a version that is no string reads as none";
    EXPECT_EQ(manifest->packs[2].index, 8);
    // "b", "../evil", "d" (no URL), 5 and "..": refused, each counted; the repeat is only logged.
    EXPECT_EQ(manifest->refusedEntries.size(), 5u);
    EXPECT_EQ(log.lines().size(), 6u);
}

TEST(QZContentUpdateDocumentsTest, PackDocumentCheck)
{
    struct Case {
        const char* name;
        std::string document;
        bool valid;
    };
    const std::vector<Case> cases = {
        {"sticker without items", packDocument("sticker", ""), true},
        {"frame item with width", packDocument("frame", R"([{"identifier": "i", "displayName": "I", "width": 3}])"),
         true},
        {"frame item without width", packDocument("frame", R"([{"identifier": "i", "displayName": "I"}])"), false},
        {"frame item with null width",
         packDocument("frame", R"([{"identifier": "i", "displayName": "I", "width": null}])"), false},
        {"sticker item without width", packDocument("sticker", R"([{"identifier": "i", "displayName": "I"}])"), true},
        {"item without identifier", packDocument("sticker", R"([{"displayName": "I"}])"), false},
        {"item that is no object", packDocument("sticker", R"(["i"])"), false},
        {"items that are no array", packDocument("sticker", R"("x")"), false},
        {"null items", packDocument("sticker", "null"), false},
        {"brush type passes", packDocument("brush", R"([{"identifier": "i", "displayName": "I"}])"), true},
        {"null displayName", R"({"identifier": "p1", "packType": "sticker", "displayName": null,
            "displayDescription": "D", "codeName": "c", "assetVersion": "1", "requiresDownload": true})",
         false},
        {"no codeName", R"({"identifier": "p1", "packType": "sticker", "displayName": "P",
            "displayDescription": "D", "assetVersion": "1", "requiresDownload": true})",
         false},
        {"wrongly typed but present values pass the check",
         packDocument("sticker", "", R"(, "releaseDate": "yesterday")"), true},
    };
    for (const Case& c : cases) {
        std::string reason;
        EXPECT_EQ(QZPackDocumentIsValid(Value::fromJSON(c.document), "p1", &reason), c.valid) << c.name;
        if (!c.valid) {
            EXPECT_FALSE(reason.empty()) << c.name;
        }
    }
    std::string reason;
    // A document answering for another entry, or naming a place outside the content directory.
    EXPECT_FALSE(QZPackDocumentIsValid(Value::fromJSON(packDocument("sticker", "")), "p2", &reason));
    Value climbing = Value::fromJSON(packDocument("sticker", ""));
    climbing.setObject("../p1", "identifier");
    EXPECT_FALSE(QZPackDocumentIsValid(climbing, "p1", &reason));
    climbing.setObject(1, "identifier");
    EXPECT_FALSE(QZPackDocumentIsValid(climbing, "1", &reason));
}

TEST(QZContentUpdateDocumentsTest, EffectItemsKeepTheirRecipeOnlyInsideEffectJSON)
{
    const Value item = Value::fromJSON(R"({"identifier": "fx", "displayName": "Warm", "index": 9,
        "processors": [{"name": "contrast", "parameters": {"value": 1.25}}], "note": "ünï"})");
    Value document = Value::fromJSON(packDocument("effect", "[]"));
    document.setObject(Value::array({item}), "items");

    const Value formatted = QZFormattedEffectPack(document)["items"][0];
    EXPECT_EQ(formatted.allKeys(), (std::vector<std::string>{"displayName", "effectJSON", "identifier"}));
    EXPECT_EQ(formatted["identifier"], Value("fx"));
    EXPECT_EQ(formatted["displayName"], Value("Warm"));
    const std::string json = formatted["effectJSON"].stringValue();
    EXPECT_EQ(json.find('\n'), std::string::npos) << "compact text";
    EXPECT_EQ(Value::fromJSON(json), item);
}

TEST(QZContentUpdateDocumentsTest, TranslationsLeaveTheDocumentAndReachTheStoreWhenGiven)
{
    Value document = Value::fromJSON(packDocument("sticker", "", R"(,
        "translatedDisplayName": [{"language": "fr", "value": "Formes"}],
        "translatedDisplayDescription": [])"));
    const std::vector<Value> updates = QZTakePackTranslations(document);
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0]["value"], Value("P"));
    EXPECT_EQ(updates[0]["translations"][0]["value"], Value("Formes"));
    EXPECT_TRUE(document["translatedDisplayName"].isNil());
    EXPECT_TRUE(document["translatedDisplayDescription"].isNil());
}
