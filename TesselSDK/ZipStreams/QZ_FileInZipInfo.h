#pragma once
// What the archive's directory says of one entry, before any of it is read: callers refuse
// entries too large for them here.

#include "Foundation/NSObject.h"
#include "Foundation/Value.h"

#include <cstdint>
#include <memory>
#include <string>

enum class ZipCompressionLevel : int { Default = -1, None = 0, Fastest = 1, Best = 9 };
inline constexpr ZipCompressionLevel ZipCompressionLevelDefault = ZipCompressionLevel::Default;
inline constexpr ZipCompressionLevel ZipCompressionLevelNone = ZipCompressionLevel::None;
inline constexpr ZipCompressionLevel ZipCompressionLevelFastest = ZipCompressionLevel::Fastest;
inline constexpr ZipCompressionLevel ZipCompressionLevelBest = ZipCompressionLevel::Best;

class QZ_FileInZipInfo : public NSObject {
public:
    using NSObject::NSObject;
    static std::shared_ptr<QZ_FileInZipInfo> make(std::string name, std::uint64_t length, ZipCompressionLevel level,
                                                  bool crypted, std::uint64_t size, Value::Date date,
                                                  std::uint32_t crc32)
    {
        return NSObject::create<QZ_FileInZipInfo>([&](QZ_FileInZipInfo& i) {
            i.name_ = std::move(name);
            i.length_ = length;
            i.level_ = level;
            i.crypted_ = crypted;
            i.size_ = size;
            i.date_ = date;
            i.crc32_ = crc32;
        });
    }

    const std::string& name() const { return name_; }
    // Uncompressed bytes.
    std::uint64_t length() const { return length_; }
    ZipCompressionLevel level() const { return level_; }
    bool crypted() const { return crypted_; }
    // Compressed bytes.
    std::uint64_t size() const { return size_; }
    Value::Date date() const { return date_; }
    std::uint32_t crc32() const { return crc32_; }

private:
    std::string name_;
    std::uint64_t length_ = 0;
    ZipCompressionLevel level_ = ZipCompressionLevelNone;
    bool crypted_ = false;
    std::uint64_t size_ = 0;
    Value::Date date_;
    std::uint32_t crc32_ = 0;
};
