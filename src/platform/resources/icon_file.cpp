// Rebuilding an .ico file from an icon group. The group (RT_GROUP_ICON) is
// the .ico directory with each image's file offset replaced by the id of an
// RT_ICON resource holding that image:
//   WORD 0, WORD 1 (icon), WORD count, then per image 14 bytes:
//   BYTE width, height, colours, reserved, WORD planes, bit count,
//   DWORD bytes, WORD image id.
// The .ico file has the same directory with 16-byte entries whose last field
// is the image's DWORD offset in the file, followed by the images.
#include "platform/resources/byte_reader.h"
#include "platform/resources/resources.h"

namespace platform::resources {
namespace {

constexpr std::size_t kDirSize = 6;
constexpr std::size_t kFileEntrySize = 16;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    std::span<const std::uint8_t> image;
};

} // namespace

std::optional<std::vector<std::uint8_t>> BuildIconFileFrom(const std::vector<Resource>& all, WORD groupId) {
    const auto group = FindIn(all, ResId::Of(RT_GROUP_ICON), ResId::Of(groupId));
    if (!group)
        return std::nullopt;
    ByteReader in(*group);
    const WORD reserved = in.u16();
    const WORD type = in.u16();
    const WORD count = in.u16();
    if (!in.ok() || reserved != 0 || type != 1 || count == 0)
        return std::nullopt;

    std::vector<GroupEntry> entries;
    for (WORD i = 0; i < count; ++i) {
        GroupEntry e{};
        e.width = in.u8();
        e.height = in.u8();
        e.colours = in.u8();
        e.reserved = in.u8();
        e.planes = in.u16();
        e.bitCount = in.u16();
        in.u32();  // the group's byte count; the image's own size is used instead
        const WORD imageId = in.u16();
        if (!in.ok())
            return std::nullopt;
        const auto image = FindIn(all, ResId::Of(RT_ICON), ResId::Of(imageId));
        if (!image || image->empty())
            return std::nullopt;
        e.image = *image;
        entries.push_back(e);
    }

    std::vector<std::uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, count);
    std::size_t offset = kDirSize + kFileEntrySize * entries.size();
    for (const GroupEntry& e : entries) {
        file.insert(file.end(), {e.width, e.height, e.colours, e.reserved});
        Put16(file, e.planes);
        Put16(file, e.bitCount);
        Put32(file, static_cast<std::uint32_t>(e.image.size()));
        Put32(file, static_cast<std::uint32_t>(offset));
        offset += e.image.size();
    }
    for (const GroupEntry& e : entries)
        file.insert(file.end(), e.image.begin(), e.image.end());
    return file;
}

std::optional<std::vector<std::uint8_t>> BuildIconFile(WORD groupId) {
    return BuildIconFileFrom(ProgramResources(), groupId);
}

} // namespace platform::resources
