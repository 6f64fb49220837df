// The effects tool on a real GL context (skipped, never passed, where none can be made), shown as
// the root screen shows it: what each choice renders and hands over with its seed, readiness
// around a preview held on the GL queue (the preview's hop from the GL queue to the main queue is
// why this suite also runs under ThreadSanitizer), and the sizes of the store's previews.

#include "QZPackToolsGLTestSupport.h"

namespace pack_tools_gl {
namespace {

TEST_F(QZPackToolsGLTest, EachEffectChoiceIsPreviewedWithAFreshSeedAndTheLastOneHandedOver)
{
    auto tool = present<QZEffectContentPackUnifiedSelectionViewController>();
    ASSERT_TRUE(settled(*tool));
    // "Original" first: the pass-through module, borders on; the photo as it was.
    EXPECT_TRUE(std::dynamic_pointer_cast<QZOriginalModule>(tool->effectModule()));
    EXPECT_TRUE(tool->effectModule()->bordersEnabled());
    EXPECT_FALSE(tool->editButttonShouldPrompt());
    auto shown = rendered();
    ASSERT_TRUE(shown);
    EXPECT_LE(qz_test::maxDifference(*shown, photo_), 1);

    ASSERT_TRUE(tap("Tintype"));
    ASSERT_TRUE(settled(*tool));
    auto first = std::dynamic_pointer_cast<QZJSONEffectModule>(tool->effectModule());
    ASSERT_TRUE(first);
    auto tintype = std::dynamic_pointer_cast<QZEffectContentPackItem>(tool->selectedItem());
    ASSERT_TRUE(tintype);
    ASSERT_TRUE(first->jsonString());
    EXPECT_EQ(*first->jsonString(), tintype->effectJSON());
    EXPECT_TRUE(first->bordersEnabled());
    EXPECT_EQ(tool->effectKey(), "tintype");
    EXPECT_TRUE(tool->editButttonShouldPrompt());
    shown = rendered();
    ASSERT_TRUE(shown);
    EXPECT_GE(qz_test::maxDifference(*shown, photo_), 30) << "the effect did not reach the canvas";

    ASSERT_TRUE(tap("Tintype"));  // back to Original
    ASSERT_TRUE(settled(*tool));
    EXPECT_TRUE(std::dynamic_pointer_cast<QZOriginalModule>(tool->effectModule()));
    shown = rendered();
    ASSERT_TRUE(shown);
    EXPECT_LE(qz_test::maxDifference(*shown, photo_), 1);

    ASSERT_TRUE(tap("Tintype"));
    ASSERT_TRUE(settled(*tool));
    auto second = std::dynamic_pointer_cast<QZJSONEffectModule>(tool->effectModule());
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_NE(second->parameterSeed(), first->parameterSeed()) << "one seed for two previews";
    EXPECT_EQ(tool->outputModule(), second);
}

TEST_F(QZPackToolsGLTest, AnApplyDuringTheEffectsPreviewCompletesOnceItIsShown)
{
    auto tool = present<QZEffectContentPackUnifiedSelectionViewController>();
    ASSERT_TRUE(settled(*tool));
    gl_->pauseRendering();
    ASSERT_TRUE(tap("Tintype"));
    EXPECT_FALSE(tool->isReadyToApply());
    tapApply(*tool);
    EXPECT_EQ(posted_.size(), 1u);
    DispatchRunLoop::drain();
    EXPECT_TRUE(statuses_->statuses.empty()) << "applied before the preview was shown";
    EXPECT_FALSE(tool->isReadyToApply());
    gl_->resumeRendering();
    ASSERT_TRUE(qz_test::pumpUntil([&] { return !statuses_->statuses.empty(); }));
    EXPECT_EQ(statuses_->statuses, std::vector<QZToolViewControllerStatus>{QZToolViewControllerStatusApplied});
    EXPECT_TRUE(tool->isReadyToApply());
    EXPECT_TRUE(tool->renderEndDate());
    EXPECT_EQ(posted_.size(), 1u);
}

struct PreviewSizeRow {
    const char* name;
    int idiom;  // 2: a value the device does not name
    CGFloat scale;
    CGFloat store, strip;  // pixels of a side
};

void PrintTo(const PreviewSizeRow& row, std::ostream* out)
{
    *out << row.name;
}

class QZStorePreviewSizeTest : public QZPackToolsGLTest, public ::testing::WithParamInterface<PreviewSizeRow> {};

TEST_P(QZStorePreviewSizeTest, StorePreviewsAre85PointsOr170OnATablet)
{
    const PreviewSizeRow& row = GetParam();
    PlatformSettings::setInterfaceIdiom(row.idiom);
    PlatformSettings::setScreenScale(row.scale);
    auto tool = present<QZEffectContentPackUnifiedSelectionViewController>();
    ASSERT_TRUE(tool->thumbnailGenerator());
    EXPECT_EQ(tool->thumbnailGenerator()->thumbnailSize().width, row.strip);
    EXPECT_EQ(tool->thumbnailGenerator()->thumbnailSize().height, row.strip);
    EXPECT_FALSE(tool->storePreviewGenerator()) << "made before the store is opened";
    tool->setupStorePreviewGenerator();
    ASSERT_TRUE(tool->storePreviewGenerator());
    EXPECT_EQ(tool->storePreviewGenerator()->thumbnailSize().width, row.store);
    EXPECT_EQ(tool->storePreviewGenerator()->thumbnailSize().height, row.store);
    // Both go with the tool's view.
    tool->viewWillDisappear(false);
    EXPECT_FALSE(tool->thumbnailGenerator());
    EXPECT_FALSE(tool->storePreviewGenerator());
}

INSTANTIATE_TEST_SUITE_P(Table, QZStorePreviewSizeTest,
                         ::testing::Values(PreviewSizeRow{"Phone1x", UIUserInterfaceIdiomPhone, 1, 85, 64},
                                           PreviewSizeRow{"Phone2x", UIUserInterfaceIdiomPhone, 2, 170, 128},
                                           PreviewSizeRow{"Tablet1x", UIUserInterfaceIdiomPad, 1, 170, 64},
                                           PreviewSizeRow{"Tablet2x", UIUserInterfaceIdiomPad, 2, 340, 128},
                                           PreviewSizeRow{"UnknownIdiom1x", 2, 1, 85, 64},
                                           PreviewSizeRow{"UnknownIdiom2x", 2, 2, 170, 128}),
                         [](const ::testing::TestParamInfo<PreviewSizeRow>& row) {
                             return std::string(row.param.name);
                         });

}  // namespace
}  // namespace pack_tools_gl
