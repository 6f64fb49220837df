// QZReplaySteps.h: the edits qz_replay can replay, as one table. Each row turns the text after
// "name=" into a module maker, checking everything the text holds before any pixel is read; the
// maker builds the module for the image as it is when the step's turn comes. The command line,
// the help text and the tests all read the same rows.
//
// Adding a step is one row in stepKinds() (QZReplaySteps.cpp): a name, a synopsis of its value, one
// line of help and a parse function; the helpers below parse the usual values.
#pragma once

#include "TesselSDKImaging/Modules/QZModule.h"

#include "CoreGraphics/CGGeometry.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qz_replay {

// The most a recipe or strokes file named in a step may hold: a page of JSON is a few kilobytes.
inline constexpr std::size_t kMaximumStepFileBytes = std::size_t{4} << 20;

// What a module is made for: the current image's pixel size, and the path it runs on.
struct StepTarget {
    CGSize size;
    bool onCPU;
};

// Makes the step's module for the image as it is now.
using ModuleMaker = std::function<std::shared_ptr<QZModule>(const StepTarget& target)>;

struct StepKind {
    const char* name;
    const char* valueSynopsis;  // "X,Y,W,H"; empty for a step without a value
    const char* help;           // one line
    // Checks the value; the maker on success, else false with the reason in *error.
    bool (*parse)(const std::string& value, ModuleMaker* maker, std::string* error);
};

// Every step, in the order --help lists them.
const std::vector<StepKind>& stepKinds();
// The row named name, or null.
const StepKind* findStepKind(const std::string& name);

struct Step {
    std::string text;  // as given on the command line
    ModuleMaker makeModule;
};
// Parses "name=value" (or a bare "name" for a step without a value). False with a message naming
// the step when it is unknown or malformed.
bool parseStep(const std::string& text, Step* step, std::string* error);

// Sets what every replayed module gets: scaleFactor 1, parameterSeed 0, borders on, and whether it
// runs on the CPU.
void configureModule(QZModule& module, bool onCPU);

// --- Value parsers for the rows ---
// A finite decimal number (the whole text).
bool parseReal(const std::string& text, double* value);
// A whole number in [min, max] written with digits only.
bool parseInteger(const std::string& text, long long min, long long max, long long* value);
// Comma-separated finite decimals, exactly `count` of them.
bool parseReals(const std::string& text, std::size_t count, std::vector<double>* values);

// The straightening zoom that keeps no corner outside: cos a + (L / S) sin a for the angle a (its
// magnitude) and the longer and shorter sides L and S.
CGFloat straightenScale(CGFloat rotation, CGSize size);

}  // namespace qz_replay
