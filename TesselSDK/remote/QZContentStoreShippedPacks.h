#pragma once
// The packs the editor ships, kept in the content store: the prebuilt store's packs that a store
// lacks are added to it at every start (records and items as shipped; nothing the store holds
// changes), except those the content service withdrew, which are remembered in the user
// defaults when they leave the store. Used by the store's set-up, under its lock.

#include <memory>
#include <memory>
#include <string>
#include <vector>

class NSPersistentStoreCoordinator;

// The user-defaults key of the identifiers of packs the service withdrew (an array of strings).
inline constexpr const char* kQZContentPacksWithdrawnByServiceKey = "kQZContentPacksWithdrawnByService";

// Adds to the store of `coordinator` every pack of the prebuilt store at `prebuiltPath` that it
// lacks and the service did not withdraw; answers the identifiers added. The prebuilt file is
// read from a copy in the temporary directory, removed again, so the bundle is never written.
std::vector<std::string> QZAddShippedPacksMissingFromStore(const std::shared_ptr<NSPersistentStoreCoordinator>& coordinator,
                                                           const std::string& prebuiltPath);

// Remembers that the service withdrew these packs: they are not added back from the prebuilt store.
void QZRememberContentPacksWithdrawnByService(const std::vector<std::string>& identifiers);
