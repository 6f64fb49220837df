// tessel_editor's script lines as read before anything is acted out: what each command carries,
// and the usage a malformed one answers with.
#include "TesselEditorScriptLine.h"

#include <gtest/gtest.h>

namespace {

using tessel_editor::parseScriptLine;
using tessel_editor::ScriptLine;
using Kind = ScriptLine::Kind;

TEST(TesselEditorScriptLine, CommandsCarryTheirValues)
{
    struct Case {
        const char* line;
        Kind kind;
        CGPoint from, to;
        double seconds;
        const char* text;
    };
    const Case cases[] = {
        {"", Kind::Skip, {}, {}, 0, ""},
        {"  # tap Done", Kind::Skip, {}, {}, 0, ""},
        {"wait 0.5\r", Kind::Wait, {}, {}, 0.5, ""},
        {"wait 3600", Kind::Wait, {}, {}, 3600, ""},
        {"tap 12.5,-3", Kind::TapPoint, {12.5, -3}, {}, 0, ""},
        {"tap  Photo Editor ", Kind::TapLabel, {}, {}, 0, "Photo Editor"},
        {"tap 1,2 3", Kind::TapLabel, {}, {}, 0, "1,2 3"},
        {"drag 1,2 3,4 0.25", Kind::Drag, {1, 2}, {3, 4}, 0.25, ""},
        {"press 5,6 2", Kind::Press, {5, 6}, {}, 2, ""},
        {"screenshot 01-home", Kind::Screenshot, {}, {}, 0, "01-home"},
        {"expect Restore Original", Kind::Expect, {}, {}, 0, "Restore Original"},
        {"type  two  blanks kept \r", Kind::Type, {}, {}, 0, " two  blanks kept "},
        {"type a\tb \xc2\xa9", Kind::Type, {}, {}, 0, "a\tb \xc2\xa9"},
        {"key return", Kind::Key, {}, {}, 0, "return"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const ScriptLine line = parseScriptLine(c.line);
        EXPECT_EQ(line.error, "");
        EXPECT_EQ(line.kind, c.kind);
        EXPECT_EQ(line.from.x, c.from.x);
        EXPECT_EQ(line.from.y, c.from.y);
        EXPECT_EQ(line.to.x, c.to.x);
        EXPECT_EQ(line.to.y, c.to.y);
        EXPECT_EQ(line.seconds, c.seconds);
        EXPECT_EQ(line.text, c.text);
    }
}

TEST(TesselEditorScriptLine, MalformedLinesSayHowAndCarryNothing)
{
    const std::pair<std::string, const char*> cases[] = {
        {"jump 3,4", "unknown command \"jump\""},
        {"wait", "usage: wait SECONDS (0 to 3600)"},
        {"wait 3600.5", "usage: wait SECONDS (0 to 3600)"},
        {"wait 1e30", "usage: wait SECONDS (0 to 3600)"},
        {"wait -1", "usage: wait SECONDS (0 to 3600)"},
        {"wait nan", "usage: wait SECONDS (0 to 3600)"},
        {"wait 1s", "usage: wait SECONDS (0 to 3600)"},
        {"tap", "usage: tap LABEL | tap X,Y"},
        {"drag 1,2 3", "usage: drag X1,Y1 X2,Y2 SECONDS (0 to 3600)"},
        {"drag 1,inf 3,4 1", "usage: drag X1,Y1 X2,Y2 SECONDS (0 to 3600)"},
        {"drag 1,2 3,4 1e30", "usage: drag X1,Y1 X2,Y2 SECONDS (0 to 3600)"},
        {"press 1,2 7200", "usage: press X,Y SECONDS (0 to 3600)"},
        {"press 1e400,2 1", "usage: press X,Y SECONDS (0 to 3600)"},
        {"press 2,-1e39 1", "usage: press X,Y SECONDS (0 to 3600)"},
        {"drag 1,2 1e39,4 1", "usage: drag X1,Y1 X2,Y2 SECONDS (0 to 3600)"},
        {"screenshot ../escape", "usage: screenshot NAME (a file name without folders)"},
        {"screenshot ..", "usage: screenshot NAME (a file name without folders)"},
        {"screenshot two words", "usage: screenshot NAME (a file name without folders)"},
        {"expect", "usage: expect LABEL"},
        {"type", "usage: type TEXT"},
        {"type \xff\xfe", "type: the text is not valid UTF-8"},
        {std::string("type a\0b", 8), "type: the text holds a control character no keyboard types"},
        {"type a\x1b[2Jb", "type: the text holds a control character no keyboard types"},
        {"type a\rb", "type: the text holds a control character no keyboard types"},
        {"type a\x7f\xc2\x85", "type: the text holds a control character no keyboard types"},
        {"key escape", "usage: key return|backspace"},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(text);
        const ScriptLine line = parseScriptLine(text);
        EXPECT_EQ(line.error, message);
        EXPECT_EQ(line.kind, Kind::Skip);
    }
}

}  // namespace
