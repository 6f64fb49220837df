#include "TesselSDKImaging/NSMutableArray+QZDequeAdditions.h"
#include "TesselSDKImaging/NSString+qz_ContainsSubstring.h"
#include "TesselSDKImaging/QZCollectionUtils.h"
#include "TesselSDKImaging/QZUniqueIdentifierManager.h"

#include "Foundation/NSClass.h"
#include "Foundation/NSUserDefaults.h"
#include "Foundation/PlatformSettings.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <thread>

namespace {

TEST(QZDequeAdditionsTest, EmptyAndOneElementArrays) {
  Value array = Value::array();
  auto& items = array.mutableArray();
  EXPECT_TRUE(popFront(items).isNil());
  EXPECT_TRUE(popBack(items).isNil());
  EXPECT_TRUE(peekFront(items).isNil());
  EXPECT_TRUE(peekBack(items).isNil());

  pushBack(items, Value("only"));
  EXPECT_EQ(peekFront(items), Value("only"));
  EXPECT_EQ(peekBack(items), Value("only"));
  EXPECT_EQ(popBack(items), Value("only"));
  EXPECT_TRUE(items.empty());

  std::deque<std::shared_ptr<int>> pointers;
  pushBack(pointers, std::make_shared<int>(2));
  pushFront(pointers, std::make_shared<int>(1));
  pushBack(pointers, std::make_shared<int>(3));
  EXPECT_EQ(*popFront(pointers), 1);
  EXPECT_EQ(*popBack(pointers), 3);
  EXPECT_EQ(*peekFront(pointers), 2);
  EXPECT_EQ(pointers.size(), 1u);
  popFront(pointers);
  EXPECT_EQ(popFront(pointers), nullptr);
}

TEST(QZCollectionUtilsTest, MappingKeepsLengthAndOrderWithNullForNilResults) {
  auto doubledOrNil = [](const Value& v) { return v.intValue() % 2 ? Value() : Value(v.intValue() * 2); };
  EXPECT_EQ(QZNSArrayMappedByFunction(Value::array({2, 3, 4}), doubledOrNil), Value::array({4, Value::null(), 8}));
  EXPECT_EQ(QZNSArrayMappedByFunction(Value::array(), doubledOrNil), Value::array());
  EXPECT_TRUE(QZNSArrayMappedByFunction(Value(), doubledOrNil).isNil());
}

TEST(QZContainsSubstringTest, FindsLikeARangeSearch) {
  struct Case {
    const char* string;
    const char* substring;
    bool found;
  };
  const Case cases[] = {{"iPhone5,2", "iPhone", true}, {"iPad3,4", "iPhone", false}, {"abc", "", false}, {"", "a", false}};
  for (const auto& c : cases) EXPECT_EQ(qz_containsSubstring(c.string, c.substring), c.found) << c.string << " / " << c.substring;
}

class QZUniqueIdentifierManagerTest : public ::testing::Test {
protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() / ("QZUniqueIdentifierManagerTest." + std::to_string(getpid()));
    PlatformSettings::setSandboxRoot(root_.string());
    NSUserDefaults::resetStandardUserDefaults();
  }
  void TearDown() override {
    NSUserDefaults::resetStandardUserDefaults();
    PlatformSettings::reset();
    std::filesystem::remove_all(root_);
  }
  std::filesystem::path root_;
};

TEST_F(QZUniqueIdentifierManagerTest, TesselIdentifierIsStableAndPersisted) {
  std::string first;
  std::vector<std::string> racing(4);
  std::vector<std::thread> threads;
  for (auto& r : racing) threads.emplace_back([&r] { r = QZUniqueIdentifierManager::tesselIdentifier(); });
  for (auto& t : threads) t.join();
  first = racing[0];
  for (const auto& r : racing) EXPECT_EQ(r, first) << "racing first calls made two identifiers";
  EXPECT_EQ(first.size(), 36u);
  EXPECT_EQ(QZUniqueIdentifierManager::tesselIdentifier(), first);

  // Stored and synchronised at once: a fresh read of the defaults file finds it.
  NSUserDefaults::resetStandardUserDefaults();
  EXPECT_EQ(NSUserDefaults::standardUserDefaults()->objectForKey(TESSEL_UNIQUE_ID_KEY), Value(first));
  EXPECT_EQ(QZUniqueIdentifierManager::tesselIdentifier(), first);
}

// A stand-in for the platform's advertising class, answering by selector name.
class FakeIdentifier : public NSObject {
public:
  using NSObject::NSObject;
  Value performSelector(std::string_view selector) override {
    return selector == "UUIDString" ? Value("6D92078A-8246-4BA4-AE5B-76104861E7DC") : Value();
  }
};
class FakeManager : public NSObject {
public:
  using NSObject::NSObject;
  Value performSelector(std::string_view selector) override {
    return selector == "advertisingIdentifier" ? Value(NSObject::create<FakeIdentifier>()) : Value();
  }
};

TEST(QZAdvertisingIdentifierTest, AbsentClassAnswersNilAndPresentClassIsAskedBySelector) {
  EXPECT_EQ(QZUniqueIdentifierManager::advertisingIdentifier(), std::nullopt);
  NSClass::registerClass(std::make_shared<NSClass>(
      "ASIdentifierManager", nullptr,
      std::map<std::string, NSClass::ClassMethod, std::less<>>{{"sharedManager", [] { return Value(NSObject::create<FakeManager>()); }}}));
  EXPECT_EQ(QZUniqueIdentifierManager::advertisingIdentifier(), "6D92078A-8246-4BA4-AE5B-76104861E7DC");
  NSClass::unregisterClass("ASIdentifierManager");
  EXPECT_EQ(QZUniqueIdentifierManager::advertisingIdentifier(), std::nullopt);
}

}  // namespace
