#pragma once
// Names that arrive from the network (pack and message identifiers, file names in documents) are
// joined to directories to make paths. Only a name that stays one entry of its directory may do
// so: not empty, not "." or "..", without "/", "\" or NUL, and at most kQZMaximumPathNameLength
// bytes (file systems refuse longer names, and a suffix such as "_thumbnail.zip" must still fit).

#include <cstddef>
#include <string>

inline constexpr std::size_t kQZMaximumPathNameLength = 200;

bool QZIsSafeResourceIdentifier(const std::string& name);
