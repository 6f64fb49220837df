#pragma once
// One customization option: its default, the validator that decides whether a stored value may
// be used, and the values stored for it, one per modifier (the empty modifier is the plain key).

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <typeindex>

#include "Foundation/NSObject.h"
#include "Foundation/Value.h"
#include "TesselSDKFoundation/QZOptionValidators.h"
#include "TesselSDKFoundation/QZOptionValue.h"
#include "TesselSDKFoundation/QZValueClass.h"

class QZOption : public NSObject {
public:
    using NSObject::NSObject;
    // A new option with the other's default and validator and no values.
    static std::shared_ptr<QZOption> optionWithOption(const std::shared_ptr<QZOption>& option);
    // `initWithDefaultValue:validate:`; a null validator accepts every non-nil value.
    static std::shared_ptr<QZOption> make(Value defaultValue, validatorBlock validator = nullptr);
    // `initWithDefaultValue:expectedClass:`: values must be a kind of the class.
    static std::shared_ptr<QZOption> make(Value defaultValue, const QZValueClass& expectedClass);

    const Value& defaultValue() const { return defaultValue_; }
    const validatorBlock& validator() const { return validator_; }
    const std::map<std::string, std::shared_ptr<QZOptionValue>, std::less<>>& values() const { return values_; }

    // An existing entry for the modifier is updated in place.
    void setValue(Value value, std::string_view modifier);
    void setValueWithBlock(QZOptionValueBlock block, std::string_view modifier);
    bool hasValueForModifier(std::string_view modifier) const;
    void removeValueForModifier(std::string_view modifier);
    bool isEmpty() const { return values_.empty(); }
    // The stored value (a block runs now) when the validator accepts it, else the default.
    Value valueWithModifier(std::string_view modifier) const;
    // Nil is refused; without a validator everything else is accepted.
    bool validateValue(const Value& value) const;

private:
    void initWithDefaultValue(Value defaultValue, validatorBlock validator);
    std::shared_ptr<QZOptionValue> entryFor(std::string_view modifier);

    Value defaultValue_;
    validatorBlock validator_;
    std::map<std::string, std::shared_ptr<QZOptionValue>, std::less<>> values_;
};
