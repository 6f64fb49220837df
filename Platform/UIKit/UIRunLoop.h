#pragma once
// UIKit's part of a main run-loop turn, after the due timers and main-queue blocks: the animation
// tick, then layout, then display of every window's tree.

void UIKitRunLoopTurn();
