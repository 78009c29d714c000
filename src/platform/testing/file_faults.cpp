#include "platform/testing/file_faults.h"

namespace platform::testing {
namespace {
FileReadFaultHook& Hook() {
    static FileReadFaultHook hook;
    return hook;
}
} // namespace

void SetFileReadFaultHook(FileReadFaultHook hook) { Hook() = std::move(hook); }
const FileReadFaultHook& GetFileReadFaultHook() { return Hook(); }

} // namespace platform::testing
