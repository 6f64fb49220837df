#include "CoreData/NSFetchedResultsController.h"

#include "Foundation/NSNotificationCenter.h"

NSFetchedResultsController::~NSFetchedResultsController()
{
    for (const auto& observer : observers_) NSNotificationCenter::defaultCenter()->removeObserver(observer);
}

std::shared_ptr<NSFetchedResultsController>
NSFetchedResultsController::make(std::shared_ptr<NSFetchRequest> request,
                                 std::shared_ptr<NSManagedObjectContext> context)
{
    if (!request || !context) return nullptr;
    auto controller = NSObject::create<NSFetchedResultsController>();
    controller->request_ = std::move(request);
    controller->context_ = std::move(context);
    return controller;
}

bool NSFetchedResultsController::performFetch(std::shared_ptr<NSError>* error)
{
    context_->assertOnQueue("-[NSFetchedResultsController performFetch:]");
    std::optional<Objects> objects = context_->executeFetchRequest(*request_, error);
    if (observers_.empty()) {
        std::weak_ptr<NSFetchedResultsController> weakSelf = self<NSFetchedResultsController>();
        auto follow = [weakSelf](const std::shared_ptr<NSNotification>&) {
            if (auto controller = weakSelf.lock()) controller->contextChanged();
        };
        auto center = NSNotificationCenter::defaultCenter();
        observers_.push_back(center->addObserverForName(NSManagedObjectContextDidSaveNotification, context_, follow));
        observers_.push_back(
            center->addObserverForName(NSManagedObjectContextObjectsDidChangeNotification, context_, follow));
    }
    if (!objects) return false;
    fetchedObjects_ = std::move(*objects);
    return true;
}

void NSFetchedResultsController::contextChanged()
{
    auto delegate = delegate_.lock();
    if (delegate) delegate->controllerWillChangeContent(this);
    std::shared_ptr<NSError> ignored;
    if (std::optional<Objects> objects = context_->executeFetchRequest(*request_, &ignored))
        fetchedObjects_ = std::move(*objects);
    if (delegate) delegate->controllerDidChangeContent(this);
}
