#pragma once
// The outside PNG compressor: a program started once per file, from an argument vector (no
// shell), with exactly one argument, the file's path, which it rewrites in place. Its output is
// drained and dropped; exit status 0 is success. A run past the time limit is killed with its
// whole process group. A failed run never leaves a damaged image: unless the file is afterwards
// a readable PNG of the same size, its original bytes are put back.

#include <chrono>
#include <optional>
#include <string>

namespace customizer {

inline constexpr const char* kQZDefaultCompressor = "optipng";
inline constexpr const char* kQZCompressorVariable = "TESSEL_CUSTOMIZER_COMPRESSOR";

class QZPNGCompressor {
public:
    static constexpr std::chrono::milliseconds kDefaultTimeLimit{60000};

    // `program` is a path, or a name looked up in PATH.
    explicit QZPNGCompressor(std::string program, std::chrono::milliseconds timeLimit = kDefaultTimeLimit)
        : program_(std::move(program)), timeLimit_(timeLimit)
    {
    }
    // $TESSEL_CUSTOMIZER_COMPRESSOR when set, else optipng.
    static QZPNGCompressor fromEnvironment();

    // Nullopt when the file was compressed; else why not (the file is then as it was).
    std::optional<std::string> compress(const std::string& path) const;

    const std::string& program() const { return program_; }

private:
    // Nullopt when the program ran and exited with status 0.
    std::optional<std::string> run(const std::string& path) const;

    std::string program_;
    std::chrono::milliseconds timeLimit_;
};

}  // namespace customizer
