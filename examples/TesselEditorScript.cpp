#include "TesselEditorScript.h"

#include "Dispatch/DispatchClock.h"
#include "Foundation/NSString.h"
#include "UIKit/UIKeyboard.h"

#include <cmath>
#include <filesystem>
#include <sstream>

namespace tessel_editor {

const char* const kDefaultScript = "# The editor once it has opened (its fade-in done), then Done.\n"
                                   "wait 0.5\n"
                                   "screenshot editor\n"
                                   "tap Done\n";

namespace {

constexpr const char* kNetworkUnfinished = "network work did not finish";

std::string trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// "X,Y" with finite numbers.
bool parsePoint(const std::string& text, CGPoint* point)
{
    const auto comma = text.find(',');
    if (comma == std::string::npos) return false;
    try {
        std::size_t used = 0;
        const std::string xs = text.substr(0, comma);
        const std::string ys = text.substr(comma + 1);
        const double x = std::stod(xs, &used);
        if (used != xs.size()) return false;
        const double y = std::stod(ys, &used);
        if (used != ys.size() || !std::isfinite(x) || !std::isfinite(y)) return false;
        *point = CGPointMake(CGFloat(x), CGFloat(y));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// An hour is far past any gesture or pause a person makes; a longer one is a slip that would keep
// the program busy for ever (a drag of 1e30 s would also pass as a one-frame flick).
constexpr double kMaximumSeconds = 3600;

// A number of seconds from 0 to an hour.
bool parseSeconds(const std::string& text, double* seconds)
{
    try {
        std::size_t used = 0;
        const double value = std::stod(text, &used);
        if (used != text.size() || !std::isfinite(value) || value < 0 || value > kMaximumSeconds) return false;
        *seconds = value;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// What `type` types: the rest of the line after the command and one blank, as written (a
// carriage return ending the line aside).
std::string typedText(const std::string& line)
{
    std::size_t at = line.find_first_not_of(" \t");
    at = line.find_first_of(" \t", at);
    if (at == std::string::npos) return "";
    std::string text = line.substr(at + 1);
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
}

std::vector<std::string> words(const std::string& text)
{
    std::istringstream stream(text);
    std::vector<std::string> result;
    for (std::string word; stream >> word;) result.push_back(word);
    return result;
}

}  // namespace

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

ScriptRunner::ScriptRunner(EditorHost& host, std::string screenshotDirectory)
    : host_(host), screenshotDirectory_(std::move(screenshotDirectory))
{
}

ScriptResult ScriptRunner::run(const std::vector<std::string>& lines)
{
    // Work the editor started on opening (a content update) belongs to the first line.
    bool settled = EditorHost::settle();
    ScriptResult result;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string line = trim(lines[index]);
        if (line.empty() || line[0] == '#') continue;
        const auto space = line.find_first_of(" \t");
        const std::string command = line.substr(0, space);
        const std::string arguments = space == std::string::npos ? "" : trim(line.substr(space));
        const std::string failure =
            settled ? runLine(command, command == "type" ? typedText(lines[index]) : arguments) : kNetworkUnfinished;
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

std::string ScriptRunner::runLine(const std::string& command, const std::string& arguments)
{
    const std::vector<std::string> parts = words(arguments);
    if (command == "wait") {
        double seconds = 0;
        if (parts.size() != 1 || !parseSeconds(parts[0], &seconds)) return "usage: wait SECONDS (0 to 3600)";
        constexpr double frame = 1.0 / DispatchClock::framesPerSecond;
        for (double waited = 0; waited + 1e-9 < seconds; waited += frame) {
            driver_.advance(std::min(frame, seconds - waited));
            if (!EditorHost::settle()) return kNetworkUnfinished;
        }
        return "";
    }
    if (command == "tap") {
        if (arguments.empty()) return "usage: tap LABEL | tap X,Y";
        CGPoint point;
        if (parts.size() == 1 && parsePoint(parts[0], &point)) {
            driver_.tap(point);
        } else if (!driver_.tapViewWithLabel(arguments)) {
            return "no visible view labelled \"" + arguments + "\"";
        }
    } else if (command == "drag") {
        CGPoint from, to;
        double seconds = 0;
        if (parts.size() != 3 || !parsePoint(parts[0], &from) || !parsePoint(parts[1], &to) ||
            !parseSeconds(parts[2], &seconds))
            return "usage: drag X1,Y1 X2,Y2 SECONDS (0 to 3600)";
        driver_.drag({from, to}, seconds);
    } else if (command == "press") {
        CGPoint point;
        double seconds = 0;
        if (parts.size() != 2 || !parsePoint(parts[0], &point) || !parseSeconds(parts[1], &seconds))
            return "usage: press X,Y SECONDS (0 to 3600)";
        driver_.press(point, seconds);
    } else if (command == "screenshot") {
        if (parts.size() != 1 || arguments.find('/') != std::string::npos || arguments == "." || arguments == "..")
            return "usage: screenshot NAME (a file name without folders)";
        if (!EditorHost::settle()) return kNetworkUnfinished;
        // The folder is made on first use, as a person naming it on the command line expects.
        std::error_code folderError;
        std::filesystem::create_directories(screenshotDirectory_, folderError);
        const std::string path = (std::filesystem::path(screenshotDirectory_) / (arguments + ".png")).string();
        if (!UITestDriver::writeSnapshot(*host_.window(), path)) return "cannot write " + path;
    } else if (command == "expect") {
        if (arguments.empty()) return "usage: expect LABEL";
        if (!EditorHost::settle()) return kNetworkUnfinished;
        if (!UITestDriver::visibleViewWithLabel(arguments))
            return "expected a visible view labelled \"" + arguments + "\"";
    } else if (command == "type") {
        if (arguments.empty()) return "usage: type TEXT";
        if (!NSStringIsValidUTF8(arguments)) return "type: the text is not valid UTF-8";
        if (!UIKeyboard::sharedKeyboard()->keyResponder())
            return "type: nothing takes typing (no key input is focused)";
        if (!driver_.typeText(arguments)) return "type: the focused key input went away while typing";
    } else if (command == "key") {
        if (parts.size() != 1 || (parts[0] != "return" && parts[0] != "backspace"))
            return "usage: key return|backspace";
        if (!(parts[0] == "return" ? driver_.pressReturn() : driver_.pressBackspace()))
            return "key: nothing takes typing (no key input is focused)";
    } else {
        return "unknown command \"" + command + "\"";
    }
    if (!EditorHost::settle()) return kNetworkUnfinished;
    return "";
}

}  // namespace tessel_editor
