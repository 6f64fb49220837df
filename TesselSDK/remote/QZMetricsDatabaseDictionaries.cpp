#include "TesselSDK/remote/QZMetricsDatabase.h"

std::int64_t QZMetricsDatabase::safeIntegerValueFromDictionary(const Value& dictionary, const std::string& key)
{
    Value value = dictionary.objectForKey(key);
    return value.isNumber() || value.isString() ? value.longLongValue() : 0;
}

std::optional<std::string> QZMetricsDatabase::safeStringValueFromDictionary(const Value& dictionary,
                                                                            const std::string& key)
{
    Value value = dictionary.objectForKey(key);
    if (!value.isNumber() && !value.isString()) return std::nullopt;
    return value.stringValue();
}

Value QZMetricsDatabase::safeDictionaryFromDictionary(const Value& dictionary, const std::string& key)
{
    Value value = dictionary.objectForKey(key);
    return value.isDictionary() ? value : Value();
}

Value QZMetricsDatabase::safeListFromDictionary(const Value& dictionary, const std::string& key)
{
    Value value = dictionary.objectForKey(key);
    return value.isArray() ? value : Value();
}
