#pragma once
// One run of a message card's text: a title, header, overlay title, paragraph or bullet, in the
// run's font, colours and shadow. Its height is the English text's in the default font; a
// translation taller than that is shown in a smaller font (never below 8 points). A run taller
// than a third of the screen (or than the room its card gives it, where that is less) is cut to
// that, with an ellipsis, before it is laid out. The run's
// values are copied when the label is made: the message may clean its texts up while the card
// is still on screen.

#include <memory>
#include <string>

#include "CoreGraphics/CGGeometry.h"
#include "UIKit/UIImageView.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIView.h"

class QZMessageText;
class UIColor;
class UIFont;

enum QZMessageLabelType {
    QZMessageLabelTypeTitle = 0,
    QZMessageLabelTypeHeader = 1,
    QZMessageLabelTypeOverlayTitle = 2,
    QZMessageLabelTypeParagraph = 3,
    QZMessageLabelTypeBullet = 4,
};

class QZMessageLabel : public UIView {
public:
    using UIView::UIView;

    // initWithMessageType:text:width:; a `room` of 0 or more (and below a third of the screen) is
    // the tallest the run is shown.
    static std::shared_ptr<QZMessageLabel> labelWithType(QZMessageLabelType type, QZMessageText& text, CGFloat width,
                                                         CGFloat room = -1);

    QZMessageLabelType type() const { return type_; }
    CGFloat width() const { return width_; }
    const std::shared_ptr<UIFont>& defaultFont() const { return defaultFont_; }
    const std::shared_ptr<UILabel>& label() const { return label_; }
    const std::shared_ptr<UIImageView>& bulletView() const { return bulletView_; }

    // The style accessors.
    std::shared_ptr<UIFont> fontSizeForType() const;
    std::shared_ptr<UIFont> fontForTypeWithSize(CGFloat size) const;
    std::shared_ptr<UIFont> translatedFontSize() const;
    NSTextAlignment textAlignmentForType() const;
    CGFloat textWidthAfterPadding() const;

    CGSize sizeThatFits(CGSize size) const override;
    void layoutSubviews() override;

private:
    // The text as far as the card can show it in the font: tallest_ at most, the rest cut with an
    // ellipsis.
    std::string shownPart(const std::string& text, const std::shared_ptr<UIFont>& font) const;
    CGFloat heightOf(const std::string& text, const std::shared_ptr<UIFont>& font) const;

    QZMessageLabelType type_ = QZMessageLabelTypeParagraph;
    CGFloat width_ = 0;
    CGFloat tallest_ = 0;
    std::string text_;
    std::string localizedText_;
    double fontSize_ = 0;
    bool bold_ = false;
    std::shared_ptr<UIFont> defaultFont_;
    std::shared_ptr<UILabel> label_;
    std::shared_ptr<UIImageView> bulletView_;
};
