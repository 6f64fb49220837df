#pragma once
// The customizer's global constants: the extension of theme files and the notification that the
// whole theme was replaced by an opened file (every panel reloads its colours from it).

#include "Model/QZSignal.h"

namespace customizer {

inline constexpr const char* TESSEL_CUSTOMIZATION_FILE_TYPE = "tslcst";

// Emitted on the thread that opened the file, after the new theme is in place.
inline QZSignal CUSTOMIZATION_CONFIGURATION_CHANGED;

}  // namespace customizer
