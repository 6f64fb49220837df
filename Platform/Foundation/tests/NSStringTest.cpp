#include "Foundation/NSError.h"
#include "Foundation/NSLog.h"
#include "Foundation/NSLogCapture.h"
#include "Foundation/NSString.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(NSStringTest, FormatHandlesPrintfConversionsAndObjects)
{
    auto error = NSError::errorWithDescription("QZDomain", 3, "Broken pipe");
    struct Case {
        std::string got;
        std::string expected;
    };
    const Case cases[] = {
        {NSStringWithFormat("%s %@", "-[QZGLManager load]", Value("ready")), "-[QZGLManager load] ready"},
        {NSStringWithFormat("%d|%5.2f|%-4s|%x|%%", 42, 3.14159, "ab", 255u), "42| 3.14|ab  |ff|%"},
        {NSStringWithFormat("%@", error), "Error Domain=QZDomain Code=3 \"Broken pipe\""},
        {NSStringWithFormat("%@ %@", Value(), std::shared_ptr<NSError>()), "(null) (null)"},
        {NSStringWithFormat("%@", Value::array({1, 2})), "(\n    1,\n    2\n)"},
        {NSStringWithFormat("%@ and %s", std::string("std"), std::string("strings")), "std and strings"},
        // Integers print at the target's 32-bit size unless a length modifier widens them.
        {NSStringWithFormat("%u %ld", -1, std::int64_t{1} << 33), "4294967295 8589934592"},
        {NSStringWithFormat("%*d|%.*f", 4, 7, 1, 0.25), "   7|0.2"},
        // Missing arguments leave the directive as written instead of reading garbage.
        {NSStringWithFormat("%d and %@", 1), "1 and %@"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.expected);
}

TEST(NSStringTest, LogCaptureReceivesLinesFromEveryThreadAndNests)
{
    NSLogCapture outer;
    {
        NSLogCapture inner;
        std::thread worker([] { NSLog("%s %@", "-[QZWorker run]", Value("from worker")); });
        worker.join();
        NSLog("%s %@", "-[QZMain run]", Value("from main"));
        EXPECT_EQ(inner.lines(), (std::vector<std::string>{"-[QZWorker run] from worker", "-[QZMain run] from main"}));
    }
    NSLog("after");
    EXPECT_EQ(outer.lines(), std::vector<std::string>{"after"});
    EXPECT_TRUE(outer.contains("aft"));
}

}  // namespace
