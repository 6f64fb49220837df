#include "TesselSDKImaging/tests/QZGLInstanceTestSupport.h"

#include "CoreData/NSManagedObjectContext.h"
#include "CoreData/NSPersistentStore.h"
#include "CoreData/NSPersistentStoreCoordinator.h"
#include "QopImageCompare.h"
#include "QopLite/QLPL.h"
#include "QopLite/QopBitmap.h"
#include "TesselSDK/remote/QZContentPacksDataModel.h"
#include "TesselSDK/remote/QZEffectContentPackItem.h"
#include "TesselSDK/remote/QZEffectContentPackThumnailGenerator.h"
#include "TesselSDK/remote/QZRemoteRegisterClasses.h"

#include <memory>
#include <string>

using namespace qz_test;

namespace {

constexpr const char* kWarmRecipe = R"({"identifier": "fx1_warm", "displayName": "Warm", "processors": [
    {"name": "blendWithColor",
     "parameters": {"color": {"r": 230, "g": 140, "b": 40, "a": 255}, "blendMode": "overlay", "alpha": 0.35}},
    {"name": "contrast", "parameters": {"value": 1.1}}]})";

class QZEffectContentPackThumnailGeneratorTest : public GLManagerTest {
protected:
    void SetUp() override
    {
        GLManagerTest::SetUp();
        if (IsSkipped()) return;
        TesselSDKRemoteRegisterClasses();
        auto coordinator = NSPersistentStoreCoordinator::coordinator(QZContentPacksDataModel());
        ASSERT_TRUE(coordinator->addPersistentStoreWithType(NSInMemoryStoreType, "", Value::dictionary(), nullptr));
        context = NSManagedObjectContext::context(NSMainQueueConcurrencyType);
        context->setPersistentStoreCoordinator(coordinator);

        instance = QZOpenGLInstance::make(CGSizeMake(96, 64), QopGLRenderingModeDefault, QZQueueTypeSDK);
        ASSERT_TRUE(instance);
        ASSERT_TRUE(loadImage(instance, makeQuadrants(96, 64)));
        ASSERT_TRUE(runToCompletion([&](dispatch_block_t done) { instance->renderIdentityImageWithCompletion(done); }));
        generator = QZEffectContentPackThumnailGenerator::make(instance, CGSizeMake(32, 32));
        ASSERT_TRUE(generator);
    }
    void TearDown() override
    {
        generator.reset();
        instance.reset();
        GLManagerTest::TearDown();
    }

    std::shared_ptr<QZEffectContentPackItem> item(const std::string& identifier, const std::string& effectJSON)
    {
        auto record =
            QZManagedObjectClass::classNamed("QZEffectContentPackItem")->createInManagedObjectContext(*context);
        record->setValueForKey(identifier, "identifier");
        record->setValueForKey(effectJSON, "effectJSON");
        return std::dynamic_pointer_cast<QZEffectContentPackItem>(record);
    }
    // The thumbnail the completion received, or null when none came in time.
    std::shared_ptr<UIImage> thumbnail(QZEffectContentPackItem& effect)
    {
        std::shared_ptr<UIImage> received;
        generator->thumbnailForEffectContentPackItem(effect, [&](std::shared_ptr<UIImage> image) { received = image; });
        DispatchRunLoop::runUntil([&] { return received != nullptr; }, kTimeout);
        return received;
    }

    std::shared_ptr<NSManagedObjectContext> context;
    std::shared_ptr<QZOpenGLInstance> instance;
    std::shared_ptr<QZEffectContentPackThumnailGenerator> generator;
};

TEST_F(QZEffectContentPackThumnailGeneratorTest, OriginalIsTheCentreOfTheImageAndIgnoresItsRecipe)
{
    auto original = item("original", "this is no recipe");
    auto image = thumbnail(*original);
    ASSERT_TRUE(image);
    // The centre 64 x 64 square of the 96 x 64 quadrants, at 32 x 32.
    EXPECT_TRUE(
        qop_test::imagesAgree(makeQuadrants(32, 32), bitmapOf(image), qop_test::Tolerance{1}, "thumbnail_original"));
    EXPECT_EQ(generator->thumbnailCache()->name(), "EffectSelectionImageCache");
}

TEST_F(QZEffectContentPackThumnailGeneratorTest, ARecipeItemMatchesTheRecipeRunOnTheCPU)
{
    auto base = thumbnail(*item("original", ""));
    auto warm = thumbnail(*item("fx1_warm", kWarmRecipe));
    ASSERT_TRUE(base && warm);

    qop_test::TestBitmap expected = bitmapOf(base);
    QopJSONEffect recipe = QLPLLoadEffect(kWarmRecipe);
    ASSERT_TRUE(recipe);
    QopEffectParams_t params;
    QopEffectInitParams(&params);  // seed 0, borders on
    ASSERT_TRUE(QLPLRunEffect(recipe, expected.get(), &params));
    QLPLUnloadEffect(&recipe);
    EXPECT_FALSE(bitmapOf(warm) == bitmapOf(base)) << "the recipe changed nothing";
    EXPECT_TRUE(qop_test::imagesAgree(expected, bitmapOf(warm), qop_test::Tolerance{2}, "thumbnail_warm"));
}

TEST_F(QZEffectContentPackThumnailGeneratorTest, ACachedThumbnailCompletesBeforeTheRequestReturns)
{
    auto warm = item("fx1_warm", kWarmRecipe);
    // A nil completion still fills the cache.
    generator->thumbnailForEffectContentPackItem(*warm, nullptr);
    ASSERT_TRUE(DispatchRunLoop::runUntil(
        [&] { return generator->thumbnailCache()->objectForKey("fx1_warm").object<UIImage>() != nullptr; }, kTimeout));

    // The GL queue is paused: only a cached answer can complete now.
    instance->pauseRendering();
    std::shared_ptr<UIImage> received;
    generator->thumbnailForEffectContentPackItem(*warm, [&](std::shared_ptr<UIImage> image) { received = image; });
    EXPECT_TRUE(received);
    EXPECT_EQ(received, generator->thumbnailCache()->objectForKey("fx1_warm").object<UIImage>());
    instance->resumeRendering();
}

TEST_F(QZEffectContentPackThumnailGeneratorTest, ReleasedMidRenderTheRenderEndsAndTheTextureGoesAfterIt)
{
    auto warm = item("fx1_warm", kWarmRecipe);
    bool completed = false;
    instance->pauseRendering();
    generator->thumbnailForEffectContentPackItem(*warm, [&](std::shared_ptr<UIImage>) { completed = true; });
    generator.reset();
    instance->resumeRendering();
    ASSERT_TRUE(drainGPUQueue());
    DispatchRunLoop::runUntil([] { return false; }, 0.2);
    EXPECT_FALSE(completed) << "a released generator completes nothing";
    std::size_t thumbnailSets = 1;
    ASSERT_TRUE(
        runOnInstance(instance, [&] { thumbnailSets = instance->activeThumbnailRenderingObjectsDict().size(); }));
    EXPECT_EQ(thumbnailSets, 0u);
}

}  // namespace
