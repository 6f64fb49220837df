#include "testing/ZipBuilder.h"

#include <unzip.h>
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

ZipBuilder& ZipBuilder::addStored(std::string name, std::string bytes)
{
    entries_.push_back({std::move(name), std::move(bytes), false, 0});
    return *this;
}

ZipBuilder& ZipBuilder::addDeflated(std::string name, std::string bytes)
{
    entries_.push_back({std::move(name), std::move(bytes), true, 0});
    return *this;
}

ZipBuilder& ZipBuilder::addZeros(std::string name, std::uint64_t length)
{
    entries_.push_back({std::move(name), {}, true, length});
    return *this;
}

ZipBuilder& ZipBuilder::truncateAt(std::uint64_t length)
{
    truncateAt_ = length;
    return *this;
}

ZipBuilder& ZipBuilder::flipByteInStoredEntry(std::string name, std::uint64_t offset)
{
    flip_ = std::make_pair(std::move(name), offset);
    return *this;
}

namespace {

bool fail(std::string* error, std::string reason)
{
    if (error) *error = std::move(reason);
    return false;
}

}  // namespace

bool ZipBuilder::writeTo(const std::string& path, std::string* error) const
{
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip) return fail(error, "cannot create " + path);
    for (const auto& entry : entries_) {
        zip_fileinfo info{};
        int method = entry.deflated ? Z_DEFLATED : 0;
        int level = entry.deflated ? Z_DEFAULT_COMPRESSION : 0;
        bool large = entry.zeros >= 0xffffffffull;
        if (zipOpenNewFileInZip64(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method, level,
                                  large ? 1 : 0) != ZIP_OK) {
            zipClose(zip, nullptr);
            return fail(error, "cannot add " + entry.name);
        }
        bool written = true;
        if (entry.zeros > 0) {
            std::vector<char> block(1 << 20, 0);
            for (std::uint64_t left = entry.zeros; left > 0 && written;) {
                auto n = static_cast<unsigned>(std::min<std::uint64_t>(left, block.size()));
                written = zipWriteInFileInZip(zip, block.data(), n) == ZIP_OK;
                left -= n;
            }
        } else if (!entry.bytes.empty()) {
            written = zipWriteInFileInZip(zip, entry.bytes.data(), static_cast<unsigned>(entry.bytes.size())) == ZIP_OK;
        }
        if (zipCloseFileInZip(zip) != ZIP_OK || !written) {
            zipClose(zip, nullptr);
            return fail(error, "cannot write " + entry.name);
        }
    }
    if (zipClose(zip, nullptr) != ZIP_OK) return fail(error, "cannot finish " + path);

    if (flip_) {
        unzFile unzip = unzOpen64(path.c_str());
        if (!unzip) return fail(error, "cannot reopen " + path);
        std::int64_t at = -1;
        if (unzLocateFile(unzip, flip_->first.c_str(), 1) == UNZ_OK && unzOpenCurrentFile(unzip) == UNZ_OK) {
            at = static_cast<std::int64_t>(unzGetCurrentFileZStreamPos64(unzip));
            unzCloseCurrentFile(unzip);
        }
        unzClose(unzip);
        if (at < 0) return fail(error, "no entry " + flip_->first);
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekg(at + static_cast<std::int64_t>(flip_->second));
        char byte = 0;
        file.read(&byte, 1);
        byte = static_cast<char>(byte ^ 0xff);
        file.seekp(at + static_cast<std::int64_t>(flip_->second));
        file.write(&byte, 1);
        if (!file) return fail(error, "cannot damage " + path);
    }
    if (truncateAt_) {
        std::error_code ec;
        std::filesystem::resize_file(path, *truncateAt_, ec);
        if (ec) return fail(error, "cannot truncate " + path + ": " + ec.message());
    }
    return true;
}
