// The process on Windows: the UTF-16 command line, the console of the
// command prompt that started the (window) program, and the system's view of
// files and streams.
#include "platform/process/process.h"

#include "platform/text/wide_format.h"
#include "platform/wintypes.h"

#include <io.h>
#include <shellapi.h>

#include <filesystem>

namespace platform::process {

std::vector<std::string> Arguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(text::ToUtf8(AsUtf16(wide[i])));
    LocalFree(wide);
    return arguments;
}

namespace {

// A standard handle the program was given (redirected to a file or a pipe,
// or a console it was started in) is kept.
bool HasStandardHandle(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

} // namespace

// A window program starts without a console. When it was started from a
// command prompt, it borrows that prompt's console for the streams that were
// not redirected, so that the command line's lines show where it was typed.
void UseStartingConsole() {
    const bool out = HasStandardHandle(STD_OUTPUT_HANDLE);
    const bool err = HasStandardHandle(STD_ERROR_HANDLE);
    if ((out && err) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (!out)
        std::freopen("CONOUT$", "w", stdout);
    if (!err)
        std::freopen("CONOUT$", "w", stderr);
}

bool IsTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

bool CanWriteFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::path file = std::filesystem::absolute(std::filesystem::path(text::FromUtf8(path)), error);
    if (error)
        return false;
    constexpr int kWrite = 2;
    if (std::filesystem::exists(file, error))
        return !std::filesystem::is_directory(file, error) && _waccess(file.c_str(), kWrite) == 0;
    return _waccess(file.parent_path().c_str(), kWrite) == 0;
}

} // namespace platform::process
