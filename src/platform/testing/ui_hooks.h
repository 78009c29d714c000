// Hooks through which tests (and the headless command line) answer message
// boxes and file dialogs instead of a person at the screen. Unset, the real
// boxes and dialogs are shown.
#pragma once

#include "platform/wintypes.h"

#include <functional>
#include <string>

namespace platform::testing {

struct MessageBoxCall {
    std::u16string text;
    std::u16string caption;
    UINT style = 0;
};
// Returns the button the box ends with (IDOK, ...).
using MessageBoxHook = std::function<int(const MessageBoxCall&)>;
void SetMessageBoxHook(MessageBoxHook hook);
const MessageBoxHook& GetMessageBoxHook();

struct FileDialogCall {
    bool open = true;
    std::u16string defExt;
    std::u16string fileName;
    DWORD flags = 0;
    std::u16string filter;
};
struct FileDialogAnswer {
    int result = 2;            // IDOK or IDCANCEL
    std::u16string pathName;   // full path when IDOK
};
using FileDialogHook = std::function<FileDialogAnswer(const FileDialogCall&)>;
void SetFileDialogHook(FileDialogHook hook);
const FileDialogHook& GetFileDialogHook();

} // namespace platform::testing
