#pragma once
// Where a text field puts its block of lines: the text core's alignments under the field's names,
// so the field and the processor that redraws its text place lines alike.

#include "TesselSDKImaging/Text/QZTextLayout.h"

enum QZTextViewVerticalAlignment : int {
    QZTextFieldTopAlign = QZTextTopAlign,
    QZTextFieldCenterAlign = QZTextCenterAlign,
    QZTextFieldBottomAlign = QZTextBottomAlign,
};
