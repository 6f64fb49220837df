#include "TesselSDK/remote/QZContentPacksDataModel.h"

#include <initializer_list>
#include <string>

#include "CoreData/NSAttributeDescription.h"
#include "CoreData/NSEntityDescription.h"
#include "CoreData/NSRelationshipDescription.h"
#include "TesselSDK/remote/QZMessagesDataModel.h"

namespace {

using Attribute = std::shared_ptr<NSAttributeDescription>;

Attribute attribute(const char* name, NSAttributeType type)
{
    return NSAttributeDescription::attribute(name, type);
}

// Records are found by their identifier: one per pack document, item and thumbnail download.
Attribute indexed(const char* name, NSAttributeType type)
{
    Attribute key = attribute(name, type);
    key->setIndexed(true);
    return key;
}

Attribute counter(const char* name)
{
    Attribute counter = attribute(name, NSAttributeType::Integer64);
    counter->setDefaultValue(0);
    return counter;
}

void addAll(NSEntityDescription& entity, std::initializer_list<std::shared_ptr<NSPropertyDescription>> properties)
{
    for (const auto& property : properties) entity.addProperty(property);
}

}  // namespace

std::shared_ptr<NSManagedObjectModel> QZContentPacksDataModel()
{
    using T = NSAttributeType;
    auto model = NSManagedObjectModel::model();

    auto pack = NSEntityDescription::entity("Pack", "QZContentPack");
    addAll(*pack,
           {indexed("identifier", T::String), attribute("index", T::Integer64), attribute("displayName", T::String),
            attribute("displayDescription", T::String), attribute("codeName", T::String),
            attribute("releaseDate", T::Date), attribute("packType", T::String),
            attribute("requiresDownload", T::Boolean), attribute("shouldDelete", T::Boolean),
            attribute("assetVersion", T::String), attribute("packVersion", T::String),
            attribute("highResURL", T::String), attribute("thumbnailURL", T::String),
            attribute("displayInStore", T::Boolean),
            NSRelationshipDescription::relationship("items", "PackItem", true, "pack", NSCascadeDeleteRule),
            NSRelationshipDescription::relationship("analytics", "PackAnalytics", false, "pack", NSCascadeDeleteRule)});
    model->addEntity(pack);
    model->addEntity(NSEntityDescription::entity("EffectPack", "QZEffectContentPack", "Pack"));
    model->addEntity(NSEntityDescription::entity("FramePack", "QZFrameContentPack", "Pack"));
    model->addEntity(NSEntityDescription::entity("StickerPack", "QZStickerContentPack", "Pack"));

    auto item = NSEntityDescription::entity("PackItem", "QZContentPackItem");
    addAll(*item,
           {attribute("displayName", T::String), indexed("identifier", T::String), attribute("index", T::Integer64),
            NSRelationshipDescription::relationship("pack", "Pack", false, "items"),
            NSRelationshipDescription::relationship("analytics", "PackItemAnalytics", false, "packItem",
                                                    NSCascadeDeleteRule)});
    model->addEntity(item);
    auto effectItem = NSEntityDescription::entity("EffectPackItem", "QZEffectContentPackItem", "PackItem");
    effectItem->addProperty(attribute("effectJSON", T::String));
    model->addEntity(effectItem);
    auto frameItem = NSEntityDescription::entity("FramePackItem", "QZFrameContentPackItem", "PackItem");
    frameItem->addProperty(attribute("width", T::Double));
    model->addEntity(frameItem);
    model->addEntity(NSEntityDescription::entity("StickerPackItem", "QZStickerContentPackItem", "PackItem"));

    auto packAnalytics = NSEntityDescription::entity("PackAnalytics", "QZContentPackAnalytics");
    addAll(*packAnalytics, {counter("featuredViewCount"), counter("preInstallFeaturedDetailViewCount"),
                            counter("preInstalListDetailViewCount"), counter("postInstallFeaturedDetailViewCount"),
                            counter("postInstalListDetailViewCount"),
                            NSRelationshipDescription::relationship("pack", "Pack", false, "analytics")});
    model->addEntity(packAnalytics);

    auto itemAnalytics = NSEntityDescription::entity("PackItemAnalytics", "QZContentPackItemAnalytics");
    itemAnalytics->addProperty(NSRelationshipDescription::relationship("packItem", "PackItem", false, "analytics"));
    model->addEntity(itemAnalytics);

    QZAddMessageEntities(*model);
    return model;
}
