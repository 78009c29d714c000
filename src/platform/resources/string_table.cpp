// Strings from the string table. The table is stored in blocks of 16
// strings: block n (resource name n + 1) holds ids 16n to 16n + 15, each as a
// 16-bit length followed by that many UTF-16 units, without terminator.
#include "platform/resources/byte_reader.h"
#include "platform/resources/resources.h"

namespace platform::resources {

std::optional<std::u16string> LoadStringFrom(const std::vector<Resource>& all, UINT id) {
    if (id > 0xFFFF)
        return std::nullopt;
    const auto block = FindIn(all, ResId::Of(RT_STRING), ResId::Of(static_cast<WORD>((id >> 4) + 1)));
    if (!block)
        return std::nullopt;
    ByteReader in(*block);
    for (UINT index = 0; index < (id & 15); ++index)
        in.bytes(std::size_t{in.u16()} * 2);
    const WORD length = in.u16();
    std::u16string text;
    for (WORD i = 0; i < length && in.ok(); ++i)
        text.push_back(in.u16());
    if (!in.ok() || text.empty())
        return std::nullopt;
    return text;
}

std::optional<std::u16string> LoadString(UINT id) {
    return LoadStringFrom(ProgramResources(), id);
}

} // namespace platform::resources
