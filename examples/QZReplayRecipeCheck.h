// QZReplayRecipeCheck.h: what qz_replay finds wrong in an effect recipe before it runs it. The
// recipe runner answers only true or false, stops at the first processor it refuses (those after
// it never run) and ignores parameters it does not know, so a slip in a recipe file would replay
// as an image left as it was, with no word. This names the processor and the parameter instead.
#pragma once

#include <string>

namespace qz_replay {

// Empty when every processor of the loaded recipe `json` runs as written; else why the first one
// that would not does not: an unknown processor, a parameter that looks like a misspelling of one
// the processor takes, a missing parameter, a number past the single precision the processors
// read, or any other refusal of the runner (found by running the processor on a small bitmap).
// Parameters the processor does not take and that resemble none it does are notes, and pass.
std::string recipeProblem(const std::string& json);

}  // namespace qz_replay
