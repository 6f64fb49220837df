#include "Foundation/NSDelayedPerform.h"
#include "Foundation/NSObject.h"

#include "Dispatch/DispatchClock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Delegate {
public:
    virtual ~Delegate() = default;
};

// A second base puts `Delegate` at another address than the object's own.
class View : public NSObject, public Delegate {
public:
    using NSObject::NSObject;
    void hide() { log->push_back(name + " hidden"); }
    std::vector<std::string>* log = nullptr;
    std::string name;
};

class NSDelayedPerformTest : public ::testing::Test {
protected:
    void SetUp() override { DispatchClock::useVirtualTime(true); }
    void TearDown() override { DispatchClock::useVirtualTime(false); }

    std::shared_ptr<View> makeView(std::string name)
    {
        auto view = NSObject::create<View>();
        view->log = &log;
        view->name = std::move(name);
        return view;
    }
    std::vector<std::string> log;
};

TEST_F(NSDelayedPerformTest, CallsRunAfterTheirDelayHoldingTheirTarget)
{
    NSPerformAfterDelay(makeView("a"), &View::hide, 0.2);
    NSPerformAfterDelay(
        makeView("b"), [](View& view) { view.log->push_back(view.name + " faded"); }, 0.1);
    DispatchClock::advance(0.15);
    EXPECT_EQ(log, (std::vector<std::string>{"b faded"}));
    DispatchClock::advance(0.1);
    EXPECT_EQ(log, (std::vector<std::string>{"b faded", "a hidden"}));
}

TEST_F(NSDelayedPerformTest, ACancelledCallNeverRunsAndItsTargetIsLetGo)
{
    auto view = makeView("cancelled");
    auto other = makeView("other");
    std::weak_ptr<View> gone = view;
    // Cancelled by a call that falls due at the same instant: by then the request is already
    // handed to the main queue.
    const Delegate* asDelegate = view.get();
    NSPerformAfterDelay(
        other, [asDelegate](View&) { NSCancelPreviousPerformRequests(asDelegate); }, 0.1);
    NSPerformAfterDelay(view, &View::hide, 0.1);
    NSPerformAfterDelay(view, &View::hide, 0.3);
    NSPerformAfterDelay(other, &View::hide, 0.2);
    view.reset();
    EXPECT_FALSE(gone.expired());

    DispatchClock::advance(0.1);
    EXPECT_TRUE(gone.expired()) << "cancelling lets the target go";
    DispatchClock::advance(0.5);
    EXPECT_EQ(log, (std::vector<std::string>{"other hidden"})) << "only the other target's calls ran";

    // Cancelling by the target's own pointer, before anything falls due.
    NSPerformAfterDelay(other, &View::hide, 0.1);
    NSCancelPreviousPerformRequests(other);
    DispatchClock::advance(0.2);
    EXPECT_EQ(log.size(), 1u);
}

}  // namespace
