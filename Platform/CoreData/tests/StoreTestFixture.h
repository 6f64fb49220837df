#pragma once

#include "StoreTestModel.h"

#include "Dispatch/DispatchMainQueue.h"
#include "Foundation/NSNotificationCenter.h"
#include "testing/TestSandbox.h"

#include <gtest/gtest.h>

class StoreTest : public ::testing::Test {
protected:
    using Objects = NSManagedObjectContext::Objects;

    std::shared_ptr<NSPersistentStoreCoordinator> openStore(std::shared_ptr<NSManagedObjectModel> withModel = nullptr)
    {
        auto coordinator = NSPersistentStoreCoordinator::coordinator(withModel ? withModel : model);
        std::shared_ptr<NSError> error;
        EXPECT_TRUE(coordinator->addPersistentStoreWithType(NSSQLiteStoreType, path, migratingOptions(), &error))
            << (error ? error->localizedDescription() : "");
        return coordinator;
    }
    static std::shared_ptr<NSManagedObjectContext> contextOn(const std::shared_ptr<NSPersistentStoreCoordinator>& c,
                                                             NSManagedObjectContextConcurrencyType type,
                                                             NSMergePolicyType policy = NSErrorMergePolicy)
    {
        auto context = NSManagedObjectContext::context(type);
        context->setPersistentStoreCoordinator(c);
        context->setMergePolicy(policy);
        return context;
    }
    static Objects fetch(const std::shared_ptr<NSManagedObjectContext>& context, const std::string& entity,
                         std::shared_ptr<NSPredicate> predicate = nullptr,
                         std::vector<std::shared_ptr<NSSortDescriptor>> sorts = {}, std::size_t limit = 0)
    {
        auto request = NSFetchRequest::fetchRequestWithEntityName(entity);
        request->setPredicate(std::move(predicate));
        request->setSortDescriptors(std::move(sorts));
        request->setFetchLimit(limit);
        std::shared_ptr<NSError> error;
        auto result = context->executeFetchRequest(*request, &error);
        EXPECT_TRUE(result) << (error ? error->localizedDescription() : "");
        return result ? *result : Objects{};
    }
    static void save(const std::shared_ptr<NSManagedObjectContext>& context)
    {
        std::shared_ptr<NSError> error;
        EXPECT_TRUE(context->save(&error)) << (error ? error->localizedDescription() : "");
    }
    static std::vector<std::string> identifiers(const Objects& objects)
    {
        std::vector<std::string> ids;
        for (const auto& o : objects) ids.push_back(o->valueForKey("identifier").stringValue());
        return ids;
    }

    TestSandbox sandbox;
    std::shared_ptr<NSManagedObjectModel> model = makeStoreTestModel();
    std::string path = sandbox.path("store.sqlite");
};
