#pragma once
// The application's resource folder: the lists, the defaults and the masks the build draws,
// $TESSEL_CUSTOMIZER_RESOURCES when set, else "Resources" beside the running program (the folder
// the image loader reads masks from).

#include <string>

namespace customizer {

std::string QZApplicationResourcesFolder();
// "<folder>/<fileName>".
std::string QZApplicationResourcePath(const std::string& folder, const std::string& fileName);

}  // namespace customizer
