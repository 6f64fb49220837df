#include "Foundation/NSClass.h"
#include "Foundation/NSObject.h"

#include "Dispatch/DispatchMainQueue.h"
#include "Dispatch/DispatchRunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// Every NSObject constructor takes a key that only NSObject can make.
static_assert(!std::is_default_constructible_v<NSObject>);
static_assert(!std::is_default_constructible_v<NSObject::Key>);

class Shape : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<Shape> make(int sides) { return NSObject::create<Shape>(&Shape::initWithSides, sides); }

    std::vector<std::string> steps;
    int sides = 0;

protected:
    void didConstruct() override { steps.push_back("didConstruct:" + className()); }
    virtual bool initWithSides(int n)
    {
        steps.push_back("init");
        sides = n;
        return n >= 3;
    }
};

class Square : public Shape {
public:
    using Shape::Shape;
    static std::shared_ptr<Square> make(int sides) { return NSObject::create<Square>(&Square::initWithSides, sides); }

protected:
    bool initWithSides(int n) override
    {
        steps.push_back("square");
        return Shape::initWithSides(n) && n == 4;
    }
};

class Unrelated : public NSObject {
public:
    using NSObject::NSObject;
};

// Counts where its objects die.
class MainThreadOnly : public NSObject {
public:
    static constexpr bool NSDestroysOnMainQueue = true;
    using NSObject::NSObject;
    ~MainThreadOnly() override { diedOnMain = DispatchMainQueue::isMainThread() ? 1 : 0; }
    static inline std::atomic<int> diedOnMain{-1};
};

TEST(NSObjectTest, CreateRunsTheHookThenTheNamedInitialiserAndAnswersNullWhenItFails)
{
    auto triangle = Shape::make(3);
    ASSERT_TRUE(triangle);
    EXPECT_EQ(triangle->steps, (std::vector<std::string>{"didConstruct:(anonymous namespace)::Shape", "init"}));
    EXPECT_EQ(triangle->self<Shape>(), triangle);
    EXPECT_FALSE(Shape::make(2));

    auto square = Square::make(4);
    ASSERT_TRUE(square);
    EXPECT_EQ(square->steps,
              (std::vector<std::string>{"didConstruct:(anonymous namespace)::Square", "square", "init"}));
    EXPECT_FALSE(Square::make(3));

    // Any callable taking the object serves as the initialiser.
    auto blank = NSObject::create<Square>([](Square& s) { return s.sides == 0; });
    ASSERT_TRUE(blank);
    EXPECT_EQ(blank->steps.size(), 1u);
}

TEST(NSObjectTest, MainQueueClassesDieOnTheMainThreadWhenTheLastReferenceGoesElsewhere)
{
    auto object = NSObject::create<MainThreadOnly>();
    std::weak_ptr<MainThreadOnly> weak = object;
    auto block = NSWeakBlock(object, [](const std::shared_ptr<MainThreadOnly>& o, int* ran) { *ran = o ? 1 : 0; });
    int ran = 0;
    std::thread worker([held = std::move(object), block, &ran]() mutable {
        block(&ran);
        held.reset();  // the last strong reference, on a worker
    });
    worker.join();
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(MainThreadOnly::diedOnMain, -1);  // queued, not yet destroyed
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return MainThreadOnly::diedOnMain != -1; }, 5));
    EXPECT_EQ(MainThreadOnly::diedOnMain, 1);
    EXPECT_TRUE(weak.expired());

    // A weak block does nothing once its handle has died.
    ran = -1;
    block(&ran);
    EXPECT_EQ(ran, -1);
}

TEST(NSClassTest, RegistryAnswersDerivationAndNullForAbsentNames)
{
    NSClass::registerClass<Square>("QZSquare");
    NSClass::registerClass<Unrelated>("QZUnrelated");
    NSClass::registerClass(std::make_shared<NSClass>("QZByNameOnly", [] { return NSObject::create<Unrelated>(); }));

    auto square = NSClassFromString("QZSquare");
    ASSERT_TRUE(square);
    EXPECT_TRUE(square->isSubclassOfClass<Shape>());
    EXPECT_TRUE(square->isSubclassOfClass<Square>());
    EXPECT_TRUE(square->isSubclassOfClass<NSObject>());
    EXPECT_FALSE(square->isSubclassOfClass<Unrelated>());
    EXPECT_TRUE(std::dynamic_pointer_cast<Square>(square->make()));

    auto shape = NSClass::classOf<Shape>("QZShape");
    EXPECT_TRUE(square->isSubclassOfClass(*shape));
    EXPECT_FALSE(shape->isSubclassOfClass(*square));
    EXPECT_FALSE(NSClassFromString("QZUnrelated")->isSubclassOfClass(*shape));
    EXPECT_FALSE(NSClassFromString("QZByNameOnly")->isSubclassOfClass<NSObject>());

    EXPECT_EQ(NSClassFromString("QZCircle"), nullptr);
    NSClass::unregisterClass("QZSquare");
    EXPECT_EQ(NSClassFromString("QZSquare"), nullptr);
}

}  // namespace
