#include "TesselSDK/remote/QZContentPackClass.h"

#include "Foundation/NSLog.h"
#include "TesselSDK/remote/QZManagedObject.h"

void QZContentPackClass::configure(std::string itemsClassName, std::string packType)
{
    itemsClassName_ = std::move(itemsClassName);
    packType_ = std::move(packType);
}

std::shared_ptr<const NSClass> QZContentPackClass::targetClassForPackType(const std::string& packType) const
{
    if (!isBasePackClass()) return recordClass();
    if (packType == "effect") return NSClassFromString("QZEffectContentPack");
    if (packType == "sticker") return NSClassFromString("QZStickerContentPack");
    if (packType == "frame") return NSClassFromString("QZFrameContentPack");
    return nullptr;
}

std::shared_ptr<const NSClass>
QZContentPackClass::targetClassForRelationship(const NSRelationshipDescription& relationship) const
{
    std::shared_ptr<const NSClass> target = QZManagedObjectClass::targetClassForRelationship(relationship);
    if (target && target->name() == "QZContentPackItem") return itemsClass();
    return target;
}

std::shared_ptr<QZManagedObject> QZContentPackClass::updateOrCreateWithDictionary(const Value& dictionary,
                                                                                  NSManagedObjectContext& context) const
{
    if (!isBasePackClass()) return findOrCreateWithDictionary(dictionary, context);
    std::shared_ptr<const NSClass> packClass = targetClassForPackType(dictionary["packType"].stringValue());
    std::shared_ptr<const QZManagedObjectClass> classObject =
        packClass ? QZManagedObjectClass::classObjectOf(*packClass) : nullptr;
    if (classObject && classObject.get() != this) return classObject->updateOrCreateWithDictionary(dictionary, context);
    NSLog("%s %@", "+[QZContentPack updateOrCreateWithDictionary:inManagedObjectContext:]",
          "Expected a valid 'packType' attribute.");
    return findOrCreateWithDictionary(dictionary, context);
}
