#pragma once
// The identifiers analytics attaches to events: the platform's advertising identifier, when the
// platform offers one, and our own per-install identifier kept in the user defaults.

#include "Foundation/NSObject.h"

#include <optional>
#include <string>

inline constexpr const char* TESSEL_UNIQUE_ID_KEY = "kTesselUniqueUserIdentifierKey";

class QZUniqueIdentifierManager : public NSObject {
public:
  using NSObject::NSObject;
  // Asks the class named "ASIdentifierManager", looked up at run time, for
  // sharedManager -> advertisingIdentifier -> UUIDString; nullopt when the class or any answer
  // along the way is absent.
  static std::optional<std::string> advertisingIdentifier();
  // Read from the standard user defaults under TESSEL_UNIQUE_ID_KEY; the first call of an
  // install makes a new UUID string, stores it and synchronises the defaults at once.
  static std::string tesselIdentifier();
};
