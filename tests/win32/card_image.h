// A card image file in the temporary folder, given a drive letter of the
// storage layer, and read back for checks.
#pragma once

#include "platform/storage/drives.h"
#include "platform/text/wide_format.h"
#include "platform/wintypes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

inline std::filesystem::path TempFile(const std::string& name) {
    return std::filesystem::temp_directory_path() / ("strovane_" + std::to_string(GetCurrentProcessId()) + "_" + name);
}

inline std::vector<std::uint8_t> Bytes(std::size_t count, unsigned seed) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 131 + seed * 7 + (i >> 9)) & 0xFF);
    return bytes;
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path, std::uint64_t offset, std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// A card image of the given size, zero-filled, with letter given to it once
// for the whole test program (letters stay given while it runs).
inline std::filesystem::path CardImage(char letter, std::uint64_t bytes) {
    const std::filesystem::path path = TempFile(std::string(1, letter) + "_card.img");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
    }
    std::filesystem::resize_file(path, bytes);
    const std::string error = platform::storage::AddImageDrive(letter, platform::text::ToUtf8(path.u16string()));
    EXPECT_EQ(error, "");
    return path;
}
