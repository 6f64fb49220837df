// Fuzz target for property lists read through Value (XML, binary, and the string-table text form):
// whatever is read must write back in both formats and read again, and a refusal must say why.
#include "Foundation/NSError.h"
#include "Foundation/Value.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::shared_ptr<NSError> error;
    Value value = Value::fromPropertyList(data, size, &error);
    if (value.isNil()) {
        if (!error)
            std::abort();
        return 0;
    }
    for (NSPropertyListFormat format : {NSPropertyListFormat::Binary, NSPropertyListFormat::XML}) {
        std::shared_ptr<NSError> writeError;
        auto written = value.toPropertyList(format, &writeError);
        if (!written) {
            if (!writeError)
                std::abort();
            continue;
        }
        if (Value::fromPropertyList(written->data(), written->size()).isNil())
            std::abort(); // what we wrote must read again
    }
    (void)value.description();
    (void)value.toJSON();
    return 0;
}
