#include "support/HostileFiles.h"

#include <array>
#include <fstream>

#include <sys/stat.h>

namespace example_test {

namespace {

std::uint32_t crc32(const std::uint8_t* bytes, std::size_t length)
{
    std::uint32_t crc = 0xffffffffu;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(value >> shift));
}

void appendChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data)
{
    appendBigEndian(out, std::uint32_t(data.size()));
    std::vector<std::uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    appendBigEndian(out, crc32(typed.data(), typed.size()));
}

}  // namespace

std::vector<HostileFile> hostileFiles(const std::filesystem::path& dir)
{
    const std::filesystem::path folder = dir / "a-folder.png";
    std::filesystem::create_directories(folder);
    const std::filesystem::path fifo = dir / "a-fifo.png";
    mkfifo(fifo.c_str(), 0600);
    const char* notRegular = "is not a regular file (a device, a FIFO or a socket)";
    return {{folder.string(), "is a directory"}, {"/dev/zero", notRegular}, {fifo.string(), notRegular}};
}

void writePNGHeaderOnly(const std::filesystem::path& path, std::uint32_t width, std::uint32_t height)
{
    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<std::uint8_t> header;
    appendBigEndian(header, width);
    appendBigEndian(header, height);
    // 8-bit RGBA, deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {8, 6, 0, 0, 0});
    appendChunk(png, "IHDR", header);
    // A decoder reads the header up to the first data chunk: an empty deflate stream.
    appendChunk(png, "IDAT", {0x78, 0x9c, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
    appendChunk(png, "IEND", {});
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

}  // namespace example_test
