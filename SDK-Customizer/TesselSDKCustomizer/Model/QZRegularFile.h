#pragma once
// Whether a path a person chose names a file the customizer may open: a directory, a device or a
// FIFO is refused before any open, which would otherwise block on a FIFO for ever.

#include <optional>
#include <string>

namespace customizer {

// nullopt for a regular file or a path that does not exist (the open then says why); else the
// reason, without the path: "is a directory", "is not a regular file (a device, a FIFO or a socket)".
std::optional<std::string> QZRegularFileRefusal(const std::string& path);

}  // namespace customizer
