#pragma once
// Codes of the object store's errors, all in NSCocoaErrorDomain.

#include "Foundation/NSError.h"

#include <memory>
#include <string>

enum : NSInteger {
    NSFileReadUnknownError = 256,
    NSFileReadCorruptFileError = 259,
    NSManagedObjectValidationError = 1550,
    NSValidationMissingMandatoryPropertyError = 1570,
    NSManagedObjectReferentialIntegrityError = 133000,
    NSManagedObjectMergeError = 133020,
    NSPersistentStoreInvalidTypeError = 134000,
    NSPersistentStoreSaveError = 134030,
    NSPersistentStoreIncompatibleVersionHashError = 134100,
};

inline std::shared_ptr<NSError> NSCoreDataError(NSInteger code, const std::string& description)
{
    return NSError::errorWithDescription(NSCocoaErrorDomain, code, description);
}
