#include "platform/testing/ui_hooks.h"

namespace platform::testing {
namespace {
MessageBoxHook& MessageBoxHookSlot() {
    static MessageBoxHook hook;
    return hook;
}
FileDialogHook& FileDialogHookSlot() {
    static FileDialogHook hook;
    return hook;
}
} // namespace

void SetMessageBoxHook(MessageBoxHook hook) { MessageBoxHookSlot() = std::move(hook); }
const MessageBoxHook& GetMessageBoxHook() { return MessageBoxHookSlot(); }
void SetFileDialogHook(FileDialogHook hook) { FileDialogHookSlot() = std::move(hook); }
const FileDialogHook& GetFileDialogHook() { return FileDialogHookSlot(); }

} // namespace platform::testing
