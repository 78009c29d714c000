// Fuzz target for reading a settings file: any bytes (the first 2048 count,
// a shorter input reads as if zero-filled) must parse without reading or
// writing out of bounds, leave every path slot NUL-terminated, and give
// settings that write and read back to themselves.
#include "ui/settings_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

settings::LoadedSettings Prepared() {
    settings::LoadedSettings loaded;
    loaded.numbers[settings::kBootloaderPartSize] = 512;
    loaded.numbers[settings::kKernelPartSize] = 4;
    loaded.numbers[settings::kRootfsPartSize] = 8;
    for (auto& slot : loaded.paths)
        slot[0] = u'0';
    return loaded;
}

void Require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    settings::FileBytes bytes{};
    std::memcpy(bytes.data(), data, std::min(size, bytes.size()));

    settings::LoadedSettings loaded = Prepared();
    settings::ParseSettingsFile(bytes, loaded);
    for (const auto& slot : loaded.paths)
        Require(std::find(slot.begin(), slot.end(), u'\0') != slot.end());

    // Loaded paths are non-empty runs without white space and at most 127
    // code units, so their text fits the file uncut and reads back the same.
    settings::SavedSettings again;
    again.numbers = loaded.numbers;
    for (std::size_t i = 0; i < settings::kPathFieldCount; ++i)
        again.paths[i] = loaded.paths[i].data();
    settings::LoadedSettings reloaded;
    settings::ParseSettingsFile(settings::FormatSettingsFile(again), reloaded);
    Require(reloaded.numbers == loaded.numbers);
    Require(reloaded.paths == loaded.paths);
    return 0;
}
