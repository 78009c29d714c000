// Formatting and reading the settings file's text. Both directions use the
// one format string; the bytes are put together and taken apart explicitly
// as little-endian, whatever the machine's byte order.
#include "ui/settings_text.h"

#include "platform/text/wide_format.h"

#include <algorithm>

namespace settings {
namespace {

constexpr const char16_t* kFormat = u"%d %d %d %d %d %d %d %d %d %d %s %s %s %s";

// One path as read, before it is put in its slot. The text holds at most
// kFileUnits code units (plus the NUL added when reading), so no run of it
// can be longer than this.
using PathRun = std::array<char16_t, kFileUnits + 1>;

} // namespace

FileBytes FormatSettingsFile(const SavedSettings& settings) {
    std::array<char16_t, kFileUnits> text{};
    const auto& n = settings.numbers;
    std::array<const char16_t*, kPathFieldCount> p{};
    std::transform(settings.paths.begin(), settings.paths.end(), p.begin(),
                   [](const char16_t* path) { return path != nullptr ? path : u""; });
    // Cut to kFileUnits - 1 code units when longer; the NUL and zeros follow.
    platform::text::FormatBounded(text.data(), text.size(), kFormat, n[0], n[1], n[2], n[3], n[4], n[5], n[6], n[7],
                                  n[8], n[9], p[0], p[1], p[2], p[3]);
    FileBytes bytes{};
    for (std::size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
    return bytes;
}

void ParseSettingsFile(std::span<const std::uint8_t, kFileBytes> bytes, LoadedSettings& settings) {
    // A file without any NUL in its first 2048 bytes ends where the bytes do.
    std::array<char16_t, kFileUnits + 1> text{};
    for (std::size_t i = 0; i < kFileUnits; ++i)
        text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));

    std::array<PathRun, kPathFieldCount> runs{};
    auto& n = settings.numbers;
    const int read = platform::text::Scan(text.data(), kFormat, &n[0], &n[1], &n[2], &n[3], &n[4], &n[5], &n[6],
                                          &n[7], &n[8], &n[9], runs[0].data(), runs[1].data(), runs[2].data(),
                                          runs[3].data());

    const int pathsRead = std::clamp(read - static_cast<int>(kNumberFieldCount), 0, static_cast<int>(kPathFieldCount));
    for (std::size_t i = 0; i < static_cast<std::size_t>(pathsRead); ++i) {
        const PathRun& run = runs[i];
        const auto end = std::find(run.begin(), run.end(), u'\0');
        if (end - run.begin() < static_cast<std::ptrdiff_t>(kPathSlotUnits)) {
            auto& slot = settings.paths[i];
            std::fill(std::copy(run.begin(), end, slot.begin()), slot.end(), u'\0');
        }
    }
}

} // namespace settings
