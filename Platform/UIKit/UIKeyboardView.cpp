#include "UIKit/UIKeyboardView.h"

#include "UIKit/UIBezierPath.h"
#include "UIKit/UIColor.h"
#include "UIKit/UIFont.h"
#include "UIKit/UIKeyboard.h"
#include "UIKit/UIStringDrawing.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

// A key: its place in units of the row height (x from the row's left, width), what it does (a
// character, or one of the names below) and its caption.
struct KeyCap {
    CGFloat x;
    CGFloat width;
    std::string key;
    std::string caption;
};

constexpr const char* kShift = "shift";
constexpr const char* kBackspace = "backspace";
constexpr const char* kSpace = "space";
constexpr const char* kReturn = "return";
constexpr const char* kDigitsPage = "123";
constexpr const char* kLettersPage = "ABC";

bool typesCharacter(const std::string& key)
{
    return key.size() == 1;
}

std::vector<KeyCap> characters(const std::string& row, CGFloat indent, CGFloat width = 1)
{
    std::vector<KeyCap> keys;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const std::string key(1, row[i]);
        keys.push_back({indent + CGFloat(i) * width, width, key, key});
    }
    return keys;
}

std::vector<std::vector<KeyCap>> layoutRows(bool digits)
{
    std::vector<std::vector<KeyCap>> rows;
    if (digits)
        rows = {characters("1234567890", 0), characters("-/:;()$&@\"", 0), characters(".,?!'", 1.5f, 1.4f)};
    else {
        rows = {characters("qwertyuiop", 0), characters("asdfghjkl", 0.5f), characters("zxcvbnm", 1.5f)};
        rows[2].insert(rows[2].begin(), KeyCap{0, 1.3f, kShift, "\u21e7"});
    }
    rows[2].push_back({8.7f, 1.3f, kBackspace, "\u232b"});
    const char* page = digits ? kLettersPage : kDigitsPage;
    rows.push_back({{0, 2.5f, page, page}, {2.5f, 5, kSpace, "space"}, {7.5f, 2.5f, kReturn, "return"}});
    return rows;
}

// Ten keys across the width, one row of keys per quarter of the height.
struct KeyGrid {
    CGFloat unit;
    CGFloat rowHeight;
};

KeyGrid gridIn(CGRect bounds, std::size_t rows)
{
    return {bounds.size.width / 10, bounds.size.height / CGFloat(rows)};
}

CGRect keyRect(CGRect bounds, const KeyGrid& grid, std::size_t row, const KeyCap& key)
{
    return CGRectMake(bounds.origin.x + key.x * grid.unit, bounds.origin.y + CGFloat(row) * grid.rowHeight,
                      key.width * grid.unit, grid.rowHeight);
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
    const auto rows = layoutRows(digits_);
    const KeyGrid grid = gridIn(b, rows.size());
    const CGFloat side = std::min(grid.unit, grid.rowHeight);
    const CGFloat gap = std::max<CGFloat>(2, side * 0.08f);
    auto font = UIFont::systemFontOfSize(std::max<CGFloat>(9, side * 0.42f));
    auto smallFont = UIFont::systemFontOfSize(std::max<CGFloat>(8, side * 0.3f));
    auto keyGrey = UIColor::colorWithRed(0.68f, 0.7f, 0.74f, 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (const KeyCap& key : rows[r]) {
            const CGRect cap = CGRectInset(keyRect(b, grid, r, key), gap, gap);
            const bool character = typesCharacter(key.key);
            // Pressed, a key takes the other key colour; an engaged shift looks like a letter.
            bool light = character != (key.key == pressed_);
            if (key.key == kShift && shifted_) light = true;
            UIColor::colorWithWhite(0.55f, 1)->setFill();
            UIBezierPath::bezierPathWithRoundedRect(CGRectOffset(cap, 0, 1), 5)->fill();
            (light ? UIColor::whiteColor() : keyGrey)->setFill();
            UIBezierPath::bezierPathWithRoundedRect(cap, 5)->fill();
            const std::string caption =
                character && shifted_ ? std::string(1, char(std::toupper(key.caption[0]))) : key.caption;
            const auto& captionFont = character ? font : smallFont;
            const CGFloat textHeight = sizeWithFont(caption, captionFont).height;
            UIColor::blackColor()->setFill();
            drawInRect(caption,
                       CGRectMake(cap.origin.x, CGRectGetMidY(cap) - textHeight / 2, cap.size.width, textHeight),
                       captionFont, NSLineBreakByClipping, NSTextAlignmentCenter);
        }
    }
}

std::string UIKeyboardView::keyAt(CGPoint point) const
{
    const CGRect b = bounds();
    const auto rows = layoutRows(digits_);
    const KeyGrid grid = gridIn(b, rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (const KeyCap& key : rows[r])
            if (CGRectContainsPoint(keyRect(b, grid, r, key), point)) return key.key;
    return {};
}

void UIKeyboardView::press(const std::string& key)
{
    if (key == pressed_) return;
    pressed_ = key;
    setNeedsDisplay();
}

void UIKeyboardView::strike(const std::string& key)
{
    auto keyboard = UIKeyboard::sharedKeyboard();
    if (key == kShift) {
        shifted_ = !shifted_;
    } else if (key == kDigitsPage || key == kLettersPage) {
        digits_ = key == kDigitsPage;
        shifted_ = false;
    } else if (key == kBackspace) {
        keyboard->pressBackspace();
    } else if (key == kReturn) {
        keyboard->pressReturn();
    } else if (key == kSpace) {
        keyboard->typeText(" ");
    } else if (typesCharacter(key)) {
        // Shift holds for one letter.
        keyboard->typeText(shifted_ ? std::string(1, char(std::toupper(key[0]))) : key);
        shifted_ = false;
    }
    setNeedsDisplay();
}

// One finger plays the keys; a second one landing meanwhile is ignored.
void UIKeyboardView::touchesBegan(const UITouchSet& touches, UIEvent*)
{
    if (!tracking_ && !touches.empty()) {
        tracking_ = touches.front();
        press(keyAt(tracking_->locationInView(this)));
    }
}

void UIKeyboardView::touchesMoved(const UITouchSet& touches, UIEvent*)
{
    for (const auto& touch : touches)
        if (touch == tracking_) press(keyAt(touch->locationInView(this)));
}

void UIKeyboardView::touchesEnded(const UITouchSet& touches, UIEvent*)
{
    for (const auto& touch : touches) {
        if (touch != tracking_) continue;
        const std::string key = keyAt(touch->locationInView(this));
        tracking_.reset();
        press({});
        if (!key.empty()) strike(key);
    }
}

void UIKeyboardView::touchesCancelled(const UITouchSet& touches, UIEvent*)
{
    for (const auto& touch : touches) {
        if (touch != tracking_) continue;
        tracking_.reset();
        press({});
    }
}
