#include "TesselSDKImaging/QZUniqueIdentifierManager.h"

#include "Foundation/NSClass.h"
#include "Foundation/NSUUID.h"
#include "Foundation/NSUserDefaults.h"

#include <mutex>

std::optional<std::string> QZUniqueIdentifierManager::advertisingIdentifier() {
  auto cls = NSClassFromString("ASIdentifierManager");
  if (!cls) return std::nullopt;
  auto manager = cls->performSelector("sharedManager").object();
  if (!manager) return std::nullopt;
  auto identifier = manager->performSelector("advertisingIdentifier").object();
  if (!identifier) return std::nullopt;
  Value text = identifier->performSelector("UUIDString");
  if (!text.isString()) return std::nullopt;
  return *text.asString();
}

std::string QZUniqueIdentifierManager::tesselIdentifier() {
  // Two first calls racing on different threads would otherwise each make and store a UUID,
  // handing out two different "per-install" identifiers.
  static std::mutex creation;
  std::lock_guard lock(creation);
  auto defaults = NSUserDefaults::standardUserDefaults();
  Value stored = defaults->objectForKey(TESSEL_UNIQUE_ID_KEY);
  if (stored.isString() && !stored.asString()->empty()) return *stored.asString();
  std::string identifier = NSUUID::UUID()->UUIDString();
  defaults->setObject(identifier, TESSEL_UNIQUE_ID_KEY);
  defaults->synchronize();
  return identifier;
}
