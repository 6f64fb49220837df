// A tool's "colors" setting read into its palette: what counts, what is skipped, and what is
// said about it.
#include "TesselSDKFoundation/QZColorPalette.h"

#include "Foundation/NSLogCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// "rrggbb" of each colour, lower case.
std::vector<std::string> hexOf(const std::vector<std::shared_ptr<UIColor>>& palette)
{
    std::vector<std::string> out;
    for (const auto& color : palette) {
        CGFloat r = 0, g = 0, b = 0, a = 0;
        EXPECT_TRUE(color->getRed(&r, &g, &b, &a));
        EXPECT_EQ(a, 1);
        char text[8];
        std::snprintf(text, sizeof text, "%02x%02x%02x", int(r * 255 + 0.5f), int(g * 255 + 0.5f), int(b * 255 + 0.5f));
        out.push_back(text);
    }
    return out;
}

TEST(QZColorPalette, KeepsOnlySixHexDigitEntriesInOrderAndNamesTheRest)
{
    struct Case {
        const char* name;
        Value colors;
        std::vector<std::string> kept;
        std::size_t lines;
        std::vector<std::string> named;  // in the first log lines, in order
    };
    const Case cases[] = {
        {"mixed", Value::array({"#FF0000", 7, "zz", "00FF00"}), {"ff0000", "00ff00"}, 2, {"7", "zz"}},
        {"short, empty and lower case",
         Value::array({"#0000FF", "zzz", "#00F", "ff00aA", 7, ""}),
         {"0000ff", "ff00aa"},
         4,
         {"zzz", "#00F", "7", "\"\""}},
        {"near misses",
         Value::array({"##FFFFF", " #FFFFFF", "#12345G", "#1234567", Value::array()}),
         {},
         5,
         {"##FFFFF", " #FFFFFF"}},
        {"not a list", Value("red"), {}, 1, {"red"}},
        {"a dictionary", Value::dictionary({{"white", "#FFFFFF"}}), {}, 1, {"white"}},
        {"no setting", Value(), {}, 0, {}},
        {"the shipped palette",
         Value::array({"#FFFFFF", "#000000", "#E5261F", "#F28C1A", "#F6D629", "#4CB84A", "#1F9DE0", "#2B4FA8",
                       "#8E44AD", "#E85C9A"}),
         {"ffffff", "000000", "e5261f", "f28c1a", "f6d629", "4cb84a", "1f9de0", "2b4fa8", "8e44ad", "e85c9a"},
         0,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NSLogCapture log;
        const auto palette = QZColorPaletteWithHexStrings(c.colors, "-[QZTextViewController viewDidLoad]");
        EXPECT_EQ(hexOf(palette), c.kept);
        const auto lines = log.lines();
        ASSERT_EQ(lines.size(), c.lines);
        for (std::size_t i = 0; i < c.named.size(); ++i) {
            EXPECT_EQ(lines[i].rfind("-[QZTextViewController viewDidLoad] ", 0), 0u) << lines[i];
            EXPECT_NE(lines[i].find(c.named[i]), std::string::npos) << lines[i];
        }
    }
}

}  // namespace
