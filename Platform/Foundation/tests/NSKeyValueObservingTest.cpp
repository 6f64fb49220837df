#include "Foundation/NSKeyValueObserving.h"

#include <gtest/gtest.h>

namespace {

struct Thing : NSKeyValueObservable {
    int size = 0;
    void setSize(int s)
    {
        willChangeValueForKey("size");
        size = s;
        didChangeValueForKey("size");
    }
};

TEST(NSKeyValueObservingTest, ObserversOfAKeyHearBeforeAndAfterItsChanges)
{
    Thing thing;
    std::vector<std::string> heard;
    auto a = thing.addObserverForKey("size", [&](const std::string& key, bool prior) {
        heard.push_back(key + (prior ? " before " : " after ") + std::to_string(thing.size));
    });
    thing.addObserverForKey("colour", [&](const std::string&, bool) { heard.push_back("colour"); });
    thing.setSize(3);
    EXPECT_EQ(heard, (std::vector<std::string>{"size before 0", "size after 3"}));

    // An observer removed while being told is not told again, even in the same round.
    heard.clear();
    unsigned long b = 0;
    b = thing.addObserverForKey("size", [&](const std::string&, bool) {
        heard.push_back("b");
        thing.removeObserver(b);
    });
    thing.removeObserver(a);
    thing.setSize(4);
    EXPECT_EQ(heard, std::vector<std::string>{"b"});
}

}  // namespace
