#pragma once
// The translation store's model, "TesselTranslations", built in code: English texts
// ("TranslationKey") and their translations ("TranslationValue"), one per language.

#include <memory>

#include "CoreData/NSManagedObjectModel.h"

inline constexpr const char* kQZTranslationsDataModelName = "TesselTranslations";

// A new model each call (a model belongs to the coordinator made over it).
std::shared_ptr<NSManagedObjectModel> QZTranslationsDataModel();
