#include "QZOptionValue.h"

#include "Foundation/NSString.h"

std::shared_ptr<QZOptionValue> QZOptionValue::optionValueWithValue(Value value)
{
    auto entry = std::make_shared<QZOptionValue>();
    entry->setOptionValue(std::move(value));
    return entry;
}

std::shared_ptr<QZOptionValue> QZOptionValue::optionValueWithValueBlock(QZOptionValueBlock block)
{
    auto entry = std::make_shared<QZOptionValue>();
    entry->setOptionValueBlock(std::move(block));
    return entry;
}

Value QZOptionValue::value() const
{
    if (!blockType_) return optionValue_;
    return optionValueBlock_ ? optionValueBlock_() : Value();
}

void QZOptionValue::setOptionValue(Value value)
{
    optionValue_ = std::move(value);
    blockType_ = false;
}

void QZOptionValue::setOptionValueBlock(QZOptionValueBlock block)
{
    optionValueBlock_ = std::move(block);
    blockType_ = true;
}

std::string QZOptionValue::description() const { return NSStringWithFormat("%@", value()); }
