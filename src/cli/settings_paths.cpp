#include "cli/settings_paths.h"

#include "platform/text/wide_format.h"

#include <algorithm>

namespace cli {

namespace {
constexpr std::size_t kLongestLoadedPath = 127;  // a path slot and its terminator hold 128 code units
}

bool PathsLoadBackUnchanged(const std::array<std::u16string_view, 4>& paths) {
    bool emptyBefore = false;
    for (std::u16string_view path : paths) {
        if (!path.empty() && emptyBefore)
            return false;
        if (path.size() > kLongestLoadedPath || std::any_of(path.begin(), path.end(), platform::text::IsScanSpace))
            return false;
        emptyBefore = emptyBefore || path.empty();
    }
    return true;
}

} // namespace cli
