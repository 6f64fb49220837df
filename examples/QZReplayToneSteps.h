// QZReplayToneSteps.h: the whole-image steps of qz_replay: the five one-tap enhances, the original,
// and the tone sliders, each a tool module holding its one processor. stepKinds() lists them after
// the geometry and recipe steps.
#pragma once

#include "QZReplaySteps.h"

namespace qz_replay {

const std::vector<StepKind>& toneStepKinds();

}  // namespace qz_replay
