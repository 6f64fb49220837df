#pragma once
// The content store's model, "TesselContentPacksDataModel", built in code: packs and their items
// (one entity per kind under "Pack" and "PackItem") with their analytics records, and the messages. Deleting a pack
// takes its items and analytics with it; items left out of a pack document stay as rows.

#include <memory>

#include "CoreData/NSManagedObjectModel.h"

inline constexpr const char* kQZContentPacksDataModelName = "TesselContentPacksDataModel";

// A new model each call (a model belongs to the coordinators made over it).
std::shared_ptr<NSManagedObjectModel> QZContentPacksDataModel();
