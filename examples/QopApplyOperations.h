// QopApplyOperations.h: the named QopLite operations the example host program can run, as one
// table. Each row knows its arguments (with defaults and allowed ranges), so the command line,
// the help text and the tests all read the same rows.
#pragma once

#include "QopLite/QopTypes.h"

#include <string>
#include <vector>

namespace qop_apply {

enum class ArgumentKind {
    Real,      // a finite decimal number within [min, max]
    Integer,   // a whole number within [min, max] (seeds: 0..4294967295)
    BlendMode, // one of the blend mode names (normal, overlay, color, screen, darken, multiply)
};

struct Argument {
    const char *name;
    ArgumentKind kind;
    const char *defaultValue; // written as on the command line
    double min = 0;           // not read for BlendMode
    double max = 0;
};

// The arguments of one run, already checked against the row's Argument list: every entry is
// present (defaults filled in), numbers are in range and blend modes are valid.
class ArgumentValues {
public:
    explicit ArgumentValues(std::vector<double> values) : values_(std::move(values)) {}
    float real(size_t i) const { return static_cast<float>(values_.at(i)); }
    double realDouble(size_t i) const { return values_.at(i); }
    uint32_t integer(size_t i) const { return static_cast<uint32_t>(values_.at(i)); }
    QopBlendMode_t blendMode(size_t i) const { return static_cast<QopBlendMode_t>(values_.at(i)); }

private:
    std::vector<double> values_;
};

// Changes the bitmap in place. Returns false, with a reason in *error, only when the operation
// could not run (its scratch memory was refused); the bitmap is then not to be written.
using OperationFunction = bool (*)(QopBitmap_t &bitmap, const ArgumentValues &args, std::string *error);

struct Operation {
    const char *name;
    const char *help; // one line
    std::vector<Argument> arguments;
    OperationFunction run;
};

// Every operation, in the order --help lists them.
const std::vector<Operation> &operations();
// The row named name, or null.
const Operation *findOperation(const std::string &name);

// Checks the given texts against the operation's arguments (fewer texts than arguments take
// the defaults; more is an error) and converts them. On failure returns false with a reason.
bool parseArguments(const Operation &operation, const std::vector<std::string> &texts, std::vector<double> *values,
                    std::string *error);

// "[amount=1] [seed=1]": the argument synopsis of a row, for the help text.
std::string synopsis(const Operation &operation);

// The blend mode names, in QopBlendMode order, and the mode of a name (false when unknown).
const std::vector<std::string> &blendModeNames();
bool blendModeNamed(const std::string &name, QopBlendMode_t *mode);

} // namespace qop_apply
