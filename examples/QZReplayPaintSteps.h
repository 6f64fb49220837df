// QZReplayPaintSteps.h: the painting and placing steps of qz_replay: brush and draw strokes from a
// JSON file, tilt-shift, stickers and frame pieces, each a tool module holding its processors.
// stepKinds() lists them after the whole-image steps.
#pragma once

#include "QZReplaySteps.h"

namespace qz_replay {

const std::vector<StepKind>& paintStepKinds();

}  // namespace qz_replay
