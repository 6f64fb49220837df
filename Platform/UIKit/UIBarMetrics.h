#pragma once
// Which bar height a bar image is for: navigation bars and bar button items share it.

#include "Foundation/NSObjCRuntime.h"

enum UIBarMetrics : NSInteger {
    UIBarMetricsDefault = 0,
    UIBarMetricsLandscapePhone = 1,
};
