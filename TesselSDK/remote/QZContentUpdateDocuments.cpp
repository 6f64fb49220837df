#include "TesselSDK/remote/QZContentUpdateDocuments.h"

#include <string_view>

#include "Foundation/NSError.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSString.h"
#include "TesselSDK/remote/QZSafePathName.h"

namespace {

constexpr const char* kManifestReader = "-[QZTesselContentManager updateWithManifestData:]";
constexpr const char* kRequiredPackKeys[] = {"identifier", "packType",     "displayName",     "displayDescription",
                                             "codeName",   "assetVersion", "requiresDownload"};

Value parse(const Value::Data& body, std::string* reason)
{
    std::shared_ptr<NSError> error;
    Value document = Value::fromJSON(std::string_view(reinterpret_cast<const char*>(body.data()), body.size()), &error);
    if (document.isNil()) {
        *reason = "not JSON: " + (error ? error->localizedDescription() : std::string("no text"));
        return {};
    }
    if (!document.isDictionary()) {
        *reason = "not a JSON object";
        return {};
    }
    return document;
}

// The string under `key`; false, with the reason, when there is none.
bool readString(const Value& document, const char* key, std::string* out, std::string* reason)
{
    const Value value = document[key];
    if (!value.isString()) {
        *reason = NSStringWithFormat("no string \"%s\"", key);
        return false;
    }
    *out = value.stringValue();
    return true;
}

bool present(const Value& value)
{
    return !value.isNil() && !value.isNull();
}

}  // namespace

std::optional<QZVersionDocument> QZReadVersionDocument(const Value::Data& body, std::string* reason)
{
    const Value document = parse(body, reason);
    if (document.isNil()) return std::nullopt;
    QZVersionDocument version;
    if (!readString(document, "manifestVersion", &version.manifestVersion, reason) ||
        !readString(document, "manifestURL", &version.manifestURL, reason))
        return std::nullopt;
    return version;
}

std::optional<QZManifest> QZReadManifest(const Value::Data& body, std::string* reason)
{
    const Value document = parse(body, reason);
    if (document.isNil()) return std::nullopt;
    QZManifest manifest;
    if (!readString(document, "sdkVersion", &manifest.sdkVersion, reason) ||
        !readString(document, "manifestVersion", &manifest.manifestVersion, reason))
        return std::nullopt;
    const Value packs = document["packs"];
    const Value::Array* entries = packs.asArray();
    if (!entries) {
        *reason = "\"packs\" is no array";
        return std::nullopt;
    }
    const Value deleted = document["deletedPacks"];
    if (const Value::Array* identifiers = deleted.asArray())
        for (const Value& identifier : *identifiers)
            if (identifier.isString()) manifest.deletedPacks.insert(identifier.stringValue());

    std::set<std::string> listed;
    for (std::size_t i = 0; i < entries->size(); ++i) {
        const Value& entry = (*entries)[i];
        QZManifestEntry read;
        read.index = static_cast<int>(i);
        std::string problem;
        if (!entry.isDictionary()) {
            problem = "is no object";
        } else if (!readString(entry, "identifier", &read.identifier, &problem) ||
                   !readString(entry, "manifestURL", &read.manifestURL, &problem)) {
        } else if (!QZIsSafeResourceIdentifier(read.identifier)) {
            problem = "has an identifier that may not name a file";
        }
        if (!problem.empty()) {
            std::string line = NSStringWithFormat("Refused pack entry %zu: %s", i, problem.c_str());
            NSLog("%s %@", kManifestReader, line.c_str());
            manifest.refusedEntries.push_back(std::move(line));
            continue;
        }
        // A repeated identifier would make a second record of the pack at every update.
        if (!listed.insert(read.identifier).second) {
            NSLog("%s %@", kManifestReader,
                  NSStringWithFormat("Skipped pack entry %zu: \"%s\" is listed before", i, read.identifier.c_str()));
            continue;
        }
        const Value version = entry["packVersion"];
        if (version.isString()) read.packVersion = version.stringValue();
        manifest.packs.push_back(std::move(read));
    }
    return manifest;
}

bool QZPackDocumentIsValid(const Value& document, const std::string& identifier, std::string* reason)
{
    if (!document.isDictionary()) {
        *reason = "not a JSON object";
        return false;
    }
    for (const char* key : kRequiredPackKeys) {
        if (!present(document[key])) {
            *reason = NSStringWithFormat("\"%s\" missing or null", key);
            return false;
        }
    }
    const Value documentIdentifier = document["identifier"];
    if (!documentIdentifier.isString() || documentIdentifier.stringValue() != identifier) {
        *reason = NSStringWithFormat("identifier %s is not the manifest's \"%s\"",
                                     documentIdentifier.description().c_str(), identifier.c_str());
        return false;
    }
    const Value items = document["items"];
    if (items.isNil()) return true;
    const Value::Array* elements = items.asArray();
    if (!elements) {
        *reason = "\"items\" is no array";
        return false;
    }
    const bool frame = document["packType"].isString() && document["packType"].stringValue() == "frame";
    for (std::size_t i = 0; i < elements->size(); ++i) {
        const Value& item = (*elements)[i];
        if (!item.isDictionary() || !present(item["displayName"]) || !present(item["identifier"]) ||
            (frame && !present(item["width"]))) {
            *reason = NSStringWithFormat("item %zu is incomplete", i);
            return false;
        }
    }
    return true;
}

Value QZFormattedEffectItem(const Value& item)
{
    Value formatted = Value::dictionary();
    formatted.setObject(item["displayName"], "displayName");
    formatted.setObject(item["identifier"], "identifier");
    formatted.setObject(item.toJSON(), "effectJSON");
    return formatted;
}

Value QZFormattedEffectPack(Value document)
{
    const Value items = document["items"];
    const Value::Array* elements = items.asArray();
    if (!document.isDictionary() || !elements) return document;
    Value formatted = Value::array();
    for (const Value& item : *elements) formatted.addObject(QZFormattedEffectItem(item));
    document.setObject(std::move(formatted), "items");
    return document;
}

std::vector<Value> QZTakePackTranslations(Value& document)
{
    std::vector<Value> updates;
    if (!document.isDictionary()) return updates;
    const std::pair<const char*, const char*> fields[] = {{"translatedDisplayName", "displayName"},
                                                          {"translatedDisplayDescription", "displayDescription"}};
    for (const auto& [translatedKey, textKey] : fields) {
        const Value translations = document[translatedKey];
        if (translations.isArray() && translations.count() > 0)
            updates.push_back(Value::dictionary({{"value", document[textKey]}, {"translations", translations}}));
        document.removeObjectForKey(translatedKey);
    }
    return updates;
}
