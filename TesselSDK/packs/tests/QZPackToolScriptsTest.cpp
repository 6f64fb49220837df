// The effects and frames scripts of examples/scripts, each on a new content root (the shipped
// packs only): through the built tessel_editor, and in-process through its host's script runner,
// where the session's module, the events, the screen, the notification for the host and a replay
// of the closed session are checked too.
#include "QZPackScriptsSupport.h"

#include "TesselSDK/packs/QZContentPackIAPSelectionViewController.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZEffectContentPackItem.h"
#include "TesselSDK/remote/QZRemoteRegisterClasses.h"

#include "TesselSDKImaging/Modules/QZJSONEffectModule.h"
#include "TesselSDKImaging/Processors/QZBeginQopEffectProcessor.h"
#include "TesselSDKImaging/Processors/QZEndQopEffectProcessor.h"
#include "TesselSDKImaging/Processors/QZStickerProcessor.h"

#include "Foundation/NSUserDefaults.h"
#include "UIKit/UIAlertView.h"

namespace pack_scripts {
namespace {

using Attributes = std::map<std::string, Value>;

// ---- Through the built program ----

class QZPackScriptsProgramTest : public QZToolScriptsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(QZPackScriptsProgramTest, EditsThePhotoOnANewContentRoot)
{
    const std::string name = GetParam();
    const std::optional<Pixels> output = runThroughProgram(name, photoPath(), dir_, dir_ / ("root-" + name));
    ASSERT_TRUE(output);
    if (name == "effects") {
        const auto reference = qopApplyRecipe(tintypeRecipe().string(), photoPath(), dir_ / "reference.png");
        ASSERT_TRUE(reference);
        expectTintype(*reference, *output);
    } else {
        expectFramed(photo_, *output);
    }
}

INSTANTIATE_TEST_SUITE_P(Packs, QZPackScriptsProgramTest, ::testing::Values("effects", "frames"),
                         [](const ::testing::TestParamInfo<const char*>& script) { return std::string(script.param); });

// ---- In-process ----

class QZPackToolScriptsTest : public QZPackScriptsInProcessTest {
protected:
    std::shared_ptr<QZContentPackItem> shippedItem(const std::string& pack, const std::string& item)
    {
        auto found = QZTesselContentManager::sharedManager()->packWithIdentifier(pack);
        if (!found) return nullptr;
        for (const auto& candidate : found->orderedItems())
            if (candidate->identifier() == item) return candidate;
        return nullptr;
    }
};

TEST_F(QZPackToolScriptsTest, EffectsAppliesTheTintypeRecipeAndAnnouncesIt)
{
    ASSERT_TRUE(useContentRoot(false));
    ASSERT_TRUE(play({"effects", "astronaut.png", nullptr}, photo_));
    const auto reference = qopApplyRecipe(tintypeRecipe().string(), photoPath(), dir_ / "reference.png");
    ASSERT_TRUE(reference);
    expectTintype(*reference, played_.result);

    const auto& modules = played_.host->editor()->session()->modules();
    ASSERT_EQ(modules.size(), 1u);
    auto effect = std::dynamic_pointer_cast<QZJSONEffectModule>(modules[0]);
    ASSERT_TRUE(effect) << "the session holds a " << modules[0]->instanceName();
    auto tintype = std::dynamic_pointer_cast<QZEffectContentPackItem>(shippedItem("classic_effects", "tintype"));
    ASSERT_TRUE(tintype);
    ASSERT_TRUE(effect->jsonString());
    EXPECT_EQ(*effect->jsonString(), tintype->effectJSON());
    EXPECT_TRUE(effect->bordersEnabled());

    EXPECT_TRUE(eventsInOrder({"tintype :selected", "tintype :applied", "Effects :applied"}));
    EXPECT_EQ(ownEvent("tintype :selected"), Attributes{});
    EXPECT_EQ(ownEvent("tintype :applied"), Attributes{});
    EXPECT_EQ(ownEvent("Effects :applied"),
              (Attributes{{"pack", Value("classic_effects")}, {"item", Value("tintype")}}));
    EXPECT_TRUE(reportedScreen("Effects"));
    ASSERT_EQ(applied_.size(), 1u);
    EXPECT_TRUE(applied_[0].objectIsNil);
    EXPECT_EQ(applied_[0].userInfo, Value::dictionary({{kQZContentPackType, "effect"},
                                                       {kQZContentPackIdentifier, "classic_effects"},
                                                       {kQZContentItemIdentifier, "tintype"}}));
    expectReplaysAgree();
}

TEST_F(QZPackToolScriptsTest, FramesDrawsOakFromItsFullResolutionPiecesWithoutAPrompt)
{
    ASSERT_TRUE(useContentRoot(false));
    // The shipped pack needs no download: the first opening offers nothing.
    ASSERT_TRUE(
        playInParts("frames", photo_, {{"screenshot 02-frames", [] { EXPECT_FALSE(UIAlertView::visibleAlert()); }}}));
    expectFramed(photo_, played_.result);

    const auto& modules = played_.host->editor()->session()->modules();
    ASSERT_EQ(modules.size(), 1u);
    QZProcessorList processors;
    modules[0]->createProcessors(processors);
    ASSERT_EQ(processors.size(), 10u);
    EXPECT_TRUE(std::dynamic_pointer_cast<QZBeginQopEffectProcessor>(processors.front()));
    EXPECT_TRUE(std::dynamic_pointer_cast<QZEndQopEffectProcessor>(processors.back()));
    // On the 512 x 512 photo every band is 0.08 of the side and 2.625 side pieces fit: 3 drawn.
    struct Expected {
        const char* piece;
        CGRect rect;
        int tileX, tileY;
    };
    const float band = 0.08f, mid = 1 - (band + band);
    const Expected expected[] = {
        {"left", CGRectMake(0, band, band, mid), 1, 3},
        {"right", CGRectMake(1 - band, band, band, mid), 1, 3},
        {"top", CGRectMake(band, 0, mid, band), 3, 1},
        {"bottom", CGRectMake(band, 1 - band, mid, band), 3, 1},
        {"top left", CGRectMake(0, 0, band, band), 1, 1},
        {"top right", CGRectMake(1 - band, 0, band, band), 1, 1},
        {"bottom left", CGRectMake(0, 1 - band, band, band), 1, 1},
        {"bottom right", CGRectMake(1 - band, 1 - band, band, band), 1, 1},
    };
    for (std::size_t i = 0; i < 8; ++i) {
        SCOPED_TRACE(expected[i].piece);
        auto piece = std::dynamic_pointer_cast<QZStickerProcessor>(processors[i + 1]);
        ASSERT_TRUE(piece);
        EXPECT_TRUE(piece->isFrameType());
        EXPECT_EQ(piece->rotation(), 0);
        EXPECT_FLOAT_EQ(piece->relativeStickerRect().origin.x, expected[i].rect.origin.x);
        EXPECT_FLOAT_EQ(piece->relativeStickerRect().origin.y, expected[i].rect.origin.y);
        EXPECT_FLOAT_EQ(piece->relativeStickerRect().size.width, expected[i].rect.size.width);
        EXPECT_FLOAT_EQ(piece->relativeStickerRect().size.height, expected[i].rect.size.height);
        EXPECT_EQ(piece->tileX(), expected[i].tileX);
        EXPECT_EQ(piece->tileY(), expected[i].tileY);
        // Oak's pieces for the photo are 200 pixels thick; the editing ones 50.
        ASSERT_TRUE(piece->stickerImage());
        const CGSize size = piece->stickerImage()->size();
        EXPECT_EQ(std::min(size.width, size.height), 200);
    }

    EXPECT_EQ(NSUserDefaults::standardUserDefaults()->objectForKey(kQZToolControllerHasLaunchedDictionary),
              Value::dictionary({{"Frames", true}}));
    EXPECT_TRUE(eventsInOrder({"oak :selected", "oak :applied", "Frames :applied"}));
    EXPECT_EQ(ownEvent("Frames :applied"), (Attributes{{"pack", Value("classic_frames")}, {"item", Value("oak")}}));
    EXPECT_TRUE(reportedScreen("Frames"));
    ASSERT_EQ(applied_.size(), 1u);
    EXPECT_EQ(applied_[0].userInfo, Value::dictionary({{kQZContentPackType, "frame"},
                                                       {kQZContentPackIdentifier, "classic_frames"},
                                                       {kQZContentItemIdentifier, "oak"}}));
    expectFullSizeReplayAgrees();
}

// No effect pack at all: nothing is previewed, Apply hands over no module, and the editor records
// nothing for the tool; the photo comes back as it was.
TEST_F(QZPackToolScriptsTest, EffectsWithNoPackHandsOverNoModule)
{
    ASSERT_TRUE(useContentRoot(false));
    TesselSDKRemoteRegisterClasses();  // as the editor does when it opens
    auto manager = QZTesselContentManager::sharedManager();
    auto context = manager->contentPackManagedObjectContext();
    int removed = 0;
    for (const auto& pack : manager->contentPacks())
        if (pack->packType() == "effect") {
            context->deleteObject(pack);
            ++removed;
        }
    ASSERT_EQ(removed, 1);
    std::shared_ptr<NSError> error;
    ASSERT_TRUE(context->save(&error));

    const std::vector<std::string> lines{"wait 1", "tap Effects", "wait 0.5", "tap Apply", "wait 0.5", "tap Done"};
    ASSERT_TRUE(play("effects-without-packs", lines, photo_));
    EXPECT_TRUE(played_.host->editor()->session()->modules().empty());
    EXPECT_LE(qz_test::maxDifference(played_.result, photo_), 1);
    EXPECT_TRUE(applied_.empty());
    EXPECT_EQ(ownEvent("Effects :applied"), (Attributes{{"pack", Value("originalImage")}, {"item", Value("unknown")}}));
}

}  // namespace
}  // namespace pack_scripts
