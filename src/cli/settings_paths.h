// Whether the image paths of a settings file come back as they were saved.
// The file separates its four paths (bootloader, kernel, cramfs, root file
// system) by single blanks and reads them back as runs without white space,
// so an empty path lets the later ones move up one place, and a path with a
// blank in it, or longer than a path slot, does not come back whole.
#pragma once

#include <array>
#include <string_view>

namespace cli {

bool PathsLoadBackUnchanged(const std::array<std::u16string_view, 4>& paths);

} // namespace cli
