#pragma once
// Reading the whole of a file a person named: a photo, a script, a recipe, a property list. Only a
// regular file is read. A directory, a device, a FIFO or a socket is refused without blocking on
// it (the open never waits for a FIFO's writer), and so is a file above the caller's limit, checked
// before reading and again while reading, since a file may grow and some report no size at all.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Fills *contents and answers true, or answers false with the reason in *reason (without the path:
// "is a directory", "is larger than 4 MiB", "No such file or directory").
bool FileReadContents(const std::string& path, std::size_t limit, std::vector<std::uint8_t>* contents,
                      std::string* reason);
// The same into a string (scripts, recipes, JSON).
bool FileReadText(const std::string& path, std::size_t limit, std::string* text, std::string* reason);

// A byte count as people read a limit: "4 MiB", "576 MiB", "1 KiB", "12 bytes".
std::string FileSizeDescription(std::size_t bytes);
