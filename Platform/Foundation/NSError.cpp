#include "Foundation/NSError.h"

#include "Foundation/NSString.h"

std::shared_ptr<NSError> NSError::errorWithDomain(std::string domain, NSInteger code, Value userInfo)
{
    auto error = NSObject::create<NSError>();
    error->domain_ = std::move(domain);
    error->code_ = code;
    error->userInfo_ = std::move(userInfo);
    return error;
}

std::shared_ptr<NSError> NSError::errorWithDescription(std::string domain, NSInteger code,
                                                       const std::string& description)
{
    return errorWithDomain(std::move(domain), code, Value::dictionary({{NSLocalizedDescriptionKey, description}}));
}

std::string NSError::localizedDescription() const
{
    Value text = userInfo_[NSLocalizedDescriptionKey];
    if (text.isString()) return text.stringValue();
    return NSStringWithFormat("The operation couldn\u2019t be completed. (%@ error %d.)", domain_, code_);
}

std::string NSError::description() const
{
    return NSStringWithFormat("Error Domain=%@ Code=%d \"%@\"", domain_, code_, localizedDescription());
}
