// The text core on both paths over a photo: the GPU path puts the same ink where the CPU does.

#include "TesselSDKImaging/Processors/QZMemeProcessor.h"
#include "TesselSDKImaging/Processors/QZTextProcessor.h"
#include "TesselSDKImaging/tests/QZGLTestSupport.h"
#include "TesselSDKImaging/tests/QZTextTestSupport.h"

#include "QopLite/QopGL.h"

#include <gtest/gtest.h>

namespace {

using QZTextOnBothPaths = GLManagerTest;

struct Drawn {
    qop_test::TestBitmap cpu, gpu;
};

template <class Processor>
Drawn drawBoth(const std::shared_ptr<QZOpenGLManager>& manager, const std::shared_ptr<Processor>& processor,
               const qop_test::TestBitmap& photo)
{
    Drawn d{photo, photo};
    qz_test::drawOnCPU(processor->bitmapBlock(), d.cpu);
    QZQopBitmapBlock block = processor->qopBitmapBlock();
    EXPECT_TRUE(qz_test::runGL(manager, [&] {
        d.gpu.get()->glData = manager->glData();
        QopGLCreateEffect(d.gpu.get());
        block(d.gpu.get(), nullptr);
        QopGLFinalizeEffect(d.gpu.get());
        d.gpu.get()->glData = nullptr;
    }));
    return d;
}

void expectSameInk(const Drawn& d, const qop_test::TestBitmap& photo, const char* what)
{
    qz_test::Ink cpu = qz_test::inkOf(d.cpu, photo), gpu = qz_test::inkOf(d.gpu, photo);
    ASSERT_GT(cpu.area, 100) << what;
    EXPECT_NEAR(gpu.left, cpu.left, 2) << what;
    EXPECT_NEAR(gpu.right, cpu.right, 2) << what;
    EXPECT_NEAR(gpu.top, cpu.top, 2) << what;
    EXPECT_NEAR(gpu.bottom, cpu.bottom, 2) << what;
    EXPECT_NEAR(gpu.cx, cpu.cx, 1.5) << what;
    EXPECT_NEAR(gpu.cy, cpu.cy, 1.5) << what;
    EXPECT_NEAR(double(gpu.area), double(cpu.area), 0.05 * double(cpu.area)) << what;
}

TEST_F(QZTextOnBothPaths, TextAndCaptionsLandAlikeOnALandscapePhoto)
{
    qop_test::TestBitmap photo;
    QOP_LOAD_PHOTO_OR_SKIP("chelsea.png", photo);
    const CGFloat longer = CGFloat(std::max(photo.width(), photo.height()));

    auto text = QZTextProcessor::make();
    text->setText("Hello,\nTessel");
    text->setForegroundColor(UIColor::colorWithRed(0.19f, 1, 0.19f, 1));
    text->setBackgroundColor(text->foregroundColor());
    text->setRect(CGRectMake(0.1f, 0.4f, 0.8f, 0.2f));
    text->setScale(1.5f / longer);
    text->setRotation(0.25f);
    text->setFontName("ArialMT");
    expectSameInk(drawBoth(manager_, text, photo), photo, "rotated text");

    auto meme = QZMemeProcessor::make();
    meme->setTopText("WHEN THE TESTS");
    meme->setBottomText("PASS FIRST TIME");
    meme->setTopFontSize(80);
    meme->setBottomFontSize(60);
    meme->setScale(1 / longer);
    meme->setTopRect(CGRectMake(0, 0, 1, 1.0f / 3));
    meme->setBottomRect(CGRectMake(0, 2.0f / 3, 1, 1.0f / 3));
    expectSameInk(drawBoth(manager_, meme, photo), photo, "meme captions");
}

TEST_F(QZTextOnBothPaths, BoxesWithoutAreaDrawNothing)
{
    const qop_test::TestBitmap photo = qz_test::makeBackground(120, 80);
    for (CGRect rect : {CGRectMake(0.1f, 0.1f, 0, 0.5f), CGRectMake(0.1f, 0.1f, 0.5f, 0)}) {
        auto text = QZTextProcessor::make();
        text->setText("Nothing");
        text->setRect(rect);
        text->setScale(1.0f / 120);
        text->setFontName("ArialMT");
        Drawn d = drawBoth(manager_, text, photo);
        EXPECT_TRUE(d.gpu == photo);
        EXPECT_TRUE(d.cpu == photo);
    }
}

}  // namespace
