#pragma once
// What a text field tells about its editing. All optional.

class QZTextField;

class QZTextFieldDelegate {
public:
    virtual ~QZTextFieldDelegate() = default;
    virtual void textFieldDidBeginEditing(QZTextField*) {}
    virtual void textFieldDidChange(QZTextField*) {}
    virtual void textFieldDidEndEditing(QZTextField*) {}
};
