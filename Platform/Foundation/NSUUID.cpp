#include "Foundation/NSUUID.h"

#include <uuid/uuid.h>

std::shared_ptr<NSUUID> NSUUID::UUID()
{
    auto u = NSObject::create<NSUUID>();
    uuid_generate_random(u->bytes_.data());
    return u;
}

std::string NSUUID::UUIDString() const
{
    char text[37];
    uuid_unparse_upper(bytes_.data(), text);
    return text;
}
