#pragma once
// What the selective-brush tools (blemish, whiten, colour splash) share: a preview render of one
// stroke through their live processor, and the module that replays all their strokes at full size.

#include "TesselSDK/shell/QZToolViewController.h"

#include "TesselSDKImaging/Processors/QZSelectiveBrushProcessor.h"

#include <functional>
#include <memory>

// Renders the stroke alone (none: no stroke) with the live processor on the screen's preview
// server, at the GL instance's current size, then presents it from the GL queue. The screen is not
// ready to apply meanwhile. `rendered` runs on the main queue afterwards; it holds the screen
// weakly itself and sets it ready again.
void QZBrushPreviewRender(QZToolViewController& screen, QZSelectiveBrushProcessor& processor,
                          const std::shared_ptr<QZBrushStroke>& stroke, std::function<void()> rendered);

// A module whose every ask makes a new full-size processor from the factory, holding the strokes
// and the preview's mask size and no GL instance. A processor keeps its effect texture from run to
// run, so one shared by two replays would show the first replay's image in the second.
std::shared_ptr<QZModule>
QZBrushReplayModule(std::function<std::shared_ptr<QZSelectiveBrushProcessor>()> processorClass,
                    QZBrushStrokeList strokes, CGSize maskSize);
