// Fuzz target for tessel_editor's scripts: the input is split into lines as the program splits a
// script file, and each line is read. Whatever it holds: a malformed line says why and does
// nothing; a read line carries only finite points, durations from 0 to an hour, a screenshot name
// that names no folder, and typed text that is valid UTF-8. Never a crash.
#include "Foundation/NSString.h"
#include "TesselEditorScriptLine.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

bool finite(CGPoint point)
{
    return std::isfinite(point.x) && std::isfinite(point.y);
}

void check(const tessel_editor::ScriptLine& line)
{
    using Kind = tessel_editor::ScriptLine::Kind;
    if (!line.error.empty()) {
        if (line.kind != Kind::Skip) std::abort();
        return;
    }
    if (!finite(line.from) || !finite(line.to)) std::abort();
    if (!(line.seconds >= 0 && line.seconds <= tessel_editor::kScriptMaximumSeconds)) std::abort();
    switch (line.kind) {
    case Kind::Screenshot:
        if (line.text.empty() || line.text.find('/') != std::string::npos || line.text == "." || line.text == "..")
            std::abort();
        break;
    case Kind::Type:
        if (line.text.empty() || !NSStringIsValidUTF8(line.text)) std::abort();
        break;
    case Kind::Key:
        if (line.text != "return" && line.text != "backspace") std::abort();
        break;
    case Kind::TapLabel:
    case Kind::Expect:
        if (line.text.empty()) std::abort();
        break;
    default: break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream script(std::string(reinterpret_cast<const char*>(data), size));
    for (std::string line; std::getline(script, line);) check(tessel_editor::parseScriptLine(line));
    return 0;
}
