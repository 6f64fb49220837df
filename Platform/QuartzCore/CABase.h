#pragma once
// Media time: seconds on the one clock (DispatchClock), so animations, timers and delayed blocks
// agree; in virtual time it moves only when a test advances the clock. Its origin is arbitrary:
// only differences mean anything.

using CFTimeInterval = double;

CFTimeInterval CACurrentMediaTime();
