// Text processors drawing on two worker threads while the main thread lays out and draws labels:
// the same pixels as alone.

#include "TesselSDKImaging/Processors/QZMemeProcessor.h"
#include "TesselSDKImaging/Processors/QZTextProcessor.h"
#include "TesselSDKImaging/tests/QZTextTestSupport.h"

#include "UIKit/UIFont.h"
#include "UIKit/UITextLayout.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

qop_test::TestBitmap drawProcessors(const QZBitmapBlock& text, const QZBitmapBlock& meme)
{
    qop_test::TestBitmap bitmap = qz_test::makeBackground(160, 120);
    qz_test::drawOnCPU(text, bitmap);
    qz_test::drawOnCPU(meme, bitmap);
    return bitmap;
}

TEST(QZTextThreads, ProcessorsOnTwoQueuesAndLabelsOnTheMainThreadDrawAsAlone)
{
    auto text = QZTextProcessor::make();
    text->setText("Two threads\nat once");
    text->setForegroundColor(UIColor::colorWithRed(1, 0.8f, 0, 1));
    text->setBackgroundColor(text->foregroundColor());
    text->setRect(CGRectMake(0.1f, 0.3f, 0.8f, 0.4f));
    text->setScale(1.0f / 160);
    text->setRotation(-0.2f);
    text->setFontName("Arial-BoldMT");
    auto meme = QZMemeProcessor::make();
    meme->setTopText("TOP");
    meme->setBottomText("BOTTOM");
    meme->setTopFontSize(20);
    meme->setBottomFontSize(16);
    meme->setScale(1.0f / 160);
    meme->setTopRect(CGRectMake(0, 0, 1, 1.0f / 3));
    meme->setBottomRect(CGRectMake(0, 2.0f / 3, 1, 1.0f / 3));
    const QZBitmapBlock textBlock = text->bitmapBlock(), memeBlock = meme->bitmapBlock();
    const qop_test::TestBitmap alone = drawProcessors(textBlock, memeBlock);

    std::atomic<int> mismatches{0};
    auto worker = [&] {
        for (int i = 0; i < 8; ++i)
            if (!(drawProcessors(textBlock, memeBlock) == alone)) ++mismatches;
    };
    std::thread first(worker), second(worker);
    std::shared_ptr<UIFont> font = UIFont::systemFontOfSize(14);
    CGFloat firstWidth = 0;
    for (int i = 0; i < 20; ++i) {
        UITextLayout layout("Labels lay out on the main thread meanwhile", font, CGSizeMake(120, 200), 0,
                            NSLineBreakByWordWrapping, NSTextAlignmentCenter);
        qop_test::TestBitmap canvas(120, 80);
        CGContextRef context = QZCGContextCreateWithData(canvas.data(), CGSizeMake(120, 80));
        layout.draw(context, CGPointZero, nullptr);
        CGContextRelease(context);
        if (i == 0) firstWidth = layout.size().width;
        EXPECT_EQ(layout.size().width, firstWidth);
        EXPECT_GE(layout.lines().size(), 2u);
    }
    first.join();
    second.join();
    EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
