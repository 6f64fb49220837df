// Fuzz target for JSON read through Value: whatever is read must write back as JSON that reads
// again, and a refusal must say why.
#include "Foundation/NSError.h"
#include "Foundation/Value.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::shared_ptr<NSError> error;
    Value value = Value::fromJSON(std::string_view(reinterpret_cast<const char *>(data), size), &error);
    if (value.isNil()) {
        if (!error)
            std::abort();
        return 0;
    }
    std::shared_ptr<NSError> writeError;
    const std::string text = value.toJSON(false, &writeError);
    if (text.empty()) {
        if (!writeError)
            std::abort();
    } else if (Value::fromJSON(text).isNil()) {
        std::abort(); // what we wrote must read again
    }
    (void)value.toPropertyList(NSPropertyListFormat::Binary);
    (void)value.description();
    return 0;
}
