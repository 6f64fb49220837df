#include "Foundation/NSError.h"
#include "Foundation/NSStringsTable.h"

#include <gtest/gtest.h>

namespace {

TEST(NSStringsTableTest, ParsesTheTextFormWithCommentsAndEscapes)
{
    const char* text = "/* Tool titles */\n"
                       "\"Crop\" = \"Recortar\";\n"
                       "// a line comment\n"
                       "\"Say \\\"hi\\\"\" = \"Line\\nbreak \\U00e9 \\UD83D\\UDE00 tab\\t\";\n"
                       "plainKey = plain_value;\n"
                       "\"Alone\";\n";
    std::shared_ptr<NSError> error;
    Value table = NSStringsTableFromText(text, &error);
    ASSERT_TRUE(table.isDictionary()) << (error ? error->localizedDescription() : "");
    EXPECT_EQ(table, Value::dictionary({{"Crop", "Recortar"},
                                        {"Say \"hi\"", "Line\nbreak \u00e9 \U0001F600 tab\t"},
                                        {"plainKey", "plain_value"},
                                        {"Alone", "Alone"}}));
    // The same table read through the property-list entry point, and as UTF-16 with a BOM.
    EXPECT_EQ(Value::fromPropertyList(std::string_view(text)), table);
    std::string utf16 = "\xff\xfe";
    for (char c : std::string("\"k\" = \"v\";")) utf16 += std::string{c, '\0'};
    EXPECT_EQ(NSStringsTableFromText(utf16), Value::dictionary({{"k", "v"}}));
}

TEST(NSStringsTableTest, FaultsAreReportedWithTheirLineAndNothingIsHalfRead)
{
    // Truncated, missing parts, and strings of no UTF-8: raw bytes, an overlong form, a lone
    // surrogate in UTF-16 text.
    const std::string broken[] = {"\"a\" = \"b\";\n\"c\" = \"d\"\n", "\"a\" = ;", "\"a\" = \"unterminated;", "/* open",
                                  "= \"v\";", "\"a\" = \"\xFF\";", "\"\xC0\xAF\" = \"b\";",
                                  std::string("\xFF\xFE\"\0a\0\x00\xD8\"\0;\0", 12)};
    for (const std::string& text : broken) {
        SCOPED_TRACE(text);
        std::shared_ptr<NSError> error;
        EXPECT_TRUE(NSStringsTableFromText(text, &error).isNil());
        ASSERT_TRUE(error);
        EXPECT_NE(error->localizedDescription().find("line"), std::string::npos);
    }
    std::shared_ptr<NSError> error;
    NSStringsTableFromText("\"a\" = \"b\";\n\"c\" = \"d\"\n", &error);
    EXPECT_NE(error->localizedDescription().find("line 3"), std::string::npos) << error->localizedDescription();
}

}  // namespace
