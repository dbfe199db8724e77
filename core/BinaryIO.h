// Little-endian binary records, written and read field by field. The reader never reads past
// its buffer: a short read sets the failed flag and gives zeros from then on.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

class BinaryWriter {
public:
    void U8(std::uint8_t v) { bytes_ += static_cast<char>(v); }
    void I32(std::int32_t v) { Unsigned(static_cast<std::uint32_t>(v), 4); }
    void U32(std::uint32_t v) { Unsigned(v, 4); }
    void U16(std::uint16_t v) { Unsigned(v, 2); }
    void F64(double v) { Unsigned(std::bit_cast<std::uint64_t>(v), 8); }
    void Bytes(std::string_view v) { bytes_.append(v); }
    // A length-prefixed (int32) byte string.
    void Sized(std::string_view v)
    {
        I32(static_cast<std::int32_t>(v.size()));
        Bytes(v);
    }
    // Text cut to size - 1 bytes, zero-terminated and zero-padded to exactly size bytes.
    void FixedText(std::string_view v, size_t size)
    {
        if (size == 0)
            return;
        const size_t used = std::min(v.size(), size - 1);
        bytes_.append(v.substr(0, used));
        bytes_.append(size - used, '\0');
    }
    const std::string& Data() const { return bytes_; }

private:
    void Unsigned(std::uint64_t v, int count)
    {
        for (int i = 0; i < count; ++i)
            bytes_ += static_cast<char>((v >> (8 * i)) & 0xFF);
    }
    std::string bytes_;
};

class BinaryReader {
public:
    explicit BinaryReader(std::string_view bytes) : bytes_(bytes) {}

    bool Failed() const { return failed_; }
    size_t Remaining() const { return bytes_.size() - pos_; }

    std::uint8_t U8() { return static_cast<std::uint8_t>(Unsigned(1)); }
    std::uint16_t U16() { return static_cast<std::uint16_t>(Unsigned(2)); }
    std::int32_t I32() { return static_cast<std::int32_t>(static_cast<std::uint32_t>(Unsigned(4))); }
    std::uint32_t U32() { return static_cast<std::uint32_t>(Unsigned(4)); }
    double F64() { return std::bit_cast<double>(Unsigned(8)); }
    std::string_view Bytes(size_t count)
    {
        if (!Take(count))
            return {};
        return bytes_.substr(pos_ - count, count);
    }
    // A length-prefixed (int32) byte string; a negative or too large length fails.
    std::string_view Sized()
    {
        const std::int32_t length = I32();
        if (length < 0) {
            failed_ = true;
            return {};
        }
        return Bytes(static_cast<size_t>(length));
    }
    // A zero-padded text field of size bytes; the text ends at the first zero or the field's end.
    std::string FixedText(size_t size)
    {
        const std::string_view field = Bytes(size);
        return std::string(field.substr(0, std::min(field.find('\0'), field.size())));
    }

private:
    bool Take(size_t count)
    {
        if (failed_ || count > Remaining()) {
            failed_ = true;
            return false;
        }
        pos_ += count;
        return true;
    }
    std::uint64_t Unsigned(int count)
    {
        if (!Take(static_cast<size_t>(count)))
            return 0;
        std::uint64_t v = 0;
        for (int i = 0; i < count; ++i)
            v |= std::uint64_t(static_cast<unsigned char>(bytes_[pos_ - count + i])) << (8 * i);
        return v;
    }

    std::string_view bytes_;
    size_t pos_ = 0;
    bool failed_ = false;
};
