#pragma once
// The touch constants of the toolkit, in one place: how far a finger may wander before a gesture
// changes its mind, and how long gestures and scroll views wait.

#include "CoreGraphics/CGBase.h"

// A tap moves at most this far (points); a long press's default allowable movement is the same.
inline constexpr CGFloat UITapAllowableMovement = 10;
// The taps of a multi-tap start within this many seconds of each other.
inline constexpr double UIMultiTapInterval = 0.35;
// A pan, and a scroll view's drag, begins once the touches have moved this far (points).
inline constexpr CGFloat UIPanHysteresis = 10;
// A scroll view holds touches this long before its content sees them (seconds).
inline constexpr double UIScrollViewContentTouchDelay = 0.15;
// A release faster than this (points per millisecond) is a flick.
inline constexpr double UIScrollViewFlickSpeed = 0.25;
// Velocities are measured over the last tenth of a second of movement.
inline constexpr double UIVelocityWindow = 0.1;
// A scroll view released past an edge eases back over this long (seconds); a programmatic
// animated scroll or zoom takes as long.
inline constexpr double UIScrollViewBounceDuration = 0.3;
inline constexpr double UIScrollViewAnimationDuration = 0.3;
