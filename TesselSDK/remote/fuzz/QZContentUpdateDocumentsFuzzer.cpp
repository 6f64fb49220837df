// Fuzz target for the three documents of a content update: the input is read as a version
// document, as a manifest and as a pack document (checked, its translations taken out, its effect
// items formatted). Whatever it is: a manifest answers entries with distinct identifiers that may
// name files, in ascending positions; a valid pack document's formatted effect items carry
// effectJSON that parses back to the whole item; no translation key survives. Never a crash.
#include "Foundation/NSLogCapture.h"
#include "Foundation/Value.h"
#include "TesselSDK/remote/QZSafePathName.h"
#include "TesselSDK/remote/QZContentUpdateDocuments.h"

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

namespace {

void checkManifest(const Value::Data& body)
{
    std::string reason;
    std::optional<QZManifest> manifest = QZReadManifest(body, &reason);
    if (!manifest) {
        if (reason.empty()) std::abort();  // a refusal always says why
        return;
    }
    std::set<std::string> identifiers;
    int previous = -1;
    for (const QZManifestEntry& entry : manifest->packs) {
        if (!QZIsSafeResourceIdentifier(entry.identifier)) std::abort();
        if (!identifiers.insert(entry.identifier).second) std::abort();
        if (entry.index <= previous) std::abort();
        previous = entry.index;
    }
}

void checkPackDocument(const Value::Data& body)
{
    Value document = Value::fromJSON(std::string_view(reinterpret_cast<const char*>(body.data()), body.size()));
    if (!document.isDictionary()) return;
    std::string reason;
    const bool valid = QZPackDocumentIsValid(document, document["identifier"].stringValue(), &reason);
    if (!valid && reason.empty()) std::abort();
    QZTakePackTranslations(document);
    if (document["translatedDisplayName"] || document["translatedDisplayDescription"]) std::abort();
    if (!valid) return;
    const Value original = document["items"];
    const Value formatted = QZFormattedEffectPack(document)["items"];
    if (original.count() != formatted.count()) std::abort();
    for (std::size_t i = 0; i < original.count(); ++i) {
        const Value item = formatted[i];
        if (item.count() > 3) std::abort();
        if (Value::fromJSON(item["effectJSON"].stringValue()) != original[i]) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    NSLogCapture quiet;  // refused entries are logged
    const Value::Data body(data, data + size);
    std::string reason;
    if (!QZReadVersionDocument(body, &reason) && reason.empty()) std::abort();
    checkManifest(body);
    checkPackDocument(body);
    return 0;
}
