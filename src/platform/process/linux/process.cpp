// The process on Linux: arguments are bytes, taken as UTF-8; the standard
// streams are the ones the program was started with.
#include "platform/process/process.h"

#include "platform/text/wide_format.h"

#include <unistd.h>

#include <filesystem>

namespace platform::process {

std::vector<std::string> Arguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

void UseStartingConsole() {}

bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

bool CanWriteFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::path file = std::filesystem::absolute(path, error);
    if (error)
        return false;
    if (std::filesystem::exists(file, error))
        return !std::filesystem::is_directory(file, error) && access(file.c_str(), W_OK) == 0;
    return access(file.parent_path().c_str(), W_OK) == 0;
}

} // namespace platform::process
