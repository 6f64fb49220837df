// Fuzz target for string tables: any bytes are read as a ".strings" text; a table read must hold
// strings only, of UTF-8 that JSON can carry, and a refusal must say why.
#include "Foundation/NSError.h"
#include "Foundation/NSStringsTable.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::shared_ptr<NSError> error;
    Value table = NSStringsTableFromText(std::string_view(reinterpret_cast<const char *>(data), size), &error);
    if (table.isNil()) {
        if (!error)
            std::abort();
        return 0;
    }
    const Value::Dictionary *entries = table.asDictionary();
    if (entries == nullptr)
        std::abort();
    for (const auto &entry : *entries)
        if (!entry.second.isString())
            std::abort();
    if (table.toJSON().empty())
        std::abort();
    return 0;
}
