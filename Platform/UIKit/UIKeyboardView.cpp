#include "UIKit/UIKeyboardView.h"

#include "UIKit/UIBezierPath.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIFont.h"
#include "UIKit/UIStringDrawing.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A key: its place in units of the row height (x from the row's left, width), and its caption.
struct KeyCap {
    CGFloat x;
    CGFloat width;
    std::string caption;
};

std::vector<std::vector<KeyCap>> layoutRows()
{
    auto letters = [](const std::string& row, CGFloat indent) {
        std::vector<KeyCap> keys;
        for (std::size_t i = 0; i < row.size(); ++i) keys.push_back({indent + CGFloat(i), 1, std::string(1, row[i])});
        return keys;
    };
    std::vector<std::vector<KeyCap>> rows{letters("QWERTYUIOP", 0), letters("ASDFGHJKL", 0.5f),
                                          letters("ZXCVBNM", 1.5f)};
    rows[2].insert(rows[2].begin(), KeyCap{0, 1.3f, "\u21e7"});
    rows[2].push_back({8.7f, 1.3f, "\u232b"});
    rows.push_back({{0, 2.5f, "123"}, {2.5f, 5, "space"}, {7.5f, 2.5f, "return"}});
    return rows;
}

}  // namespace

bool UIKeyboardView::initWithFrame(CGRect frame)
{
    if (!UIView::initWithFrame(frame)) return false;
    setContentMode(UIViewContentModeRedraw);
    setOpaque(true);
    setBackgroundColor(UIColor::colorWithRed(0.82f, 0.84f, 0.86f, 1));
    return true;
}

void UIKeyboardView::drawRect(CGRect rect)
{
    UIView::drawRect(rect);
    const CGRect b = bounds();
    const auto rows = layoutRows();
    // Ten keys across the width, four rows down the height, a gap around each key.
    const CGFloat unit = b.size.width / 10;
    const CGFloat rowHeight = b.size.height / CGFloat(rows.size());
    const CGFloat gap = std::max<CGFloat>(2, std::min(unit, rowHeight) * 0.08f);
    auto font = UIFont::systemFontOfSize(std::max<CGFloat>(9, std::min(unit, rowHeight) * 0.42f));
    auto smallFont = UIFont::systemFontOfSize(std::max<CGFloat>(8, std::min(unit, rowHeight) * 0.3f));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (const KeyCap& key : rows[r]) {
            const CGRect cap = CGRectInset(
                CGRectMake(b.origin.x + key.x * unit, b.origin.y + CGFloat(r) * rowHeight, key.width * unit, rowHeight),
                gap, gap);
            const bool letter = key.caption.size() == 1;
            UIColor::colorWithWhite(0.55f, 1)->setFill();
            UIBezierPath::bezierPathWithRoundedRect(CGRectOffset(cap, 0, 1), 5)->fill();
            (letter ? UIColor::whiteColor() : UIColor::colorWithRed(0.68f, 0.7f, 0.74f, 1))->setFill();
            UIBezierPath::bezierPathWithRoundedRect(cap, 5)->fill();
            const auto& captionFont = letter ? font : smallFont;
            const CGFloat textHeight = sizeWithFont(key.caption, captionFont).height;
            UIColor::blackColor()->setFill();
            drawInRect(key.caption,
                       CGRectMake(cap.origin.x, CGRectGetMidY(cap) - textHeight / 2, cap.size.width, textHeight),
                       captionFont, NSLineBreakByClipping, NSTextAlignmentCenter);
        }
    }
}
