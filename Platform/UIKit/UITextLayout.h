#pragma once
// Text laid out in lines the way UIKit's string drawing and labels lay it out, in a box whose
// space is y down from its top left:
// - lines wrap at the box's width, by words unless the mode wraps by characters (a word too long
//   for a line breaks between characters);
// - there are as many as numberOfLines (0: no limit) and the box's height allow, one at least,
//   each one line height (the font's) below the last;
// - when text is left over, the last line holds the rest of its paragraph: clipped at the box's
//   edge (clipping), or cut with an ellipsis at the head, tail or middle (truncating modes; tail
//   truncation also shows the ellipsis when only later paragraphs are left over);
// - each line sits left, centred or right in the width, its trailing white space not counted;
// - the size is the widest line (at most the width) by the lines' heights, rounded up to whole
//   points.

#include <memory>
#include <string>
#include <vector>

#include "CoreText/CTLine.h"
#include "UIKit/UIStringDrawing.h"

class UIFont;

class UITextLayout {
public:
    struct Line {
        std::shared_ptr<const CTLine> line;
        CGPoint origin;  // of its baseline, in the box
    };

    UITextLayout(const std::string& text, const std::shared_ptr<UIFont>& font, CGSize box, NSInteger numberOfLines,
                 NSLineBreakMode lineBreakMode, NSTextAlignment alignment);

    const std::vector<Line>& lines() const { return lines_; }
    CGSize size() const { return size_; }
    // Where a label shows the text in its bounds (the box): centred vertically, placed across as
    // the alignment says.
    CGRect labelTextRect(CGRect bounds) const;

    // Draws the lines with the box's top left at `origin` in a y-down user space (a UIKit
    // context's), in `color` (null: the context's fill colour), with a sharp shadow when a colour
    // for it is given (offset in the context's shadow space: UIKit's goes down).
    void draw(CGContextRef context, CGPoint origin, CGColorRef color, CGColorRef shadowColor = nullptr,
              CGSize shadowOffset = CGSizeZero) const;

private:
    std::vector<Line> lines_;
    CGSize box_;
    CGSize size_ = CGSizeZero;
    NSLineBreakMode mode_;
    NSTextAlignment alignment_;
};
