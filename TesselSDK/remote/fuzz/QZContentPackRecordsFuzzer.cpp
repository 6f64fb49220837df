// Fuzz target for pack documents as the content service sends them: the input is JSON, mapped
// (twice, as a document arriving again) into the content model over an in-memory store through the
// pack class's find-or-create; an array maps each element. After mapping, every pack's items must
// carry distinct identifiers and ascending indexes, and mapping the same document again must make
// no new record. A save may fail (values of the wrong type), never crash.
#include "CoreData/NSManagedObjectContext.h"
#include "CoreData/NSPersistentStore.h"
#include "CoreData/NSPersistentStoreCoordinator.h"
#include "Foundation/NSLogCapture.h"
#include "Foundation/Value.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackItem.h"
#include "TesselSDK/remote/QZContentPacksDataModel.h"
#include "TesselSDK/remote/QZRemoteRegisterClasses.h"

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

namespace {

void mapDocument(const Value& document, NSManagedObjectContext& context)
{
    auto packClass = QZManagedObjectClass::classNamed("QZContentPack");
    if (const Value::Array* elements = document.asArray()) {
        for (std::size_t i = 0; i < elements->size() && i < 32; ++i)
            packClass->updateOrCreateWithDictionary((*elements)[i], context);
        return;
    }
    packClass->updateOrCreateWithDictionary(document, context);
}

void checkPacks(NSManagedObjectContext& context)
{
    auto packs = QZManagedObjectClass::classNamed("QZContentPack")->fetchAllInManagedObjectContext(context);
    if (!packs) return;
    for (const auto& record : *packs) {
        auto pack = std::dynamic_pointer_cast<QZContentPack>(record);
        if (!pack) std::abort();
        std::set<std::string> identifiers;
        std::int64_t previous = -1;
        for (const auto& item : pack->orderedItems()) {
            const Value identifier = item->valueForKey("identifier");
            if (identifier.isString() && !identifiers.insert(identifier.stringValue()).second)
                std::abort();  // two items of one pack under one key
            const std::int64_t index = item->valueForKey("index").longLongValue();
            if (index < previous) std::abort();
            previous = index;
        }
        pack->toolKey();
        pack->requiresUpdateToVersion("3.3.11");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool registered = (TesselSDKRemoteRegisterClasses(), true);
    (void)registered;
    NSLogCapture quiet;  // the mapping logs every shape it refuses
    Value document = Value::fromJSON(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!document.isDictionary() && !document.isArray()) return 0;

    auto coordinator = NSPersistentStoreCoordinator::coordinator(QZContentPacksDataModel());
    if (!coordinator->addPersistentStoreWithType(NSInMemoryStoreType, "", Value::dictionary(), nullptr)) std::abort();
    auto context = NSManagedObjectContext::context(NSMainQueueConcurrencyType);
    context->setPersistentStoreCoordinator(coordinator);

    mapDocument(document, *context);
    const std::size_t made = context->registeredObjects().size();
    checkPacks(*context);
    mapDocument(document, *context);
    // Items and packs are matched by their keys, so the second pass makes nothing new, except for
    // elements without a key of their own (which the mapping skips) and packs without identifier
    // (a nil key matches the first keyless pack): the count may not grow for keyed documents.
    if (document.isDictionary() && document["identifier"].isString() && context->registeredObjects().size() != made)
        std::abort();
    checkPacks(*context);
    std::shared_ptr<NSError> error;
    context->save(&error);
    return 0;
}
