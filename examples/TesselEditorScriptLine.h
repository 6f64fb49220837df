#pragma once
// One line of a tessel_editor script, read and checked before anything is acted out:
//
//   tap LABEL | tap X,Y | drag X1,Y1 X2,Y2 SECONDS | press X,Y SECONDS | wait SECONDS
//   screenshot NAME | expect LABEL | type TEXT | key return|backspace
//
// Points are finite numbers; durations run from 0 to an hour (a longer one is a slip that would
// keep the program busy for ever). Blank lines and lines starting with # are skipped. What a line
// needs of the editor (a view with the label, a focused key input) is found only when it runs.

#include "CoreGraphics/CGGeometry.h"

#include <string>

namespace tessel_editor {

inline constexpr double kScriptMaximumSeconds = 3600;

struct ScriptLine {
    enum class Kind { Skip, Wait, TapPoint, TapLabel, Drag, Press, Screenshot, Expect, Type, Key };
    Kind kind = Kind::Skip;
    CGPoint from{};      // tap X,Y, press and the start of a drag
    CGPoint to{};        // the end of a drag
    double seconds = 0;  // wait, drag, press
    std::string text;    // the label, the screenshot's name, the typed text, "return" or "backspace"
    std::string error;   // not empty: the line is malformed, and this says how (a usage line)
};

// Reads one line as the file holds it (a carriage return ending it is dropped).
ScriptLine parseScriptLine(const std::string& line);

}  // namespace tessel_editor
