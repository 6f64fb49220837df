#pragma once

class QZMemeTextField;

// What a caption field of the meme panel tells its screen.
class QZMemeTextFieldDelegate {
public:
    virtual ~QZMemeTextFieldDelegate() = default;
    // The clear button was tapped (the field shows its placeholder afterwards).
    virtual void memeTextFieldDidClear(QZMemeTextField* field) = 0;
    // The field was tapped: its caption is to be typed.
    virtual void memeTextFieldDidTap(QZMemeTextField* field) = 0;
};
