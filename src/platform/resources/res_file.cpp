// Reading the compiled .res file and finding resources in it.
//
// Each entry is a header followed by its data:
//   DWORD DataSize, DWORD HeaderSize, TYPE, NAME (each 0xFFFF+ordinal or a
//   zero-terminated UTF-16 string), padding to 4, DWORD DataVersion,
//   WORD MemoryFlags, WORD LanguageId, DWORD Version, DWORD Characteristics.
// The data starts HeaderSize bytes after the entry's start and the next
// entry starts at the following multiple of 4. The file opens with an empty
// entry (type and name ordinal 0, no data) that marks it as a 32-bit .res.
#include "platform/resources/byte_reader.h"
#include "platform/resources/resources.h"

#include <algorithm>

namespace platform::resources {
namespace {

bool IsMarkerEntry(const Resource& r) {
    return r.type == ResId::Of(0) && r.name == ResId::Of(0) && r.data.empty();
}

// One entry starting at `start`; nothing when its header or data overrun the
// file or contradict each other.
std::optional<Resource> ReadEntry(std::span<const std::uint8_t> file, std::size_t start,
                                  std::size_t& next) {
    ByteReader head(file.subspan(start));
    const DWORD dataSize = head.u32();
    const DWORD headerSize = head.u32();
    Resource r;
    r.type = head.resId();
    r.name = head.resId();
    head.align(4);
    head.u32();  // DataVersion
    head.u16();  // MemoryFlags
    r.language = head.u16();
    head.u32();  // Version
    head.u32();  // Characteristics
    if (!head.ok() || headerSize < head.pos() || headerSize % 4 != 0)
        return std::nullopt;

    const std::size_t available = file.size() - start;
    if (headerSize > available || dataSize > available - headerSize)
        return std::nullopt;
    r.data = file.subspan(start + headerSize, dataSize);

    const std::size_t end = start + headerSize + dataSize;
    next = std::min(file.size(), (end + 3) / 4 * 4);
    return r;
}

} // namespace

std::optional<std::vector<Resource>> ParseRes(std::span<const std::uint8_t> bytes) {
    std::vector<Resource> out;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t next = 0;
        auto entry = ReadEntry(bytes, pos, next);
        if (!entry)
            return std::nullopt;
        if (!IsMarkerEntry(*entry))
            out.push_back(*entry);
        pos = next;
    }
    return out;
}

std::optional<std::span<const std::uint8_t>> FindIn(const std::vector<Resource>& all, const ResId& type,
                                                    const ResId& name, WORD language) {
    const Resource* neutral = nullptr;
    const Resource* any = nullptr;
    for (const Resource& r : all) {
        if (!(r.type == type && r.name == name))
            continue;
        if (r.language == language)
            return r.data;
        if (r.language == LANG_NEUTRAL && !neutral)
            neutral = &r;
        if (!any)
            any = &r;
    }
    if (neutral)
        return neutral->data;
    if (any)
        return any->data;
    return std::nullopt;
}

std::optional<std::span<const std::uint8_t>> Find(const ResId& type, const ResId& name, WORD language) {
    return FindIn(ProgramResources(), type, name, language);
}

} // namespace platform::resources
