// The fetched-results controller keeps its answer current: its context's own saves and the saves
// of another context merged into it show in fetchedObjects, without a new controller.

#include "CoreData/NSFetchedResultsController.h"
#include "Dispatch/Dispatch.h"
#include "Dispatch/DispatchRunLoop.h"
#include "StoreTestFixture.h"

namespace {

struct ChangeRecorder : NSFetchedResultsControllerDelegate {
    std::vector<std::string> calls;
    void controllerWillChangeContent(NSFetchedResultsController*) override { calls.push_back("will"); }
    void controllerDidChangeContent(NSFetchedResultsController*) override { calls.push_back("did"); }
};

std::shared_ptr<NSManagedObject> insert(const std::shared_ptr<NSManagedObjectContext>& context,
                                        const std::string& entity, const std::string& identifier, int index)
{
    auto pack = context->insertNewObjectForEntityForName(entity);
    pack->setValueForKey(Value(identifier), "identifier");
    pack->setValueForKey(Value(index), "index");
    return pack;
}

TEST_F(StoreTest, FetchedObjectsFollowTheContextsSavesAndMerges)
{
    auto mainContext = contextOn(openStore(), NSMainQueueConcurrencyType, NSMergeByPropertyStoreTrumpMergePolicy);
    insert(mainContext, "FramePack", "b", 2);
    insert(mainContext, "EffectPack", "other", 0);
    save(mainContext);

    auto request = NSFetchRequest::fetchRequestWithEntityName("FramePack");
    request->setSortDescriptors({NSSortDescriptor::sortDescriptorWithKey("index", true)});
    auto controller = NSFetchedResultsController::make(request, mainContext);
    auto recorder = std::make_shared<ChangeRecorder>();
    controller->setDelegate(recorder);
    EXPECT_TRUE(controller->fetchedObjects().empty());  // nothing before the first fetch
    std::shared_ptr<NSError> error;
    ASSERT_TRUE(controller->performFetch(&error));
    EXPECT_EQ(identifiers(controller->fetchedObjects()), (std::vector<std::string>{"b"}));

    insert(mainContext, "FramePack", "a", 1);
    EXPECT_EQ(controller->fetchedObjects().size(), 1u);  // unsaved: the answer waits for the save
    save(mainContext);
    EXPECT_EQ(identifiers(controller->fetchedObjects()), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(recorder->calls, (std::vector<std::string>{"will", "did"}));

    // Another coordinator's save, merged on the main queue as the content manager merges.
    auto update = contextOn(openStore(), NSPrivateQueueConcurrencyType, NSMergeByPropertyObjectTrumpMergePolicy);
    auto token = NSNotificationCenter::defaultCenter()->addObserverForName(
        NSManagedObjectContextDidSaveNotification, update, [mainContext](const std::shared_ptr<NSNotification>& n) {
            dispatch_async(dispatch_get_main_queue(),
                           [mainContext, n] { mainContext->mergeChangesFromContextDidSaveNotification(n); });
        });
    update->performBlock([update] {
        insert(update, "FramePack", "c", 0);
        update->save(nullptr);
    });
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return controller->fetchedObjects().size() == 3; }, 10));
    EXPECT_EQ(identifiers(controller->fetchedObjects()), (std::vector<std::string>{"c", "a", "b"}));
    NSNotificationCenter::defaultCenter()->removeObserver(token);

    // A controller let go follows nothing.
    std::weak_ptr<NSFetchedResultsController> gone = controller;
    controller.reset();
    EXPECT_TRUE(gone.expired());
    insert(mainContext, "FramePack", "d", 4);
    save(mainContext);
}

}  // namespace
