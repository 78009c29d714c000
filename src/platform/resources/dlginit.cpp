// Initial list items of a dialog. Each record: WORD control id, WORD message,
// DWORD length of the text in bytes including its terminating zero, then the
// 8-bit text. A zero control id ends the list; data that ends before it, or a
// record whose text runs past the data, makes the whole resource unusable.
#include "platform/resources/byte_reader.h"
#include "platform/resources/resources.h"

#include <algorithm>

namespace platform::resources {

std::optional<std::vector<DlgInitItem>> ParseDlgInit(std::span<const std::uint8_t> bytes) {
    std::vector<DlgInitItem> items;
    ByteReader in(bytes);
    for (;;) {
        const WORD controlId = in.u16();
        if (!in.ok())
            return std::nullopt;
        if (controlId == 0)
            return items;
        const WORD message = in.u16();
        const DWORD length = in.u32();
        const auto raw = in.bytes(length);
        if (!in.ok())
            return std::nullopt;
        // The text ends at its terminator; a record without one keeps all its bytes.
        const auto end = std::find(raw.begin(), raw.end(), std::uint8_t{0});
        items.push_back({controlId, message, std::string(raw.begin(), end)});
    }
}

} // namespace platform::resources
