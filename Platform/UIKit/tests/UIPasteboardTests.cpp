#include <gtest/gtest.h>

#include "UIKit/UIPasteboard.h"

TEST(UIPasteboardTest, NamedPasteboardsAreMadeOnlyWhenAskedAndKeepTheirText)
{
    EXPECT_EQ(UIPasteboard::pasteboardWithName("absent", false), nullptr);
    std::shared_ptr<UIPasteboard> made = UIPasteboard::pasteboardWithName("named", true);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->string(), std::nullopt);
    made->setString("text");
    EXPECT_EQ(UIPasteboard::pasteboardWithName("named", false), made);
    EXPECT_EQ(UIPasteboard::pasteboardWithName("named", false)->string(), "text");
    EXPECT_EQ(UIPasteboard::pasteboardWithName("other", true)->string(), std::nullopt);
    made->setString(std::nullopt);
    EXPECT_EQ(made->string(), std::nullopt);
}
