// The session's blobs: one compact JSON object and a line feed each. The store keeps them as
// they are and the service reads them.

#include "Foundation/NSDate.h"
#include "TesselSDKFoundation/QZAnalytics.h"
#include "TesselSDK/remote/QZMetricsDatabase.h"
#include "TesselSDK/remote/QZMetricsSession.h"

namespace {

// Values JSON cannot carry (data, dates, objects) are written as their description.
Value jsonSafe(const Value& value)
{
    switch (value.kind()) {
    case Value::Kind::Data:
    case Value::Kind::Date:
    case Value::Kind::Object: return value.description();
    case Value::Kind::Nil: return Value::null();
    case Value::Kind::Array: {
        Value::Array items;
        for (const Value& item : *value.asArray()) items.push_back(jsonSafe(item));
        return items;
    }
    case Value::Kind::Dictionary: {
        Value::Dictionary entries;
        for (const auto& [key, item] : *value.asDictionary()) entries.emplace(key, jsonSafe(item));
        return entries;
    }
    default: return value;
    }
}

std::string blobLine(const Value& object)
{
    return object.toJSON() + "\n";
}

double now()
{
    return NSDate::date()->timeIntervalSince1970();
}

}  // namespace

std::string QZMetricsSession::eventBlob(const char* type, const std::string& name, const Value& attributes) const
{
    Value blob = Value::dictionary({{"type", type}, {"session", sessionNumber_.load()}, {"time", now()}});
    if (!name.empty()) blob.setObject(name, "name");
    if (attributes.isDictionary()) blob.setObject(jsonSafe(attributes), "attributes");
    return blobLine(blob);
}

std::string QZMetricsSession::headerBlob(int sequenceNumber)
{
    Value::Array dimensions;
    for (int index = 0; index <= 9; ++index) {
        std::optional<std::string> dimension = db_->customDimension(index);
        dimensions.push_back(dimension ? Value(*dimension) : Value::null());
    }
    Value blob = Value::dictionary({{"type", "header"},
                                    {"seq", sequenceNumber},
                                    {"appKey", applicationKeyOnQueue()},
                                    {"sdkVersion", kQZAnalyticsSDKVersion},
                                    {"customDimensions", Value(std::move(dimensions))},
                                    {"time", now()}});
    std::optional<std::string> installId = db_->installId();
    blob.setObject(installId ? Value(*installId) : Value::null(), "installId");
    return blobLine(blob);
}
