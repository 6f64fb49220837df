#include "TesselSDK/remote/QZContentPackItem.h"

#include "TesselSDKFoundation/QZLocalizedString.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZContentPackAnalytics.h"
#include "TesselSDK/remote/QZContentPackResourceProvider.h"

std::shared_ptr<QZContentPack> QZContentPackItem::pack()
{
    return valueForKey("pack").object<QZContentPack>();
}

void QZContentPackItem::keptImages(const std::shared_ptr<QZContentPack>& owner)
{
    if (owner) owner->itemKeptImages(self<QZContentPackItem>());
}

std::string QZContentPackItem::localizedDisplayName()
{
    return QZLocalizedString(valueForKey("displayName").stringValue());
}

std::shared_ptr<QZContentPackItemAnalytics> QZContentPackItem::analytics()
{
    if (auto stored = valueForKey("analytics").object<QZContentPackItemAnalytics>()) return stored;
    std::shared_ptr<NSManagedObjectContext> context = managedObjectContext();
    if (!context) return nullptr;
    auto created = std::dynamic_pointer_cast<QZContentPackItemAnalytics>(
        context->insertNewObjectForEntityForName("PackItemAnalytics"));
    if (created) created->setPackItem(self<NSManagedObject>());
    return created;
}

std::string QZContentPackItem::resourceName(const std::string& suffix)
{
    const std::string stem = identifier();
    return QZIsSafeResourceIdentifier(stem) ? stem + suffix : std::string();
}
