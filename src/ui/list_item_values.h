// What the items of the size and unit lists stand for: item i of a list is
// values[i]; any other position, "no selection" included, stands for 0,
// which the fusing steps then meet as an unusable size. The lists' handlers
// and loading a settings file both take their values from here.
#pragma once

#include "platform/wintypes.h"

#include <cstddef>
#include <span>

namespace ui {

inline constexpr DWORD kSramSizes[] = {4096, 8192, 16384, 32768, 65536};  // "4 KB" ... "64 KB": the BL1 size
inline constexpr DWORD kEfuseSizes[] = {1024, 2048};                       // "1 KB", "2 KB"
inline constexpr DWORD kUnits[] = {1024, 1048576};                         // "KB", "MB": bytes per unit

inline DWORD ListItemValue(std::span<const DWORD> values, long long position) {
    const bool known = position >= 0 && static_cast<std::size_t>(position) < values.size();
    return known ? values[static_cast<std::size_t>(position)] : 0;
}

} // namespace ui
