#pragma once
// tessel_editor's scripts: one command per line (read by parseScriptLine, TesselEditorScriptLine.h),
// acted out on the host's window as a person would (touches on the virtual clock), until the
// editor is done or cancelled.
//
// type types TEXT (the rest of the line, literally: UTF-8, no quotes or escapes) into the focused
// key input as the keyboard would, one key a frame; key presses Return or Backspace. Both fail
// the line when no key input is focused; type also for an empty TEXT or ill-formed UTF-8.
//
// tap LABEL and expect LABEL need the view reachable: the middle of its visible part hit-tests to
// it or a view inside it (to a view it lies in, for a view that takes no touches itself, such as
// a cell's label). A view covered there fails the line: a tap would reach the other view.
//
// Lines starting with # and blank lines are skipped. Every command but wait is followed by
// settling the queues without moving the clock; wait moves it in 1/60 s steps, settling after each.

#include "TesselEditorHost.h"
#include "TesselEditorScriptLine.h"

#include "UIKit/testing/UITestDriver.h"

#include <optional>
#include <string>
#include <vector>

namespace tessel_editor {

struct ScriptResult {
    enum class Status { Finished, Cancelled, Ended, Failed };
    Status status = Status::Ended;
    int line = 0;         // the failing line (from 1)
    std::string message;  // why it failed
};

// Open the editor, a screenshot, Done; without a screenshot folder, no screenshot.
extern const char* const kDefaultScript;
extern const char* const kDefaultScriptWithoutScreenshots;

std::vector<std::string> splitLines(const std::string& text);

class ScriptRunner {
public:
    // Screenshots are written as DIR/NAME.png; without a folder a screenshot line fails (nothing
    // is written where the person did not ask).
    ScriptRunner(EditorHost& host, std::optional<std::string> screenshotDirectory);

    // Runs the lines until Done or Cancel has been heard (later lines are not run), the end, or the
    // first line that fails.
    ScriptResult run(const std::vector<std::string>& lines);

private:
    // Empty on success, else why the line failed.
    std::string runLine(const ScriptLine& line);

    EditorHost& host_;
    std::optional<std::string> screenshotDirectory_;
    UITestDriver driver_;
};

}  // namespace tessel_editor
