// QZReplayTextSteps.h: the text steps of qz_replay: a block of outlined, rotated text and the two
// meme captions, each a tool module holding its processor. stepKinds() lists them last.
#pragma once

#include "QZReplaySteps.h"

namespace qz_replay {

const std::vector<StepKind>& textStepKinds();

// "\n" (backslash, n) in a step's text stands for a line feed.
std::string unescapeLineFeeds(const std::string& text);

}  // namespace qz_replay
