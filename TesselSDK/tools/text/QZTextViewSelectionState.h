#pragma once
// How the text box looks: no frame and no handle (not selected), the plain glass frame with the
// handle (selected), or the lit frame without it while typing (focused).

enum QZTextViewSelectionState : int {
    QZTextViewUnselectedState = 0,
    QZTextViewSelectedState = 1,
    QZTextViewFocusedState = 2,
};
