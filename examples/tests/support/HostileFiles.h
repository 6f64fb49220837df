#pragma once
// What a careless or hostile person names in place of a file, made in a test's own folder: each
// program that reads a named file must refuse every one of them at once, with its reason.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace example_test {

struct HostileFile {
    std::string path;
    const char* reason;  // what the refusal must say
};

// A directory, a character device that never ends (/dev/zero) and a FIFO with no writer, made
// under `dir`.
std::vector<HostileFile> hostileFiles(const std::filesystem::path& dir);

// A well-formed PNG whose header claims width x height pixels and holds no pixel data: a few dozen
// bytes that ask for gigabytes.
void writePNGHeaderOnly(const std::filesystem::path& path, std::uint32_t width, std::uint32_t height);

}  // namespace example_test
