#include "TesselEditorScriptLine.h"

#include "Foundation/NSString.h"

#include <cmath>
#include <limits>
#include <sstream>
#include <vector>

namespace tessel_editor {

namespace {

std::string trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// A finite number making up the whole text.
bool parseNumber(const std::string& text, double* value)
{
    try {
        std::size_t used = 0;
        const double number = std::stod(text, &used);
        if (used != text.size() || !std::isfinite(number)) return false;
        *value = number;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// "X,Y" with numbers a point's coordinates can hold (finite, and within single precision: past it
// the conversion itself is undefined).
bool parsePoint(const std::string& text, CGPoint* point)
{
    const auto comma = text.find(',');
    double x = 0, y = 0;
    if (comma == std::string::npos || !parseNumber(text.substr(0, comma), &x) ||
        !parseNumber(text.substr(comma + 1), &y))
        return false;
    constexpr double largest = std::numeric_limits<CGFloat>::max();
    if (std::fabs(x) > largest || std::fabs(y) > largest) return false;
    *point = CGPointMake(CGFloat(x), CGFloat(y));
    return true;
}

// A number of seconds from 0 to an hour.
bool parseSeconds(const std::string& text, double* seconds)
{
    return parseNumber(text, seconds) && *seconds >= 0 && *seconds <= kScriptMaximumSeconds;
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

// No key types a control character but the tab: NUL and the rest of C0, DEL, C1 (U+0080 to
// U+009F, 0xC2 then 0x80 to 0x9F in UTF-8).
bool hasControlCharacter(const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F) return true;
        if (byte == 0xC2 && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80) return true;
    }
    return false;
}

std::vector<std::string> words(const std::string& text)
{
    std::istringstream stream(text);
    std::vector<std::string> result;
    for (std::string word; stream >> word;) result.push_back(word);
    return result;
}

ScriptLine malformed(std::string usage)
{
    ScriptLine line;
    line.error = std::move(usage);
    return line;
}

}  // namespace

ScriptLine parseScriptLine(const std::string& raw)
{
    const std::string line = trim(raw);
    ScriptLine parsed;
    if (line.empty() || line[0] == '#') return parsed;
    const auto space = line.find_first_of(" \t");
    const std::string command = line.substr(0, space);
    const std::string arguments = space == std::string::npos ? "" : trim(line.substr(space));
    const std::vector<std::string> parts = words(arguments);
    if (command == "wait") {
        if (parts.size() != 1 || !parseSeconds(parts[0], &parsed.seconds))
            return malformed("usage: wait SECONDS (0 to 3600)");
        parsed.kind = ScriptLine::Kind::Wait;
    } else if (command == "tap") {
        if (arguments.empty()) return malformed("usage: tap LABEL | tap X,Y");
        if (parts.size() == 1 && parsePoint(parts[0], &parsed.from)) {
            parsed.kind = ScriptLine::Kind::TapPoint;
        } else {
            parsed.kind = ScriptLine::Kind::TapLabel;
            parsed.text = arguments;
        }
    } else if (command == "drag") {
        if (parts.size() != 3 || !parsePoint(parts[0], &parsed.from) || !parsePoint(parts[1], &parsed.to) ||
            !parseSeconds(parts[2], &parsed.seconds))
            return malformed("usage: drag X1,Y1 X2,Y2 SECONDS (0 to 3600)");
        parsed.kind = ScriptLine::Kind::Drag;
    } else if (command == "press") {
        if (parts.size() != 2 || !parsePoint(parts[0], &parsed.from) || !parseSeconds(parts[1], &parsed.seconds))
            return malformed("usage: press X,Y SECONDS (0 to 3600)");
        parsed.kind = ScriptLine::Kind::Press;
    } else if (command == "screenshot") {
        if (parts.size() != 1 || arguments.find('/') != std::string::npos || arguments == "." || arguments == "..")
            return malformed("usage: screenshot NAME (a file name without folders)");
        parsed.kind = ScriptLine::Kind::Screenshot;
        parsed.text = arguments;
    } else if (command == "expect") {
        if (arguments.empty()) return malformed("usage: expect LABEL");
        parsed.kind = ScriptLine::Kind::Expect;
        parsed.text = arguments;
    } else if (command == "type") {
        parsed.text = typedText(raw);
        if (parsed.text.empty()) return malformed("usage: type TEXT");
        if (!NSStringIsValidUTF8(parsed.text)) return malformed("type: the text is not valid UTF-8");
        if (hasControlCharacter(parsed.text))
            return malformed("type: the text holds a control character no keyboard types");
        parsed.kind = ScriptLine::Kind::Type;
    } else if (command == "key") {
        if (parts.size() != 1 || (parts[0] != "return" && parts[0] != "backspace"))
            return malformed("usage: key return|backspace");
        parsed.kind = ScriptLine::Kind::Key;
        parsed.text = parts[0];
    } else {
        return malformed("unknown command \"" + command + "\"");
    }
    return parsed;
}

}  // namespace tessel_editor
