#include "Network/NSURLError.h"

std::shared_ptr<NSError> NSURLErrorMake(NSInteger code, const std::string& failingURL, const std::string& description)
{
    return NSError::errorWithDomain(NSURLErrorDomain, code,
                                    Value::dictionary({{NSLocalizedDescriptionKey, description},
                                                       {NSURLErrorFailingURLStringErrorKey, failingURL}}));
}
