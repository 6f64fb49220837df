#pragma once
// How the keyboard treats what a key input is typed: capitalisation (applied by the keyboard as
// it types) and autocorrection (stored only: our keyboard corrects nothing).

#include "Foundation/NSObjCRuntime.h"

enum UITextAutocapitalizationType : NSInteger {
    UITextAutocapitalizationTypeNone = 0,
    UITextAutocapitalizationTypeWords = 1,
    UITextAutocapitalizationTypeSentences = 2,
    UITextAutocapitalizationTypeAllCharacters = 3,
};

enum UITextAutocorrectionType : NSInteger {
    UITextAutocorrectionTypeDefault = 0,
    UITextAutocorrectionTypeNo = 1,
    UITextAutocorrectionTypeYes = 2,
};

class UITextInputTraits {
public:
    virtual ~UITextInputTraits() = default;
    UITextAutocapitalizationType autocapitalizationType() const { return autocapitalizationType_; }
    void setAutocapitalizationType(UITextAutocapitalizationType type) { autocapitalizationType_ = type; }
    UITextAutocorrectionType autocorrectionType() const { return autocorrectionType_; }
    void setAutocorrectionType(UITextAutocorrectionType type) { autocorrectionType_ = type; }

private:
    UITextAutocapitalizationType autocapitalizationType_ = UITextAutocapitalizationTypeSentences;
    UITextAutocorrectionType autocorrectionType_ = UITextAutocorrectionTypeDefault;
};
