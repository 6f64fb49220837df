#pragma once
// What the text tool's suites share: a phone-sized key window (320 x 568 points, scale 1) with the
// built resource bundle, a delegate that logs what a text field tells it, and where a picture's
// ink lies.

#include "TesselSDK/shell/tests/QZShellTestSupport.h"
#include "TesselSDK/tools/text/QZTextField.h"

#include "UIKit/UIKeyboard.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct TextFieldLog : QZTextFieldDelegate {
    std::vector<std::string> heard;
    void textFieldDidBeginEditing(QZTextField*) override { heard.push_back("begin"); }
    void textFieldDidChange(QZTextField*) override { heard.push_back("change"); }
    void textFieldDidEndEditing(QZTextField*) override { heard.push_back("end"); }
    long count(const std::string& what) const { return std::count(heard.begin(), heard.end(), what); }
};

// The rows and columns of a picture holding ink (alpha above half, darker than mid grey, not
// the cursor's blue), in the picture's pixels; empty when none.
struct InkBox {
    int top = -1, bottom = -1, left = -1, right = -1;
    bool empty() const { return top < 0; }
};

inline InkBox inkOf(const std::shared_ptr<UIImage>& image, CGRect within = CGRectInfinite)
{
    InkBox box;
    CGImageRef pixels = image->CGImage();
    const std::size_t width = CGImageGetWidth(pixels), height = CGImageGetHeight(pixels);
    const std::uint8_t* bytes = CGImageGetBytes(pixels);
    const std::size_t stride = CGImageGetBytesPerRow(pixels);
    for (std::size_t y = 0; y < height; ++y)
        for (std::size_t x = 0; x < width; ++x) {
            if (!CGRectContainsPoint(within, CGPointMake(CGFloat(x) + 0.5f, CGFloat(y) + 0.5f))) continue;
            const std::uint8_t* p = bytes + y * stride + x * 4;
            if (p[3] < 128 || p[0] > 128 || p[2] > 128) continue;
            if (box.top < 0) box.top = int(y);
            box.bottom = int(y);
            box.left = box.left < 0 ? int(x) : std::min(box.left, int(x));
            box.right = std::max(box.right, int(x));
        }
    return box;
}

class QZTextToolTest : public QZShellTest {
protected:
    void SetUp() override
    {
        PlatformSettings::setScreenSize(320, 568);
        UIApplication::sharedApplication()->setStatusBarOrientation(UIInterfaceOrientationPortrait);
        QZShellTest::SetUp();
    }

    // A plain field with the system font, black, no autocapitalisation, in the window.
    std::shared_ptr<QZTextField> field(CGRect frame, QZTextViewVerticalAlignment alignment)
    {
        auto made = UIView::viewWithFrame<QZTextField>(frame);
        made->createFont();
        made->setAlignment(alignment);
        made->setDelegate(log_);
        window_->addSubview(made);
        return made;
    }

    std::shared_ptr<TextFieldLog> log_ = std::make_shared<TextFieldLog>();
};
