#pragma once
// The answer of one fetch request in one context, kept current: after performFetch, every save
// of that context and every merge into it fetches again, so what another context saved and this
// one merged is in fetchedObjects without a new controller. The delegate hears around each such
// refresh. Used on the context's queue only. Sections and caches are not kept (no section key
// path, no cache name).

#include "CoreData/NSFetchRequest.h"
#include "CoreData/NSManagedObjectContext.h"
#include "Foundation/NSError.h"
#include "Foundation/NSObject.h"

#include <memory>
#include <vector>

class NSFetchedResultsController;

class NSFetchedResultsControllerDelegate {
public:
    virtual ~NSFetchedResultsControllerDelegate() = default;
    virtual void controllerWillChangeContent(NSFetchedResultsController*) {}
    virtual void controllerDidChangeContent(NSFetchedResultsController*) {}
};

class NSFetchedResultsController : public NSObject {
public:
    using NSObject::NSObject;
    using Objects = NSManagedObjectContext::Objects;
    ~NSFetchedResultsController() override;

    static std::shared_ptr<NSFetchedResultsController> make(std::shared_ptr<NSFetchRequest> request,
                                                            std::shared_ptr<NSManagedObjectContext> context);

    const std::shared_ptr<NSFetchRequest>& fetchRequest() const { return request_; }
    const std::shared_ptr<NSManagedObjectContext>& managedObjectContext() const { return context_; }
    std::weak_ptr<NSFetchedResultsControllerDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<NSFetchedResultsControllerDelegate> delegate) { delegate_ = std::move(delegate); }

    // Fetches now and follows the context from then on; false with the error when the fetch
    // fails (what was fetched before stays).
    bool performFetch(std::shared_ptr<NSError>* error);
    // Empty before the first fetch.
    const Objects& fetchedObjects() const { return fetchedObjects_; }

private:
    void contextChanged();

    std::shared_ptr<NSFetchRequest> request_;
    std::shared_ptr<NSManagedObjectContext> context_;
    std::weak_ptr<NSFetchedResultsControllerDelegate> delegate_;
    Objects fetchedObjects_;
    std::vector<std::shared_ptr<NSObject>> observers_;
};
