#pragma once
// UIKit's stages of the main run loop: the touches posted since the last turn (input stage) and,
// after the animation tick (QuartzCore's), the layout of every window's tree. Installed once,
// when the first view is made; drawing happens when a window is composited (snapshots, a host's
// window).

void UIKitInstallRunLoopStages();
