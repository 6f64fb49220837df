#pragma once
// Builds zip archives for tests over minizip's writer: entries stored or deflated, a large entry
// of zeros (64 MiB deflates to a few KB), and damage done after writing: truncation at N bytes,
// or one byte flipped inside a stored entry's data (its CRC then fails).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class ZipBuilder {
public:
    ZipBuilder& addStored(std::string name, std::string bytes);
    ZipBuilder& addDeflated(std::string name, std::string bytes);
    ZipBuilder& addZeros(std::string name, std::uint64_t length);
    // Damage applied by writeTo.
    ZipBuilder& truncateAt(std::uint64_t length);
    ZipBuilder& flipByteInStoredEntry(std::string name, std::uint64_t offset);

    // Writes the archive; answers false with the reason in *error.
    bool writeTo(const std::string& path, std::string* error = nullptr) const;

private:
    struct Entry {
        std::string name;
        std::string bytes;
        bool deflated = false;
        std::uint64_t zeros = 0;  // an entry of this many zero bytes, when bytes is empty
    };
    std::vector<Entry> entries_;
    std::optional<std::uint64_t> truncateAt_;
    std::optional<std::pair<std::string, std::uint64_t>> flip_;
};
