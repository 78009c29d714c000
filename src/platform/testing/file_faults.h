// A hook through which tests make reads of image files fail, as a failing
// medium would. Unset (the product), every read goes to the file.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace platform::testing {

// Called before each CFile::Read with the file's name and the position of
// the read; returns 0 to let the read happen, or the errno value it fails
// with (EIO for a bad sector, say).
using FileReadFaultHook = std::function<int(std::u16string_view fileName, std::uint64_t position)>;
void SetFileReadFaultHook(FileReadFaultHook hook);
const FileReadFaultHook& GetFileReadFaultHook();

} // namespace platform::testing
