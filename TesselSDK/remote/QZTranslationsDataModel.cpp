#include "TesselSDK/remote/QZTranslationsDataModel.h"

#include "CoreData/NSAttributeDescription.h"
#include "CoreData/NSEntityDescription.h"
#include "CoreData/NSRelationshipDescription.h"

std::shared_ptr<NSManagedObjectModel> QZTranslationsDataModel()
{
    auto model = NSManagedObjectModel::model();
    auto key = NSEntityDescription::entity("TranslationKey", "QZTranslationKey");
    // Keys are found by their English text, once per translated pack name and description.
    auto text = NSAttributeDescription::attribute("value", NSAttributeType::String);
    text->setIndexed(true);
    key->addProperty(text);
    key->addProperty(
        NSRelationshipDescription::relationship("translations", "TranslationValue", true, "key", NSCascadeDeleteRule));
    model->addEntity(key);
    auto translation = NSEntityDescription::entity("TranslationValue", "QZTranslationValue");
    translation->addProperty(NSAttributeDescription::attribute("value", NSAttributeType::String));
    translation->addProperty(NSAttributeDescription::attribute("language", NSAttributeType::String));
    translation->addProperty(NSRelationshipDescription::relationship("key", "TranslationKey", false, "translations"));
    model->addEntity(translation);
    return model;
}
