#pragma once
// One caption field of the meme tool's panel: a rounded field that mirrors its caption, or shows
// "Top Line" / "Bottom Line" faded while the caption is empty, with a clear button (shown only
// while there is text) and a tap target over the rest that asks for the caption to be typed. The
// tap target carries the accessibility label "Top caption" or "Bottom caption". Main thread only.

#include "TesselSDK/tools/meme/QZMemeTextFieldDelegate.h"

#include "TesselSDKFoundation/QZView.h"

#include "UIKit/UIButton.h"
#include "UIKit/UILabel.h"

#include <memory>
#include <string>

class QZMemeTextField : public QZView {
public:
    using QZView::QZView;

    const std::shared_ptr<UILabel>& label() const { return label_; }
    std::shared_ptr<QZMemeTextFieldDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<QZMemeTextFieldDelegate> delegate) { delegate_ = std::move(delegate); }
    bool isTopTextField() const { return topTextField_; }
    // Also shows the matching placeholder.
    void setTopTextField(bool top);
    const std::shared_ptr<QZView>& contentView() const { return contentView_; }
    const std::shared_ptr<UIButton>& clearButton() const { return clearButton_; }
    // The clear button over the content that starts typing the caption.
    const std::shared_ptr<UIButton>& tapButton() const { return tapButton_; }

    // Styles the label (bold 14, white, the theme's text shadow), places it in the content view
    // less 10 in width, and returns it.
    std::shared_ptr<UILabel> configLabel(std::shared_ptr<UILabel> label);
    // Empty: the placeholder in the theme's text colour at 0.8, no clear button. Else the text in
    // that colour, the clear button shown.
    void setText(const std::string& text);

    void clearButtonPressed();
    void textFieldTouched();

protected:
    void prepareView() override;

private:
    std::shared_ptr<UILabel> label_;
    std::weak_ptr<QZMemeTextFieldDelegate> delegate_;
    bool topTextField_ = false;
    std::shared_ptr<QZView> contentView_;
    std::shared_ptr<UIButton> clearButton_;
    std::shared_ptr<UIButton> tapButton_;
};
