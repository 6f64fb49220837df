#include "Foundation/NSObject.h"

#include "Foundation/NSString.h"
#include "Foundation/Value.h"

#include "Dispatch/DispatchMainQueue.h"

#include <cxxabi.h>

#include <cstdlib>
#include <typeinfo>

std::string NSObject::description() const
{
    return NSStringWithFormat("<%@: %p>", className(), static_cast<const void*>(this));
}

std::string NSObject::className() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : mangled;
    std::free(demangled);
    return name;
}

Value NSObject::performSelector(std::string_view)
{
    return {};
}

bool NSObject::respondsToSelector(std::string_view) const
{
    return false;
}

void NSObject::destroyOnMainQueue(std::function<void()> destroy)
{
    if (DispatchMainQueue::isMainThread())
        destroy();
    else
        DispatchMainQueue::shared()->async(std::move(destroy));
}
