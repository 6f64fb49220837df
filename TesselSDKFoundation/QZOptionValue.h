#pragma once
// One value stored for a customization option: a plain value, or a block computed at every read.

#include <functional>
#include <memory>
#include <string>

#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

// Computes an option's value when it is read.
using QZOptionValueBlock = std::function<Value()>;

class QZOptionValue : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<QZOptionValue> optionValueWithValue(Value value);
    static std::shared_ptr<QZOptionValue> optionValueWithValueBlock(QZOptionValueBlock block);

    // The plain value, or the block's result computed now; nil when neither is set.
    Value value() const;

    const Value& optionValue() const { return optionValue_; }
    // Marks the entry as a plain value; the block, if any, is kept but no longer used.
    void setOptionValue(Value value);
    const QZOptionValueBlock& optionValueBlock() const { return optionValueBlock_; }
    // Marks the entry as a block; the plain value, if any, is kept but no longer used.
    void setOptionValueBlock(QZOptionValueBlock block);
    bool blockType() const { return blockType_; }

    std::string description() const override;

private:
    Value optionValue_;
    QZOptionValueBlock optionValueBlock_;
    bool blockType_ = false;
};
