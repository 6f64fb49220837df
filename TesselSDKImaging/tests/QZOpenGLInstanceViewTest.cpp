// A GL instance drawing into a GL view's renderbuffer, bound through the context hand-over: what a
// person would see (the view snapshotted through its parent at screen scale 1, so that its flip
// takes part) after each way of showing an image, and the renderbuffer's removal.
#include "TesselSDKImaging/tests/QZGLInstanceTestSupport.h"

#include "TesselSDKImaging/QZOpenGLView.h"
#include "QopImageCompare.h"

#include "QopLite/QopBitmap.h"
#include "QopLite/QopColorMatrix.h"
#include "UIKit/UIWindow.h"

using qz_test::bitmapOf;
using qz_test::loadImage;
using qz_test::makeQuadrants;
using qz_test::runOnInstance;
using qz_test::runToCompletion;

namespace {

constexpr std::size_t kWidth = 37;
constexpr std::size_t kHeight = 23;

class QZOpenGLInstanceViewTest : public GLManagerTest {
protected:
    void configureDevice() override { PlatformSettings::setScreenScale(1); }

    void SetUp() override
    {
        GLManagerTest::SetUp();
        if (IsSkipped()) return;
        parent_ = UIView::viewWithFrame(CGRectMake(0, 0, kWidth, kHeight));
        view_ = QZOpenGLView::make();
        view_->setFrame(CGRectMake(0, 0, kWidth, kHeight));
        parent_->addSubview(view_);
        instance_ = QZOpenGLInstance::make(CGSizeMake(kWidth, kHeight), QopGLRenderingModeDefault, QZQueueTypeSDK);
        ASSERT_TRUE(instance_);
        ASSERT_TRUE(loadImage(instance_, input_));
    }

    qop_test::TestBitmap shown() { return bitmapOf(UIViewSnapshot(*parent_)); }

    // What the view shows after the operation's completion.
    template <class Operation>
    qop_test::TestBitmap shownAfter(Operation operation)
    {
        if (!runToCompletion(operation)) return {};
        return shown();
    }

    const qop_test::TestBitmap input_ = makeQuadrants(kWidth, kHeight);
    std::shared_ptr<UIView> parent_;
    std::shared_ptr<QZOpenGLView> view_;
    std::shared_ptr<QZOpenGLInstance> instance_;
};

TEST_F(QZOpenGLInstanceViewTest, EachWayOfShowingAnImageShowsItUpright)
{
    instance_->setRenderbufferFromOpenGLView(view_);
    EXPECT_TRUE(shownAfter([&](dispatch_block_t done) { instance_->renderIdentityImageWithCompletion(done); }) ==
                input_);
    GLuint renderbuffer = 0;
    CGFloat width = 0, height = 0;
    ASSERT_TRUE(runOnInstance(instance_, [&] {
        renderbuffer = instance_->glData()->glRenderingObjects.renderbuffer;
        width = instance_->glData()->glRenderingObjects.renderbufferWidth;
        height = instance_->glData()->glRenderingObjects.renderbufferHeight;
    }));
    EXPECT_EQ(renderbuffer, view_->colorRenderBuffer());
    EXPECT_EQ(width, kWidth);
    EXPECT_EQ(height, kHeight);

    instance_->clearCurrentFramebuffer();
    ASSERT_TRUE(runOnInstance(instance_, [] {}));
    EXPECT_FALSE(shown() == input_) << "the clear showed nothing new";
    EXPECT_TRUE(shownAfter([&](dispatch_block_t done) { instance_->showCurrentImageWithCompletion(done); }) == input_);

    // An edit, committed: the last result and the current image are the edit, the cached source
    // is still the input.
    instance_->cacheCurrentSourceImage();
    qop_test::TestBitmap edited = input_;
    QopColorMatrix_t matrix;
    QopColorMatrixSetIdentity(matrix);
    QopColorMatrixAdjSaturation(matrix, 0.2f);
    QopBitmapColorMatrixTransform(edited.get(), matrix);
    ASSERT_TRUE(runOnInstance(instance_, [&] {
        QopBitmap_t bitmap{nullptr, kWidth, kHeight, instance_->glData()};
        QopBitmapBeginGLEffectIfEnabled(&bitmap);
        QopBitmapColorMatrixTransform(&bitmap, matrix);
        QopBitmapEndGLEffectIfEnabled(&bitmap);
    }));
    const qop_test::Tolerance tolerance{1};
    EXPECT_TRUE(qop_test::imagesAgree(
        edited, shownAfter([&](dispatch_block_t done) { instance_->showLastRenderedImageWithCompletion(done); }),
        tolerance, "view_last_rendered"));
    instance_->commitChanges();
    EXPECT_TRUE(shownAfter([&](dispatch_block_t done) { instance_->showSourceImageWithCompletion(done); }) == input_);
    EXPECT_TRUE(qop_test::imagesAgree(
        edited, shownAfter([&](dispatch_block_t done) { instance_->showCurrentImageWithCompletion(done); }), tolerance,
        "view_current_after_commit"));
}

TEST_F(QZOpenGLInstanceViewTest, AfterTheRenderbufferIsDestroyedPresentsLeaveTheLayerAlone)
{
    instance_->setRenderbufferFromOpenGLView(view_);
    ASSERT_TRUE(shownAfter([&](dispatch_block_t done) { instance_->renderIdentityImageWithCompletion(done); }) ==
                input_);
    const GLuint renderbuffer = view_->colorRenderBuffer();
    ASSERT_NE(renderbuffer, 0u);

    instance_->destroyRenderbufferFromOpenGLView(view_);
    GLuint recorded = 1;
    bool stillThere = true;
    ASSERT_TRUE(runOnInstance(instance_, [&] {
        recorded = instance_->glData()->glRenderingObjects.renderbuffer;
        stillThere = glIsRenderbuffer(renderbuffer);
    }));
    EXPECT_EQ(recorded, 0u);
    EXPECT_FALSE(stillThere);
    EXPECT_EQ(view_->colorRenderBuffer(), 0u);
    EXPECT_EQ(instance_->currentImageSize().width, kWidth) << "the image went with the renderbuffer";

    // Drawn over with another image: with no target, nothing reaches the layer.
    ASSERT_TRUE(loadImage(instance_, makeQuadrants(kWidth, kHeight, 1)));
    EXPECT_TRUE(shownAfter([&](dispatch_block_t done) { instance_->renderIdentityImageWithCompletion(done); }) ==
                input_);
    instance_->presentRenderbuffer();
    EXPECT_TRUE(shownAfter([&](dispatch_block_t done) { instance_->showCurrentImageWithCompletion(done); }) == input_);
}

}  // namespace
