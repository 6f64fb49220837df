#pragma once
// Which meme caption: the top one, the bottom one, or none (no caption is being typed).

#include "Foundation/NSObjCRuntime.h"

enum QZMemeTextBoxType : NSInteger {
    QZMemeTextBoxNone = -1,
    QZMemeTopTextBox = 0,
    QZMemeBottomTextBox = 1,
};
