#include "TesselEditorScript.h"

#include "TesselEditorOutputs.h"

#include "Dispatch/DispatchClock.h"
#include "UIKit/testing/UITestReach.h"
#include "UIKit/UIKeyboard.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace tessel_editor {

const char* const kDefaultScript = "# The editor once it has opened (its fade-in done), then Done.\n"
                                   "wait 0.5\n"
                                   "screenshot editor\n"
                                   "tap Done\n";
const char* const kDefaultScriptWithoutScreenshots = "# The editor once it has opened (its fade-in done), then Done.\n"
                                                   "wait 0.5\n"
                                                   "tap Done\n";

namespace {

constexpr const char* kNetworkUnfinished = "network work did not finish";

std::string coveredMessage(const std::string& label)
{
    return label + " is covered (its middle reaches another view)";
}

}  // namespace

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

ScriptRunner::ScriptRunner(EditorHost& host, std::optional<std::string> screenshotDirectory)
    : host_(host), screenshotDirectory_(std::move(screenshotDirectory))
{
}

ScriptResult ScriptRunner::run(const std::vector<std::string>& lines)
{
    // Work the editor started on opening (a content update) belongs to the first line.
    bool settled = EditorHost::settle();
    ScriptResult result;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const ScriptLine line = parseScriptLine(lines[index]);
        if (line.kind == ScriptLine::Kind::Skip && line.error.empty()) continue;
        const std::string failure = !settled ? kNetworkUnfinished : !line.error.empty() ? line.error : runLine(line);
        settled = true;
        if (!failure.empty()) {
            result.status = ScriptResult::Status::Failed;
            result.line = int(index + 1);
            result.message = failure;
            return result;
        }
        if (host_.outcome() == EditorHost::Outcome::Finished) {
            result.status = ScriptResult::Status::Finished;
            return result;
        }
        if (host_.outcome() == EditorHost::Outcome::Cancelled) {
            result.status = ScriptResult::Status::Cancelled;
            return result;
        }
    }
    return result;
}

std::string ScriptRunner::runLine(const ScriptLine& line)
{
    using Kind = ScriptLine::Kind;
    switch (line.kind) {
    case Kind::Wait: {
        constexpr double frame = 1.0 / DispatchClock::framesPerSecond;
        for (double waited = 0; waited + 1e-9 < line.seconds; waited += frame) {
            driver_.advance(std::min(frame, line.seconds - waited));
            if (!EditorHost::settle()) return kNetworkUnfinished;
        }
        return "";
    }
    case Kind::TapPoint: driver_.tap(line.from); break;
    case Kind::TapLabel: {
        const std::shared_ptr<UIView> view = UITestDriver::visibleViewWithLabel(line.text);
        if (!view) return "no visible view labelled \"" + line.text + "\"";
        if (!UITestIsReachable(*view)) return coveredMessage(line.text);
        driver_.tap(UITestReachablePoint(*view));
        break;
    }
    case Kind::Drag: driver_.drag({line.from, line.to}, line.seconds); break;
    case Kind::Press: driver_.press(line.from, line.seconds); break;
    case Kind::Screenshot: {
        if (!screenshotDirectory_) return "screenshot needs --screenshots DIR";
        if (!EditorHost::settle()) return kNetworkUnfinished;
        // The folder is made on first use, as a person naming it on the command line expects.
        std::error_code folderError;
        std::filesystem::create_directories(*screenshotDirectory_, folderError);
        const std::string path = screenshotPath(*screenshotDirectory_, line.text);
        if (!UITestDriver::writeSnapshot(*host_.window(), path)) return "cannot write " + path;
        break;
    }
    case Kind::Expect: {
        if (!EditorHost::settle()) return kNetworkUnfinished;
        const std::shared_ptr<UIView> view = UITestDriver::visibleViewWithLabel(line.text);
        if (!view) return "expected a visible view labelled \"" + line.text + "\"";
        if (!UITestIsReachable(*view)) return coveredMessage(line.text);
        break;
    }
    case Kind::Type:
        if (!UIKeyboard::sharedKeyboard()->keyResponder())
            return "type: nothing takes typing (no key input is focused)";
        if (!driver_.typeText(line.text)) return "type: the focused key input went away while typing";
        break;
    case Kind::Key:
        if (!(line.text == "return" ? driver_.pressReturn() : driver_.pressBackspace()))
            return "key: nothing takes typing (no key input is focused)";
        break;
    case Kind::Skip: return "";
    }
    if (!EditorHost::settle()) return kNetworkUnfinished;
    return "";
}

}  // namespace tessel_editor
