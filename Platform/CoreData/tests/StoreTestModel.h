#pragma once
// A small model for the store's tests: a pack entity with two sub-entities, every attribute
// type, a cascade to-many to items (nullify to-one back), and a nullify one-to-one analytics
// record. Packs are made of the registered class TestPack, which counts its hooks.

#include "CoreData/NSManagedObjectContext.h"
#include "CoreData/NSManagedObjectModel.h"
#include "CoreData/NSPersistentStoreCoordinator.h"
#include "Foundation/NSClass.h"

#include <atomic>
#include <memory>
#include <string>

class TestColour : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<TestColour> make(double red)
    {
        return NSObject::create<TestColour>([&](TestColour& c) { c.red = red; });
    }
    bool isEqual(const NSObject& other) const override
    {
        auto* c = dynamic_cast<const TestColour*>(&other);
        return c && c->red == red;
    }
    std::string className() const override { return "TestColour"; }
    double red = 0;
};

class TestColourTransformer : public NSValueTransformer {
public:
    using NSValueTransformer::NSValueTransformer;
    Value transformedValue(const Value& value) const override
    {
        auto colour = value.object<TestColour>();
        if (!colour) return {};
        std::string text = std::to_string(colour->red);
        return Value(Value::Data(text.begin(), text.end()));
    }
    Value reverseTransformedValue(const Value& data) const override
    {
        const auto* bytes = data.asData();
        return bytes ? Value(TestColour::make(std::stod(std::string(bytes->begin(), bytes->end())))) : Value();
    }
};

class TestPack : public NSManagedObject {
public:
    using NSManagedObject::NSManagedObject;
    void awakeFromInsert() override
    {
        ++awakenings;
        setValueForKey(Value("fresh"), "displayName");
    }
    void willTurnIntoFault() override { ++faults; }
    int awakenings = 0;
    int faults = 0;
};

inline std::shared_ptr<NSManagedObjectModel> makeStoreTestModel(bool withExtras = false)
{
    NSClass::registerClass(std::make_shared<NSClass>("TestPack", [] { return NSObject::create<TestPack>(); }));
    auto model = NSManagedObjectModel::model();
    auto pack = NSEntityDescription::entity("Pack", "TestPack");
    pack->addProperty(NSAttributeDescription::attribute("identifier", NSAttributeType::String));
    pack->addProperty(NSAttributeDescription::attribute("displayName", NSAttributeType::String));
    pack->addProperty(NSAttributeDescription::attribute("index", NSAttributeType::Integer64));
    pack->addProperty(NSAttributeDescription::attribute("rating", NSAttributeType::Double));
    pack->addProperty(NSAttributeDescription::attribute("requiresDownload", NSAttributeType::Boolean));
    pack->addProperty(NSAttributeDescription::attribute("releaseDate", NSAttributeType::Date));
    pack->addProperty(NSAttributeDescription::attribute("archive", NSAttributeType::BinaryData));
    pack->addProperty(
        NSAttributeDescription::transformable("colour", NSObject::create<TestColourTransformer>(), "TestColour"));
    pack->addProperty(NSRelationshipDescription::relationship("items", "Item", true, "pack", NSCascadeDeleteRule));
    pack->addProperty(NSRelationshipDescription::relationship("analytics", "Analytics", false, "pack"));
    if (withExtras) pack->addProperty(NSAttributeDescription::attribute("codeName", NSAttributeType::String));
    auto effect = NSEntityDescription::entity("EffectPack", "TestPack", "Pack");
    auto frame = NSEntityDescription::entity("FramePack", "", "Pack");
    frame->addProperty(NSAttributeDescription::attribute("width", NSAttributeType::Double));
    auto item = NSEntityDescription::entity("Item");
    auto identifier = NSAttributeDescription::attribute("identifier", NSAttributeType::String);
    identifier->setOptional(false);
    item->addProperty(identifier);
    item->addProperty(NSAttributeDescription::attribute("index", NSAttributeType::Integer64));
    item->addProperty(NSRelationshipDescription::relationship("pack", "Pack", false, "items"));
    auto analytics = NSEntityDescription::entity("Analytics");
    analytics->addProperty(NSAttributeDescription::attribute("views", NSAttributeType::Integer64));
    analytics->addProperty(NSRelationshipDescription::relationship("pack", "Pack", false, "analytics"));
    for (const auto& e : {pack, effect, frame, item, analytics}) model->addEntity(e);
    if (withExtras) {
        auto note = NSEntityDescription::entity("Note");
        note->addProperty(NSAttributeDescription::attribute("text", NSAttributeType::String));
        model->addEntity(note);
    }
    return model;
}

inline Value migratingOptions()
{
    return Value::dictionary(
        {{NSMigratePersistentStoresAutomaticallyOption, true}, {NSInferMappingModelAutomaticallyOption, true}});
}
