#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CoreData/NSAttributeDescription.h"
#include "CoreData/NSRelationshipDescription.h"
#include "QZContentStoreFixture.h"
#include "TesselSDK/remote/QZContentPackAnalytics.h"
#include "TesselSDK/remote/QZContentPackItem.h"
#include "TesselSDK/remote/QZEffectContentPackItem.h"

// Records of a small model of their own, for the mapping's rules apart from the packs.
class QZTestShelf : public QZManagedObject {
public:
    using QZManagedObject::QZManagedObject;
};
class QZTestBook : public QZManagedObject {
public:
    using QZManagedObject::QZManagedObject;
};
class QZTestNote : public QZManagedObject {
public:
    using QZManagedObject::QZManagedObject;
};
// Notes have no unique key: each element of a document makes a new one.
class QZTestNoteClass : public QZManagedObjectClass {
public:
    using QZManagedObjectClass::QZManagedObjectClass;
    std::optional<std::string> uniqueKeyAttribute() const override { return std::nullopt; }
};

namespace {

std::vector<std::string> identifiersOf(const std::vector<std::shared_ptr<QZContentPackItem>>& items)
{
    std::vector<std::string> ids;
    for (const auto& item : items) ids.push_back(item->identifier());
    return ids;
}

std::string packWithItems(const std::string& identifier, const std::string& items)
{
    return R"({"identifier": ")" + identifier + R"(", "packType": "effect", "items": )" + items + "}";
}

using QZManagedObjectMappingTest = QZContentStoreFixture;

TEST_F(QZManagedObjectMappingTest, DocumentKeysLandExactlyOnPropertiesOfTheEntity)
{
    NSLogCapture log;
    auto pack = mapPack(R"({"identifier": "p1", "packType": "effect", "codeName": "first", "displayName": "One",
                            "colour": "red", "requiresDownload": true})");
    auto again = mapPack(R"({"identifier": "p1", "packType": "effect", "displayName": "Two"})");
    ASSERT_TRUE(pack);
    EXPECT_EQ(again, pack);
    EXPECT_EQ(pack->valueForKey("codeName"), Value("first"));  // not named: kept
    EXPECT_EQ(pack->valueForKey("displayName"), Value("Two"));
    EXPECT_EQ(pack->valueForKey("requiresDownload"), Value(true));
    EXPECT_TRUE(log.lines().empty());
    ASSERT_TRUE(save());
    EXPECT_EQ(rowCount("E_Pack"), 1);
}

TEST_F(QZManagedObjectMappingTest, ItemsFollowTheLatestDocumentAndDroppedItemsKeepTheirRows)
{
    struct Step {
        const char* name;
        std::string items;
        std::vector<std::string> ordered;
        std::vector<int> indexes;  // positions in the document
        int itemRows;
        int rowsWithoutPack;
    };
    const std::vector<Step> steps = {
        {"first document",
         R"([{"identifier": "a"}, {"identifier": "b"}, {"identifier": "c"}])",
         {"a", "b", "c"},
         {0, 1, 2},
         3,
         0},
        {"the same document again",
         R"([{"identifier": "a"}, {"identifier": "b"}, {"identifier": "c"}])",
         {"a", "b", "c"},
         {0, 1, 2},
         3,
         0},
        {"reordered, b dropped", R"([{"identifier": "c"}, {"identifier": "a"}])", {"c", "a"}, {0, 1}, 3, 1},
        {"a repeated: the last one wins",
         R"([{"identifier": "a", "displayName": "First"},
                                             {"identifier": "a", "displayName": "Last"}])",
         {"a"},
         {1},
         3,
         2},
        {"emptied", "[]", {}, {}, 3, 3},
    };
    std::map<std::string, std::shared_ptr<QZContentPackItem>> firstObjects;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        auto pack = mapPack(packWithItems("p1", step.items));
        ASSERT_TRUE(pack);
        auto items = pack->orderedItems();
        EXPECT_EQ(identifiersOf(items), step.ordered);
        for (std::size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i]->valueForKey("index"), Value(step.indexes.at(i)));
            EXPECT_TRUE(items[i]->isKindOfClass<QZEffectContentPackItem>());
            auto [known, inserted] = firstObjects.emplace(items[i]->identifier(), items[i]);
            EXPECT_EQ(known->second, items[i]) << "an item was made again";
        }
        ASSERT_TRUE(save());
        EXPECT_EQ(rowCount("E_Pack"), 1);
        EXPECT_EQ(rowCount("E_PackItem"), step.itemRows);
        EXPECT_EQ(rowCount("E_PackItem", "R_pack IS NULL"), step.rowsWithoutPack);
    }
    EXPECT_EQ(firstObjects.at("a")->valueForKey("displayName"), Value("Last"));
}

TEST_F(QZManagedObjectMappingTest, AToOneDictionaryMatchingAnotherOwnersRecordRelinksIt)
{
    auto first = mapPack(packWithItems("p1", R"([{"identifier": "a"}])"));
    auto second = mapPack(packWithItems("p2", "[]"));
    ASSERT_TRUE(first && second);
    auto item = first->orderedItems().at(0);
    item->updateWithDictionary(Value::fromJSON(R"({"pack": {"identifier": "p2", "packType": "effect"}})"));
    EXPECT_EQ(item->pack(), second);
    EXPECT_TRUE(first->orderedItems().empty());
    EXPECT_EQ(identifiersOf(second->orderedItems()), std::vector<std::string>{"a"});
    ASSERT_TRUE(save());
    EXPECT_EQ(rowCount("E_Pack"), 2);
    EXPECT_EQ(rowCount("E_PackItem"), 1);
}

TEST_F(QZManagedObjectMappingTest, ValuesOfTheWrongShapeAreLoggedAndChangeNothing)
{
    const std::string updateRelationship = "-[QZManagedObject updateRelationship:withValue:] ";
    struct Case {
        const char* name;
        std::string document;  // applied to pack p1, which holds item a
        std::vector<std::string> log;
        std::vector<std::string> items;
    };
    const std::vector<Case> cases = {
        {"items as a dictionary",
         packWithItems("p1", R"({"identifier": "x"})"),
         {"-[QZContentPack updateRelationship:withValue:] Expected array of items."},
         {"a"}},
        {"analytics given a dictionary",
         R"({"identifier": "p1", "packType": "effect", "analytics": {"featuredViewCount": 5}})",
         {updateRelationship + "Expected subclass of QZManagedObject"},
         {"a"}},
        {"elements that are no dictionary or lack the key",
         packWithItems("p1", R"(["text", 3, {"displayName": "no key"}, {"identifier": null}, {"identifier": "a"}])"),
         {updateRelationship + "Expected dictionary.", updateRelationship + "Expected dictionary.",
          updateRelationship + "Expected a value for the unique key identifier.",
          updateRelationship + "Expected a value for the unique key identifier."},
         {"a"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto pack = mapPack(packWithItems("p1", R"([{"identifier": "a"}])"));
        NSLogCapture log;
        EXPECT_EQ(mapPack(c.document), pack);
        EXPECT_EQ(log.lines(), c.log);
        EXPECT_EQ(identifiersOf(pack->orderedItems()), c.items);
        EXPECT_TRUE(pack->valueForKey("analytics").isNil());
        ASSERT_TRUE(save());
        EXPECT_EQ(rowCount("E_PackItem"), 1);
        EXPECT_EQ(rowCount("E_PackAnalytics"), 0);
    }

    // An array for the item's to-one pack.
    auto item = mapPack(packWithItems("p1", R"([{"identifier": "a"}])"))->orderedItems().at(0);
    NSLogCapture log;
    item->updateWithDictionary(Value::fromJSON(R"({"pack": [{"identifier": "p1"}]})"));
    EXPECT_EQ(log.lines(), std::vector<std::string>{updateRelationship + "Expected to-many relationship."});
    EXPECT_EQ(item->pack()->identifier(), "p1");
}

TEST_F(QZManagedObjectMappingTest, TextForADateAttributeFailsTheSaveAndWritesNothing)
{
    ASSERT_TRUE(mapPack(packWithItems("p1", R"([{"identifier": "a"}])")));
    ASSERT_TRUE(save());
    auto pack = mapPack(R"({"identifier": "p2", "packType": "frame", "releaseDate": "2014-01-01",
                            "items": [{"identifier": "f", "width": 12.5}]})");
    ASSERT_TRUE(pack);
    EXPECT_EQ(pack->valueForKey("releaseDate"), Value("2014-01-01"));  // stored as given
    EXPECT_FALSE(save());
    EXPECT_EQ(rowCount("E_Pack"), 1);
    EXPECT_EQ(rowCount("E_PackItem"), 1);
}

// The base mapping on a model of its own: shelves with keyed books, unkeyed notes and a label
// whose entity names no registered class.
class QZManagedObjectBaseMappingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QZManagedObjectRegisterClass();
        QZManagedObjectClass::registerRecordClass<QZTestShelf>("QZTestShelf", "Shelf");
        QZManagedObjectClass::registerRecordClass<QZTestBook>("QZTestBook", "Book");
        QZManagedObjectClass::registerRecordClass<QZTestNote, QZTestNoteClass>("QZTestNote", "Note");
        using T = NSAttributeType;
        auto model = NSManagedObjectModel::model();
        auto shelf = NSEntityDescription::entity("Shelf", "QZTestShelf");
        shelf->addProperty(NSAttributeDescription::attribute("identifier", T::String));
        shelf->addProperty(NSRelationshipDescription::relationship("books", "Book", true, "shelf"));
        shelf->addProperty(NSRelationshipDescription::relationship("notes", "Note", true, "shelf"));
        shelf->addProperty(NSRelationshipDescription::relationship("label", "Label", false, "shelf"));
        model->addEntity(shelf);
        auto book = NSEntityDescription::entity("Book", "QZTestBook");
        book->addProperty(NSAttributeDescription::attribute("identifier", T::String));
        book->addProperty(NSAttributeDescription::attribute("title", T::String));
        book->addProperty(NSRelationshipDescription::relationship("shelf", "Shelf", false, "books"));
        model->addEntity(book);
        auto note = NSEntityDescription::entity("Note", "QZTestNote");
        note->addProperty(NSAttributeDescription::attribute("text", T::String));
        note->addProperty(NSRelationshipDescription::relationship("shelf", "Shelf", false, "notes"));
        model->addEntity(note);
        auto label = NSEntityDescription::entity("Label", "QZTestUnregisteredLabel");
        label->addProperty(NSRelationshipDescription::relationship("shelf", "Shelf", false, "label"));
        model->addEntity(label);
        auto coordinator = NSPersistentStoreCoordinator::coordinator(model);
        ASSERT_TRUE(coordinator->addPersistentStoreWithType(NSInMemoryStoreType, "", Value::dictionary(), nullptr));
        context = NSManagedObjectContext::context(NSMainQueueConcurrencyType);
        context->setPersistentStoreCoordinator(coordinator);
    }
    std::shared_ptr<QZManagedObject> map(const char* className, const std::string& json)
    {
        return QZManagedObjectClass::classNamed(className)->updateOrCreateWithDictionary(Value::fromJSON(json),
                                                                                         *context);
    }
    std::size_t count(const char* className)
    {
        return QZManagedObjectClass::classNamed(className)->fetchAllInManagedObjectContext(*context)->size();
    }
    std::shared_ptr<NSManagedObjectContext> context;
};

TEST_F(QZManagedObjectBaseMappingTest, WrongShapesAndMissingClassesAreLoggedAndLeaveTheRelationship)
{
    const std::string method = "-[QZManagedObject updateRelationship:withValue:] ";
    struct Case {
        const char* name;
        const char* document;
        std::string log;
    };
    const Case cases[] = {
        {"a dictionary for a to-many", R"({"books": {"identifier": "b2"}})", method + "Expected to-one relationship."},
        {"a number for a to-many", R"({"books": 7})", method + "Expected to-one relationship."},
        {"a destination without a class", R"({"label": {"text": "x"}})",
         method + "Nil target class for relationship: label"},
        {"an array for a destination without a class", R"({"label": [{"text": "x"}]})",
         method + "Nil target class for relationship: label"},
    };
    auto shelf = map("QZTestShelf", R"({"identifier": "s", "books": [{"identifier": "b1"}]})");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NSLogCapture log;
        shelf->updateWithDictionary(Value::fromJSON(c.document));
        EXPECT_EQ(log.lines(), std::vector<std::string>{c.log});
        ASSERT_EQ(shelf->valueForKey("books").count(), 1u);
        EXPECT_EQ(shelf->valueForKey("books")[0].object<QZManagedObject>()->valueForKey("identifier"), Value("b1"));
        EXPECT_EQ(count("QZTestBook"), 1u);
    }
}

TEST_F(QZManagedObjectBaseMappingTest, KeylessRecordsAreCreatedPerElementAndANilKeyFindsAnEmptyOne)
{
    auto shelf = map("QZTestShelf", R"({"identifier": "s", "notes": [{"text": "a"}, {"text": "a"}]})");
    EXPECT_EQ(shelf->valueForKey("notes").count(), 2u);
    shelf->updateWithDictionary(Value::fromJSON(R"({"notes": [{"text": "b"}]})"));
    EXPECT_EQ(shelf->valueForKey("notes").count(), 1u);
    EXPECT_EQ(count("QZTestNote"), 3u);  // left-out records stay

    auto untitled = map("QZTestBook", R"({"title": "no key"})");
    EXPECT_EQ(map("QZTestBook", R"({"title": "still no key"})"), untitled);
    EXPECT_EQ(untitled->valueForKey("title"), Value("still no key"));
    EXPECT_EQ(count("QZTestBook"), 1u);
}

}  // namespace
