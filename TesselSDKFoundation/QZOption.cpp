#include "TesselSDKFoundation/QZOption.h"

void QZOption::initWithDefaultValue(Value defaultValue, validatorBlock validator)
{
    defaultValue_ = std::move(defaultValue);
    validator_ = std::move(validator);
}

std::shared_ptr<QZOption> QZOption::optionWithOption(const std::shared_ptr<QZOption>& option)
{
    return make(option->defaultValue_, option->validator_);
}

std::shared_ptr<QZOption> QZOption::make(Value defaultValue, validatorBlock validator)
{
    return NSObject::create<QZOption>(&QZOption::initWithDefaultValue, std::move(defaultValue), std::move(validator));
}

std::shared_ptr<QZOption> QZOption::make(Value defaultValue, const QZValueClass& expectedClass)
{
    return make(std::move(defaultValue), [expectedClass](const Value& v) { return expectedClass.isKindOfClass(v); });
}

std::shared_ptr<QZOptionValue> QZOption::entryFor(std::string_view modifier)
{
    auto it = values_.find(modifier);
    return it == values_.end() ? nullptr : it->second;
}

void QZOption::setValue(Value value, std::string_view modifier)
{
    if (std::shared_ptr<QZOptionValue> entry = entryFor(modifier))
        entry->setOptionValue(std::move(value));
    else
        values_.emplace(std::string(modifier), QZOptionValue::optionValueWithValue(std::move(value)));
}

void QZOption::setValueWithBlock(QZOptionValueBlock block, std::string_view modifier)
{
    if (std::shared_ptr<QZOptionValue> entry = entryFor(modifier))
        entry->setOptionValueBlock(std::move(block));
    else
        values_.emplace(std::string(modifier), QZOptionValue::optionValueWithValueBlock(std::move(block)));
}

bool QZOption::hasValueForModifier(std::string_view modifier) const { return values_.find(modifier) != values_.end(); }

void QZOption::removeValueForModifier(std::string_view modifier)
{
    if (auto it = values_.find(modifier); it != values_.end()) values_.erase(it);
}

Value QZOption::valueWithModifier(std::string_view modifier) const
{
    // Held here: a block may change this option's values while it runs.
    auto it = values_.find(modifier);
    std::shared_ptr<QZOptionValue> entry = it == values_.end() ? nullptr : it->second;
    Value value = entry ? entry->value() : Value();
    return validateValue(value) ? value : defaultValue_;
}

bool QZOption::validateValue(const Value& value) const
{
    if (value.isNil()) return false;
    return !validator_ || validator_(value);
}
