#include "TesselSDKFoundation/QZOptionValue.h"

#include "Foundation/NSString.h"

std::shared_ptr<QZOptionValue> QZOptionValue::optionValueWithValue(Value value)
{
    return NSObject::create<QZOptionValue>(&QZOptionValue::setOptionValue, std::move(value));
}

std::shared_ptr<QZOptionValue> QZOptionValue::optionValueWithValueBlock(QZOptionValueBlock block)
{
    return NSObject::create<QZOptionValue>(&QZOptionValue::setOptionValueBlock, std::move(block));
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
