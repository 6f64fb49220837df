#pragma once
// What the meme tool's suites share: the phone's key window of the text tool's suites, a meme
// screen shown as the root screen shows it (the editor's bar, its canvas of 320 x 391 points below,
// the overlay inside its image view, the panel at y 455), and where a caption's text fits, measured
// apart from the caption (the caption face by name at each size).

#include "QZTextToolTestSupport.h"
#include "QZToolScreenTestSupport.h"

#include "TesselSDK/tools/meme/QZMemeViewController.h"

#include "TesselSDKImaging/Text/QZText.h"

#include "Foundation/NSStringUTF16.h"

#include <string>
#include <vector>

// Whether the whole text shows in the box in the caption face at `size`, a final line feed
// counting as one more line.
inline bool captionFits(std::string text, CGFloat size, CGRect box)
{
    if (!text.empty() && text.back() == '\n') text += "a";
    CTFontRef font = CTFontCreateWithName("Impact", size);
    CFMutableAttributedStringRef string = QZTextAttributedString(text, font, nullptr, nullptr);
    CFRelease(font);
    CTFramesetterRef framesetter = CTFramesetterCreateWithAttributedString(string);
    CFRelease(string);
    CGPathRef path = CGPathCreateWithRect(box, nullptr);
    CTFrameRef frame = CTFramesetterCreateFrame(framesetter, CFRangeMake(0, 0), path, nullptr);
    CGPathRelease(path);
    CFRelease(framesetter);
    const bool fits = CTFrameGetVisibleStringRange(frame).length == CFIndex(NSStringUTF16Length(text));
    CFRelease(frame);
    return fits;
}

// What a meme overlay tells its screen, in order ("begin 0", "begin 1", "end").
struct MemeOverlayLog : QZMemeOverlayViewDelegate {
    std::vector<std::string> heard;
    void memeOverlayDidBeginEditing(QZMemeOverlayView*, QZMemeTextBoxType box) override
    {
        heard.push_back("begin " + std::to_string(int(box)));
    }
    void memeOverlayDidEndEditing(QZMemeOverlayView*) override { heard.push_back("end"); }
};

class QZMemeToolTest : public QZTextToolTest {
protected:
    static constexpr CGRect kCanvasFrame{{0, 64}, {320, 391}};
    static constexpr CGFloat kPanelTop = 455;

    void TearDown() override
    {
        if (tool_) tool_->viewWillDisappear(false);
        tool_.reset();
        QZTextToolTest::TearDown();
    }

    // The canvas holding a photo of `imageSize` pixels, zoomed out, in the window.
    std::shared_ptr<QZScrollingImageView> makeCanvas(CGSize imageSize)
    {
        canvas_ = UIView::viewWithFrame<QZScrollingImageView>(kCanvasFrame);
        window_->addSubview(canvas_);
        canvas_->setImageSize(imageSize);
        canvas_->layoutIfNeeded();
        return canvas_;
    }

    // A meme screen without a GL instance over a canvas holding a photo of `imageSize`.
    std::shared_ptr<QZMemeViewController> presentMeme(CGSize imageSize, float panelHeight = 100)
    {
        makeCanvas(imageSize);
        auto tool = QZToolViewController::makeWithGLInstance<QZMemeViewController>(nullptr, Value(), false);
        bar_ = UIView::viewWithFrame<QZNavigationBar>(CGRectMake(0, 20, 320, 44));
        window_->addSubview(bar_);
        tool->setNavigationBar(bar_);
        tool->setDelegate(statuses_);
        tool->setTargetViewHeight(panelHeight);
        tool->setAnalyticsKey("meme");
        tool->setScrollableImageView(canvas_);
        tool->setOverlayRect(canvas_->frame());
        canvas_->setScrollingImageViewDelegate(std::static_pointer_cast<QZScrollingImageViewDelegate>(tool));
        const auto& view = tool->view();
        view->setFrame(CGRectMake(0, kPanelTop, 320, view->frame().size.height));
        window_->addSubview(view);
        canvas_->setImageOverlayView(tool->scrollableOverlayView());
        bar_->pushNavigationItem(tool->navigationItem(), false);
        tool->viewWillAppear(false);
        tool->viewDidAppear(false);
        driver_.advance(0.4);
        tool_ = tool;
        return tool;
    }

    std::shared_ptr<qz_test::StatusRecorder> statuses_ = std::make_shared<qz_test::StatusRecorder>();
    std::shared_ptr<QZScrollingImageView> canvas_;
    std::shared_ptr<QZNavigationBar> bar_;
    std::shared_ptr<QZMemeViewController> tool_;
};
