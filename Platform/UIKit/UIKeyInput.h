#pragma once
// What a responder that takes typing answers: the keyboard sends it each key while it is first
// responder. Text counts as UTF-8 here; no marked (composing) text.

#include <string>

class UIKeyInput {
public:
    virtual ~UIKeyInput() = default;
    virtual bool hasText() const = 0;
    // One key's text: a composed character, or "\n" for Return.
    virtual void insertText(const std::string& text) = 0;
    // Backspace.
    virtual void deleteBackward() = 0;
};
