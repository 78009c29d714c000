// The settings file's bytes: 2048 bytes of UTF-16 little-endian text without
// a byte-order mark, "%d %d %d %d %d %d %d %d %d %d %s %s %s %s" (ten numbers,
// four paths), cut to 1023 code units, then a NUL and zeros to the end.
// Only text here, no dialog and no file, so that it can be tried alone.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace settings {

inline constexpr std::size_t kFileBytes = 2048;
inline constexpr std::size_t kFileUnits = kFileBytes / 2;  // the text and its NUL
inline constexpr std::size_t kPathSlotUnits = 128;         // a loaded path: 127 code units and a NUL

using FileBytes = std::array<std::uint8_t, kFileBytes>;

// The ten numbers, in file order. Selections are list positions (-1: none);
// sizes and the start sector are the unsigned members' bits, so 4294967295
// is written as -1 and -1 reads back as 4294967295.
enum NumberField : std::size_t {
    kDriveSelection,
    kSramSizeSelection,
    kEfuseSizeSelection,
    kBootloaderPartSize,
    kBootloaderUnitSelection,
    kKernelPartSize,
    kKernelUnitSelection,
    kRootfsPartSize,
    kRootfsUnitSelection,
    kRootfsStartSector,
    kNumberFieldCount
};

// The four paths, in file order.
enum PathField : std::size_t { kBootloaderPath, kKernelPath, kCramfsPath, kRootfsPath, kPathFieldCount };

struct SavedSettings {
    std::array<std::int32_t, kNumberFieldCount> numbers{};
    std::array<const char16_t*, kPathFieldCount> paths{};  // any length; null writes nothing
};

// What loading fills in. Fields the file does not give keep what they hold,
// so the caller prepares them first.
struct LoadedSettings {
    std::array<std::int32_t, kNumberFieldCount> numbers{};
    std::array<std::array<char16_t, kPathSlotUnits>, kPathFieldCount> paths{};
};

// The whole 2048 bytes of a file holding these settings.
FileBytes FormatSettingsFile(const SavedSettings& settings);

// Reads the text of a file's first 2048 bytes (up to its first NUL) into
// settings: fields are separated by white-space runs, numbers take a sign,
// a path is the longest run without white space. Reading stops at the first
// field that cannot be read; it and every field after it keep their values.
// A path longer than a slot holds (127 code units) is passed over and its
// slot keeps its value: a cut path could name another file.
void ParseSettingsFile(std::span<const std::uint8_t, kFileBytes> bytes, LoadedSettings& settings);

} // namespace settings
