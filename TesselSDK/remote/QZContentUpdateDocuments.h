#pragma once
// The three documents of a content update, read and checked before anything is stored: the
// version document (which manifest is current), the manifest (which packs, in which order, at
// which version) and a pack document (one pack and its items). Pure functions over parsed values:
// no store, no network, so a fuzzer and the tests reach every rule directly.
//
// Shapes: a version document needs the strings "manifestVersion" and "manifestURL"; a manifest
// needs the strings "sdkVersion" and "manifestVersion" and a "packs" array, and reads a
// "deletedPacks" that is no array as empty. A manifest entry that is no object, lacks a string
// "identifier" or "manifestURL", or whose identifier may not form a file name, is refused (the
// update counts it as a failed fetch); a later entry repeating an identifier is dropped, the
// first one wins.

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Foundation/Value.h"

struct QZVersionDocument {
    std::string manifestVersion;
    std::string manifestURL;
};

struct QZManifestEntry {
    std::string identifier;
    std::string packVersion;  // empty when the entry has none
    std::string manifestURL;
    int index = 0;  // the position in "packs"
};

struct QZManifest {
    std::string sdkVersion;
    std::string manifestVersion;
    std::vector<QZManifestEntry> packs;
    std::set<std::string> deletedPacks;
    // One line per refused entry (logged by the reader).
    std::vector<std::string> refusedEntries;
};

// nullopt, with the reason, for a body that is not JSON or not of the shape above.
std::optional<QZVersionDocument> QZReadVersionDocument(const Value::Data& body, std::string* reason);
std::optional<QZManifest> QZReadManifest(const Value::Data& body, std::string* reason);

// The check of a pack document fetched for the manifest entry `identifier`: the seven required
// keys present and not null; "items", when present, an array of objects each with "displayName"
// and "identifier" not null, and "width" not null in a "frame" pack; the document's identifier
// the entry's. False, with the reason, otherwise.
bool QZPackDocumentIsValid(const Value& document, const std::string& identifier, std::string* reason);

// An effect item as stored: "displayName", "identifier" and "effectJSON", the whole item as
// compact JSON text.
Value QZFormattedEffectItem(const Value& item);
// The document with every item formatted so.
Value QZFormattedEffectPack(Value document);

// Takes "translatedDisplayName" and "translatedDisplayDescription" out of the document and
// answers what the translation store receives for each non-empty array:
// {"value": the English text, "translations": the array}.
std::vector<Value> QZTakePackTranslations(Value& document);
