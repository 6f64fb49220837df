#pragma once
// A meme caption on the canvas: a text field in the caption face, white outlined in black, typed
// in capitals, whose type shrinks while the person types so that the caption always fits its box,
// and grows back as text is deleted.
//
// The fit answers the hidden text view's question before each edit: the new text (with one more
// line when it ends in a line feed) is laid out in the caption's box as drawing lays it out. A
// deletion is always taken and may grow the type one point at a time while the text still fits,
// up to 99 (from 99 a step reaches 100). Any other edit is taken when it fits; else at the first
// smaller size above 20 that fits; else it is refused, and text, hidden text and size stay as they
// were. Main thread only.

#include "TesselSDK/tools/meme/QZMemeCaptionFonts.h"
#include "TesselSDK/tools/text/QZTextField.h"

#include <optional>
#include <string>

class QZMemeTextView : public QZTextField {
public:
    using QZTextField::QZTextField;

    // The caption's starting size, and the largest a deletion grows it back to.
    static constexpr CGFloat kDefaultFontSize = 100;
    // Edits that would need this size or less are refused.
    static constexpr CGFloat kSmallestRefusedFontSize = 20;

    // The caption face at 100 points.
    void createFont() override;
    // Also back to the caption face at 100 points.
    void clearText() override;

    // The fit (see above); the answer is whether the edit is taken.
    std::optional<bool> textViewShouldChangeTextInRangeReplacementText(UITextView* textView, NSRange range,
                                                                       const std::string& replacement) override;
    // Whether the whole text shows in the caption's box at `size` in the caption's face.
    bool textFitsAtSize(const std::string& text, CGFloat size);

protected:
    // The field's, then the caption's size, colours and capitals.
    void prepareView() override;

private:
    bool textFitsInFont(const std::string& text, CTFontRef font) const;
    // The caption's face at the size becomes its font.
    void adoptFontSize(CGFloat size);

    QZMemeCaptionFonts fonts_;
};
