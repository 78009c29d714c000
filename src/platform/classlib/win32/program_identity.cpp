// The program's name and icons, from the running module.
#include "platform/classlib/app_title.h"

#include <filesystem>
#include <string>

namespace platform::classlib {

std::u16string ProgramName() {
    std::u16string path(MAX_PATH, u'\0');
    const DWORD length = GetModuleFileNameW(nullptr, AsWide(path.data()), static_cast<DWORD>(path.size()));
    path.resize(length);
    return std::filesystem::path(path).stem().u16string();
}

// The shared icon of the resource section, at the system's large-icon size.
HICON LoadResourceIcon(WORD id) {
    return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
}

} // namespace platform::classlib
