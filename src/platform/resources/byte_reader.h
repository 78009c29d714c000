// A bounds-checked little-endian reader over resource bytes. Every read past
// the end marks the reader failed and yields zero, so a parser can read a
// whole record and check ok() once instead of testing each field.
#pragma once

#include "platform/resources/resources.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace platform::resources {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    std::size_t pos() const { return pos_; }
    std::size_t remaining() const { return ok_ ? bytes_.size() - pos_ : 0; }
    bool atEnd() const { return ok_ && pos_ == bytes_.size(); }

    std::uint8_t u8() { return static_cast<std::uint8_t>(take(1)); }
    std::uint16_t u16() { return static_cast<std::uint16_t>(take(2)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(take(4)); }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }

    // The next n bytes, or an empty span (and failure) when fewer remain.
    std::span<const std::uint8_t> bytes(std::size_t n) {
        if (!ok_ || n > bytes_.size() - pos_) {
            ok_ = false;
            return {};
        }
        auto out = bytes_.subspan(pos_, n);
        pos_ += n;
        return out;
    }

    // Skips to the next multiple of `alignment` counted from the start;
    // running out of bytes on the way is a failure.
    void align(std::size_t alignment) {
        const std::size_t pad = (alignment - pos_ % alignment) % alignment;
        bytes(pad);
    }

    // A zero-terminated UTF-16 string (the terminator consumed, not kept).
    std::u16string wstring() {
        std::u16string out;
        while (ok_) {
            const char16_t c = u16();
            if (!ok_ || c == 0)
                break;
            out.push_back(c);
        }
        return out;
    }

    // A type, name or class field: 0xFFFF and an ordinal, or a string.
    ResId resId() {
        if (peekU16() == 0xFFFF) {
            u16();
            return ResId::Of(u16());
        }
        return ResId{std::nullopt, wstring()};
    }

private:
    std::uint32_t take(std::size_t n) {
        std::uint32_t value = 0;
        const auto raw = bytes(n);
        for (std::size_t i = raw.size(); i-- > 0;)
            value = (value << 8) | raw[i];
        return value;
    }
    std::uint16_t peekU16() const {
        if (!ok_ || bytes_.size() - pos_ < 2)
            return 0;
        return static_cast<std::uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

} // namespace platform::resources
