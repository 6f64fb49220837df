#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QZContentStoreFixture.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDK/remote/QZContentPackAnalytics.h"
#include "TesselSDK/remote/QZContentPackItem.h"
#include "TesselSDK/remote/QZEffectContentPackItem.h"
#include "TesselSDK/remote/QZFrameContentPackItem.h"
#include "TesselSDK/remote/QZStickerContentPackItem.h"
#include "TesselSDKImaging/Modules/QZOriginalModule.h"

namespace {

using QZContentPackTest = QZContentStoreFixture;

TEST_F(QZContentPackTest, ThePackTypeChoosesTheRecordClassesAndTheToolKey)
{
    const std::string noType =
        "+[QZContentPack updateOrCreateWithDictionary:inManagedObjectContext:] Expected a valid 'packType' attribute.";
    struct Case {
        std::string typeEntry;  // the document's "packType" member, or nothing
        std::string className;
        std::string entity;
        std::string itemClassName;
        std::string itemEntity;
        const char* toolKey;
        std::vector<std::string> log;
    };
    const std::vector<Case> cases = {
        {R"("packType": "effect",)",
         "QZEffectContentPack",
         "EffectPack",
         "QZEffectContentPackItem",
         "EffectPackItem",
         kQZEffects,
         {}},
        {R"("packType": "frame",)",
         "QZFrameContentPack",
         "FramePack",
         "QZFrameContentPackItem",
         "FramePackItem",
         kQZFrames,
         {}},
        {R"("packType": "sticker",)",
         "QZStickerContentPack",
         "StickerPack",
         "QZStickerContentPackItem",
         "StickerPackItem",
         kQZStickers,
         {}},
        {R"("packType": "brush",)", "QZContentPack", "Pack", "QZContentPackItem", "PackItem", nullptr, {noType}},
        {R"("packType": 3,)", "QZContentPack", "Pack", "QZContentPackItem", "PackItem", nullptr, {noType}},
        {"", "QZContentPack", "Pack", "QZContentPackItem", "PackItem", nullptr, {noType}},
    };
    char identifier[] = "pA";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typeEntry);
        ++identifier[1];
        NSLogCapture log;
        auto pack = mapPack(std::string(R"({"identifier": ")") + identifier + "\", " + c.typeEntry +
                            R"( "items": [{"identifier": "i"}]})");
        ASSERT_TRUE(pack);
        EXPECT_EQ(log.lines(), c.log);
        EXPECT_EQ(pack->className(), c.className);
        EXPECT_EQ(pack->entity()->name(), c.entity);
        ASSERT_EQ(pack->orderedItems().size(), 1u);
        EXPECT_EQ(pack->orderedItems()[0]->className(), c.itemClassName);
        EXPECT_EQ(pack->orderedItems()[0]->entity()->name(), c.itemEntity);
        EXPECT_EQ(pack->toolKey() ? std::string(pack->toolKey()) : "nil", c.toolKey ? c.toolKey : "nil");
    }
}

TEST_F(QZContentPackTest, OnlyTheOriginalEffectItemAnswersAModule)
{
    auto pack = mapPack(R"({"identifier": "fx", "packType": "effect",
                            "items": [{"identifier": "original"}, {"identifier": "sepia"}]})");
    ASSERT_TRUE(pack);
    ASSERT_EQ(pack->orderedItems().size(), 2u);
    auto original = std::dynamic_pointer_cast<QZEffectContentPackItem>(pack->orderedItems()[0]);
    auto sepia = std::dynamic_pointer_cast<QZEffectContentPackItem>(pack->orderedItems()[1]);
    ASSERT_TRUE(original && sepia);

    NSLogCapture log;
    auto first = original->module();
    EXPECT_TRUE(std::dynamic_pointer_cast<QZOriginalModule>(first));
    EXPECT_NE(original->module(), first) << "each call makes a new module";
    EXPECT_TRUE(log.lines().empty());
    EXPECT_EQ(sepia->module(), nullptr);
    EXPECT_EQ(log.lines(), std::vector<std::string>{"Expected non-nil module class."});
}

TEST_F(QZContentPackTest, TargetClassForPackTypeAnswersOnTheBaseClassAndItselfOnASubclass)
{
    struct Case {
        const char* classObject;
        const char* packType;
        const char* expected;  // null: no class
    };
    const Case cases[] = {
        {"QZContentPack", "effect", "QZEffectContentPack"},
        {"QZContentPack", "sticker", "QZStickerContentPack"},
        {"QZContentPack", "frame", "QZFrameContentPack"},
        {"QZContentPack", "brush", nullptr},
        {"QZContentPack", "", nullptr},
        {"QZFrameContentPack", "effect", "QZFrameContentPack"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.classObject) + " " + c.packType);
        auto found = packClass(c.classObject)->targetClassForPackType(c.packType);
        EXPECT_EQ(found ? found->name() : "nil", c.expected ? c.expected : "nil");
    }
}

TEST_F(QZContentPackTest, AnEmptyOrLowerPackVersionAsksForAnUpdate)
{
    struct Case {
        const char* stored;
        const char* offered;
        bool update;
    };
    const Case cases[] = {{"", "1.0", true}, {"1.2", "1.10", true}, {"1.2", "1.2", false}, {"1.10", "1.9", false}};
    auto pack = mapPack(R"({"identifier": "p", "packType": "effect"})");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.stored) + " -> " + c.offered);
        pack->setValueForKey(*c.stored ? Value(c.stored) : Value(), "packVersion");
        EXPECT_EQ(pack->requiresUpdateToVersion(c.offered), c.update);
    }
}

TEST_F(QZContentPackTest, AnalyticsAreMadeOnceAndGoWithTheirPack)
{
    auto pack = mapPack(R"({"identifier": "p", "packType": "sticker",
                            "items": [{"identifier": "a"}, {"identifier": "b"}, {"identifier": "gone"}]})");
    mapPack(R"({"identifier": "p", "packType": "sticker", "items": [{"identifier": "a"}, {"identifier": "b"}]})");
    auto analytics = pack->analytics();
    ASSERT_TRUE(analytics);
    EXPECT_EQ(pack->analytics(), analytics);
    EXPECT_EQ(analytics->valueForKey("featuredViewCount"), Value(0));
    auto item = pack->orderedItems().at(0);
    auto itemAnalytics = item->analytics();
    ASSERT_TRUE(itemAnalytics);
    EXPECT_EQ(item->analytics(), itemAnalytics);
    EXPECT_EQ(itemAnalytics->valueForKey("packItem").object(), item);
    ASSERT_TRUE(save());
    EXPECT_EQ(rowCount("E_PackAnalytics"), 1);
    EXPECT_EQ(rowCount("E_PackItemAnalytics"), 1);
    EXPECT_EQ(rowCount("E_PackItem"), 3);

    context->deleteObject(pack);
    ASSERT_TRUE(save());
    EXPECT_EQ(rowCount("E_Pack"), 0);
    EXPECT_EQ(rowCount("E_PackItem"), 1);  // the item the last document dropped
    EXPECT_EQ(rowCount("E_PackAnalytics"), 0);
    EXPECT_EQ(rowCount("E_PackItemAnalytics"), 0);
}

}  // namespace
