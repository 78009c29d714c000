#include "platform/storage/linux/handle_table.h"

#include <map>
#include <mutex>

namespace platform::storage {
namespace {

struct Table {
    std::mutex lock;
    std::map<std::uintptr_t, std::unique_ptr<HandleObject>> objects;
    // Handle values count up in steps of 4, like the original system's, and
    // are never 0 or INVALID_HANDLE_VALUE.
    std::uintptr_t next = 4;
};

Table& TheTable() {
    static Table table;
    return table;
}

} // namespace

HANDLE RegisterHandle(std::unique_ptr<HandleObject> object) {
    Table& table = TheTable();
    std::lock_guard guard(table.lock);
    const std::uintptr_t value = table.next;
    table.next += 4;
    table.objects[value] = std::move(object);
    return reinterpret_cast<HANDLE>(value);
}

HandleObject* LookupHandle(HANDLE handle) {
    Table& table = TheTable();
    std::lock_guard guard(table.lock);
    const auto found = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    return found == table.objects.end() ? nullptr : found->second.get();
}

bool ReleaseHandle(HANDLE handle) {
    std::unique_ptr<HandleObject> object;
    Table& table = TheTable();
    {
        std::lock_guard guard(table.lock);
        const auto found = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
        if (found == table.objects.end())
            return false;
        object = std::move(found->second);
        table.objects.erase(found);
    }
    return true;  // the object (and its file descriptor) goes with `object`
}

} // namespace platform::storage
