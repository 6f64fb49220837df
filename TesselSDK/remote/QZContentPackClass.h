#pragma once
// The class objects of the pack record classes. Each knows its entity, its items class and the
// pack type it stands for; the base pack class ("Pack", any type) chooses the class of a pack
// document by its "packType".

#include <memory>
#include <string>

#include "TesselSDK/remote/QZManagedObjectClass.h"

class QZContentPackClass : public QZManagedObjectClass {
public:
    using QZManagedObjectClass::QZManagedObjectClass;

    // Called once at registration. An empty pack type marks the base pack class.
    void configure(std::string itemsClassName, std::string packType);

    const std::string& packType() const { return packType_; }
    bool isBasePackClass() const { return packType_.empty(); }
    std::shared_ptr<const NSClass> itemsClass() const { return NSClassFromString(itemsClassName_); }

    // On the base class the pack class registered for the type ("effect", "frame", "sticker"),
    // else null; on a pack subclass that subclass.
    std::shared_ptr<const NSClass> targetClassForPackType(const std::string& packType) const;
    // The base answer, with the generic item class replaced by the items class.
    std::shared_ptr<const NSClass>
    targetClassForRelationship(const NSRelationshipDescription& relationship) const override;
    // On the base class: the record of the class that "packType" names, else (logged) a plain
    // "Pack" record. On a subclass: the base behaviour.
    std::shared_ptr<QZManagedObject> updateOrCreateWithDictionary(const Value& dictionary,
                                                                  NSManagedObjectContext& context) const override;

private:
    std::string itemsClassName_;
    std::string packType_;
};
